// A small tokenizer over the statement: words, numbers, quoted parts and comments are whole tokens,
// so a rewrite can only ever apply to the statement's own words.
#include "TTsqlDialect.h"

#include <QVector>

namespace {

struct TToken {
    enum TKind { Space, Comment, Word, Number, Quoted, Literal, Symbol } Kind;
    int Begin;
    int End;  // one past the last character
};

bool IsWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#');
}
bool IsWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#') ||
           c == QLatin1Char('$');
}

// Index one past a quoted run that starts at i with `open`, the closer doubled inside to escape it.
// An unterminated run ends at the end of the text: the database then reports it.
int QuotedEnd(const QString& s, int i, QChar close) {
    for (int j = i + 1; j < s.size(); ++j) {
        if (s[j] != close)
            continue;
        if (j + 1 < s.size() && s[j + 1] == close) {
            ++j;
            continue;
        }
        return j + 1;
    }
    return int(s.size());
}

QVector<TToken> Tokenize(const QString& s) {
    QVector<TToken> tokens;
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
        const QChar c = s[i];
        const int begin = i;
        TToken::TKind kind;
        if (c.isSpace()) {
            while (i < n && s[i].isSpace())
                ++i;
            kind = TToken::Space;
        } else if (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) {
            while (i < n && s[i] != QLatin1Char('\n'))
                ++i;
            kind = TToken::Comment;
        } else if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
            const int close = s.indexOf(QLatin1String("*/"), i + 2);
            i = close < 0 ? n : close + 2;
            kind = TToken::Comment;
        } else if (c == QLatin1Char('\'')) {
            i = QuotedEnd(s, i, QLatin1Char('\''));
            kind = TToken::Literal;
        } else if ((c == QLatin1Char('N') || c == QLatin1Char('n')) && i + 1 < n &&
                   s[i + 1] == QLatin1Char('\'')) {
            i = QuotedEnd(s, i + 1, QLatin1Char('\''));
            kind = TToken::Literal;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`')) {
            i = QuotedEnd(s, i, c);
            kind = TToken::Quoted;
        } else if (c == QLatin1Char('[')) {
            i = QuotedEnd(s, i, QLatin1Char(']'));
            kind = TToken::Quoted;
        } else if (c.isDigit()) {
            while (i < n && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('.')))
                ++i;
            kind = TToken::Number;
        } else if (IsWordStart(c)) {
            while (i < n && IsWordChar(s[i]))
                ++i;
            kind = TToken::Word;
        } else {
            ++i;
            kind = TToken::Symbol;
        }
        tokens.push_back({kind, begin, i});
    }
    return tokens;
}

bool IsWord(const QString& s, const TToken& t, const char* word) {
    return t.Kind == TToken::Word &&
           QStringView(s).mid(t.Begin, t.End - t.Begin).compare(QLatin1String(word), Qt::CaseInsensitive) ==
               0;
}

bool IsSymbol(const QString& s, const TToken& t, char symbol) {
    return t.Kind == TToken::Symbol && s[t.Begin] == QLatin1Char(symbol);
}

// "dbo" or "[dbo]" as a schema name.
bool IsDbo(const QString& s, const TToken& t) {
    if (IsWord(s, t, "dbo"))
        return true;
    return t.Kind == TToken::Quoted && t.End - t.Begin == 5 &&
           QStringView(s).mid(t.Begin + 1, 3).compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QString TsqlToSqlite(const QString& statement) {
    const QVector<TToken> tokens = Tokenize(statement);
    // Index of the next token that is neither space nor comment, from i on; tokens.size() when none.
    const auto next = [&tokens](int i) {
        while (i < tokens.size() && (tokens[i].Kind == TToken::Space || tokens[i].Kind == TToken::Comment))
            ++i;
        return i;
    };
    const auto text = [&statement](const TToken& t) { return statement.mid(t.Begin, t.End - t.Begin); };

    QString out;
    out.reserve(statement.size());
    int previous = -1;  // last significant token written
    for (int i = 0; i < tokens.size(); ++i) {
        const TToken& t = tokens[i];
        // TOP (100) PERCENT after SELECT [DISTINCT|ALL]: every row, the same as no TOP at all.
        if (IsWord(statement, t, "TOP") && previous >= 0 &&
            (IsWord(statement, tokens[previous], "SELECT") ||
             IsWord(statement, tokens[previous], "DISTINCT") || IsWord(statement, tokens[previous], "ALL"))) {
            int j = next(i + 1);
            const bool paren = j < tokens.size() && IsSymbol(statement, tokens[j], '(');
            if (paren)
                j = next(j + 1);
            if (j < tokens.size() && tokens[j].Kind == TToken::Number &&
                text(tokens[j]) == QLatin1String("100")) {
                j = next(j + 1);
                if (paren && j < tokens.size() && IsSymbol(statement, tokens[j], ')'))
                    j = next(j + 1);
                else if (paren)
                    j = -1;
                if (j >= 0 && j < tokens.size() && IsWord(statement, tokens[j], "PERCENT")) {
                    i = j;  // the space before TOP stays and separates SELECT from the column list
                    continue;
                }
            }
        }
        // dbo.name: the schema goes, unless it is itself qualified (a database name before it).
        if (IsDbo(statement, t) && !(previous >= 0 && IsSymbol(statement, tokens[previous], '.'))) {
            const int dot = i + 1;
            if (dot < tokens.size() && IsSymbol(statement, tokens[dot], '.') && dot + 1 < tokens.size() &&
                (tokens[dot + 1].Kind == TToken::Word || tokens[dot + 1].Kind == TToken::Quoted)) {
                i = dot;
                continue;
            }
        }
        if (t.Kind == TToken::Literal && statement[t.Begin] != QLatin1Char('\'')) {
            // N'...' is a plain literal here. Right after another literal ('a'N'b') the N kept the two
            // apart; without it they would read as one ('a''b'), so a space takes its place.
            if (out.endsWith(QLatin1Char('\'')))
                out += QLatin1Char(' ');
            out += QStringView(statement).mid(t.Begin + 1, t.End - t.Begin - 1);
        } else
            out += QStringView(statement).mid(t.Begin, t.End - t.Begin);
        if (t.Kind != TToken::Space && t.Kind != TToken::Comment)
            previous = i;
    }
    return out;
}

QString BareObjectName(const QString& name) {
    QString s = name.trimmed();
    const auto unquote = [](QString part) {
        part = part.trimmed();
        if (part.size() >= 2 && ((part.startsWith(QLatin1Char('[')) && part.endsWith(QLatin1Char(']'))) ||
                                 (part.startsWith(QLatin1Char('"')) && part.endsWith(QLatin1Char('"')))))
            part = part.mid(1, part.size() - 2);
        return part;
    };
    // Split at the last dot outside brackets or quotes: "dbo.[order]" -> "order".
    int lastDot = -1;
    QChar quote;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('[')) {
            quote = QLatin1Char(']');
        } else if (c == QLatin1Char('"')) {
            quote = QLatin1Char('"');
        } else if (c == QLatin1Char('.')) {
            lastDot = i;
        }
    }
    return unquote(lastDot < 0 ? s : s.mid(lastDot + 1));
}
