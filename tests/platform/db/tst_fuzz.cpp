// Mutated inputs for the two parsers of the database interface. Connection strings: every input maps
// to a target or to a reason why not, never anything else. T-SQL: every statement is rewritten
// without a crash, and the text of its string literals and bracketed names comes out as it went in.
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "TDbConnectionString.h"
#include "TMutator.h"
#include "TTsqlDialect.h"

namespace {

// The literals ('...' with '' inside) and bracketed names ([...] with ]] inside) of a statement, in
// order, skipping comments and "quoted" names; false when one of them is not closed.
bool LiteralsAndBrackets(const QString& sql, QStringList& found) {
    const int n = sql.size();
    for (int i = 0; i < n;) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('[') || c == QLatin1Char('"')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            QString text(c);
            int j = i + 1;
            for (;; ++j) {
                if (j >= n)
                    return false;
                if (sql.at(j) == close) {
                    if (j + 1 < n && sql.at(j + 1) == close) {
                        text += close;
                        text += close;
                        ++j;
                        continue;
                    }
                    break;
                }
                text += sql.at(j);
            }
            if (c != QLatin1Char('"'))
                found.append(text + close);
            i = j + 1;
        } else if (sql.mid(i, 2) == QLatin1String("--")) {
            const int end = sql.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? n : end;
        } else if (sql.mid(i, 2) == QLatin1String("/*")) {
            const int end = sql.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                return false;
            i = end + 2;
        } else {
            ++i;
        }
    }
    return true;
}

}  // namespace

class TstFuzz : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connectionStrings() {
        const QByteArrayList corpus{
            "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=ZIRT;"
            "Data Source=(local)\\SQLEXPRESS",
            "Provider=SQLOLEDB.1;Integrated Security=SSPI;Initial Catalog=ZIRT;Data "
            "Source=shopserver\\SQLEXPRESS",
            "Provider=SQLOLEDB.1;User ID=kassa;Password='a;b';Initial Catalog=ZIRT;Data Source=.\\SQLEXPRESS",
            "Driver=SQLite3;Database=/tmp/z.sqlite",
            "Data Source=\"(local)\\SQLEXPRESS\";Initial Catalog=\"Z;I\""};
        TMutator mutator(20261209, {";", "=", "'", "\"", "\\", "(local)", "Provider=", "Driver=",
                                    "Data Source=", "Initial Catalog=", " ", "..", "/", "\xD0\x97"});
        const int rounds = TMutator::Rounds(20000);
        // Where every instance's folder lies: the folder above the program's own catalog file.
        const QString home = QFileInfo(MapConnectionString(QString::fromUtf8(corpus.first())).File)
                                 .dir()
                                 .absolutePath()
                                 .section(QLatin1Char('/'), 0, -2) +
                             QLatin1Char('/');
        int refused = 0;
        for (int round = 0; round < rounds; ++round) {
            const QString text = QString::fromUtf8(mutator.Mutate(corpus));
            const TDbTarget target = MapConnectionString(text);
            if (target.Kind == TDbTarget::Invalid) {
                ++refused;
                QVERIFY2(!target.Error.isEmpty(), qPrintable(text));
            } else if (target.Kind == TDbTarget::Embedded) {
                // The catalog's file stays in its instance's folder, whatever the catalog says.
                const QString file = QDir::cleanPath(target.File);
                QVERIFY2(file.startsWith(home) && file.mid(home.size()).count(QLatin1Char('/')) == 1,
                         qPrintable(text + QStringLiteral(" -> ") + target.File));
            }
        }
        qInfo("connection strings: %d inputs tried, %d refused, 0 crashes", rounds, refused);
        QVERIFY(refused > 0 && refused < rounds);
    }

    void tsqlRewrite() {
        const QByteArrayList corpus{
            "SELECT     TOP (100) PERCENT dbo.wares.name AS Наименование, dbo.wares.description AS Описание, "
            "dbo.provider.name AS Поставщик, dbo.wares.orderprice AS [Цена закупа] FROM dbo.wares INNER JOIN "
            "dbo.provider ON dbo.wares.Idprovider = dbo.provider.Idprovider ORDER BY Наименование DESC",
            "INSERT into provider([name],agentname, phone)\nVALUES ('Д''Артаньян', 'O''Brien \"Ltd\"', "
            "'''); DROP TABLE wares; --')\n",
            "INSERT into [order](idprovider)\nVALUES ('3')\n",
            "select * from [order]",
            "insert into saleitem(idsale,idwares,quantity)\nVALUES ('12','7','2')\n\n\n",
            "SELECT N'текст', [a]]b], \"x\" /* dbo.wares */ -- TOP (100) PERCENT\nFROM dbo.[View_2]"};
        TMutator mutator(20261210, {"'", "''", "[", "]", "]]", "\"", "--", "/*", "*/", "\n", "dbo.", "N'",
                                    "TOP (100) PERCENT", " ", ",", "(", ")", ";"});
        const int rounds = TMutator::Rounds(20000);
        int checked = 0;
        for (int round = 0; round < rounds; ++round) {
            const QString statement = QString::fromUtf8(mutator.Mutate(corpus));
            const QString rewritten = TsqlToSqlite(statement);
            QStringList before, after;
            if (!LiteralsAndBrackets(statement, before))
                continue;  // an unclosed literal: only that nothing crashed counts
            ++checked;
            QVERIFY2(LiteralsAndBrackets(rewritten, after), qPrintable(statement + " -> " + rewritten));
            QVERIFY2(before == after, qPrintable(statement + QStringLiteral("\n->\n") + rewritten));
        }
        qInfo("T-SQL statements: %d inputs tried, %d with every literal checked, 0 crashes", rounds, checked);
        QVERIFY(checked > rounds / 4);
    }
};

QTEST_GUILESS_MAIN(TstFuzz)
#include "tst_fuzz.moc"
