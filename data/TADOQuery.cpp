// A query data set and statement templates. The statement is the line list joined with CR LF
// after every line; changing a line closes an open query first.
#include "TADOQuery.h"

#include "Exception.h"
#include "TADOConnection.h"
#include "TDbConnection.h"

TADOQuery::TADOQuery(QObject* owner, const QString& name)
    : TDataSet(owner, name), m_sql([this] { Close(); }) {}

QString TADOQuery::SelectStatement() const {
    return m_sql.Text();
}

qint64 TADOQuery::ExecSQL() {
    if (!Connection())
        throw EInvalidOperation(Name() + QStringLiteral(": Missing Connection or ConnectionString"));
    return Connection()->Database().Execute(m_sql.Text());
}

QVariant TADOQuery::ExecInsert() {
    if (!Connection())
        throw EInvalidOperation(Name() + QStringLiteral(": Missing Connection or ConnectionString"));
    return Connection()->Database().ExecuteInsert(m_sql.Text()).Id;
}

QString ValuesClause(const QStringList& values, const QString& separator, TValueLiterals literals) {
    // A Unicode literal is the plain one with N before its opening apostrophe: the clause's first
    // and, since every separator ends with the next value's opening apostrophe, each separator's.
    const QString mark = literals == TValueLiterals::Unicode ? QStringLiteral("N") : QString();
    QString between = separator;
    Q_ASSERT(between.isEmpty() || between.endsWith(QLatin1Char('\'')));  // "', '" or "','"
    if (!between.isEmpty())
        between.insert(between.size() - 1, mark);
    QStringList quoted;
    for (QString value : values)
        quoted.append(value.replace(QLatin1Char('\''), QStringLiteral("''")));
    return QStringLiteral("VALUES (") + mark + QLatin1Char('\'') + quoted.join(between) +
           QStringLiteral("')");
}

QVariant ExecuteTemplate(TADOQuery* query, const QStringList& values, const QString& separator) {
    query->Close();
    // SQL Server converts a plain literal to the database's code page, so any character outside it
    // ("Müller", an emoji) would arrive as '?'; the embedded engine keeps every literal as typed.
    const TValueLiterals literals = query->Connection() && !query->Connection()->IsEmbedded()
                                        ? TValueLiterals::Unicode
                                        : TValueLiterals::Plain;
    query->SQL().SetStrings(1, QString());
    query->SQL().SetStrings(1, ValuesClause(values, separator, literals));
    return query->ExecInsert();
}
