// bench-fetch: fetching the goods list sorted by name (the main window's first sort choice, 2N rows on
// the generated database) through the database interface, against a raw sqlite3 loop over the same
// statement on the same file (the floor). Also Qt's forward-only QSqlQuery for reference.
// Runs on the database that XDG_DATA_HOME points to (scripts/bench sets it).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "THostPath.h"
#include "TRussianCollation.h"
#include "TTsqlDialect.h"

namespace {

const char* const kConnection =
    "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=ZIRT;"
    "Data Source=(local)\\SQLEXPRESS";

QString GoodsList() {
    const QString pad(22, QLatin1Char(' '));
    return QStringLiteral(
               "SELECT     TOP (100) PERCENT dbo.wares.name AS Наименование, dbo.wares.description AS "
               "Описание, dbo.provider.name AS Поставщик, \r\n") +
           pad +
           QStringLiteral(
               "dbo.wares.orderprice AS [Цена закупа], dbo.wares.saleprice AS [Цена продажи], "
               "dbo.discount.[percent] AS [Скидка (%)]\r\nFROM         dbo.discount INNER JOIN\r\n") +
           pad +
           QStringLiteral("dbo.wares ON dbo.discount.Iddiscount = dbo.wares.Iddiscount INNER JOIN\r\n") +
           pad + QStringLiteral("dbo.period ON dbo.wares.Idwares = dbo.period.Idwares INNER JOIN\r\n") + pad +
           QStringLiteral(
               "dbo.provider ON dbo.period.Idprovider = dbo.provider.Idprovider\r\n\r\nORDER BY Наименование "
               "ASC\r\n");
}

// Seconds one run takes; `rows` gets its row count.
double Time(const std::function<qint64()>& run, qint64& rows) {
    QElapsedTimer t;
    t.start();
    rows = run();
    return t.nsecsElapsed() / 1e9;
}

qint64 Raw(const QString& file, const QByteArray& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
    RegisterRussianCollation(db);
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr) != SQLITE_OK)
        throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
    qint64 rows = 0, bytes = 0;
    const int columns = sqlite3_column_count(s);
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(s, c)) {
                case SQLITE_TEXT:
                    bytes += sqlite3_column_bytes(s, c) + (sqlite3_column_text(s, c) != nullptr);
                    break;
                case SQLITE_INTEGER:
                    bytes += sqlite3_column_int64(s, c) & 1;
                    break;
                case SQLITE_FLOAT:
                    bytes += sqlite3_column_double(s, c) > 0;
                    break;
                default:
                    break;
            }
        }
        ++rows;
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return rows + (bytes < 0);
}

qint64 Interface(const QString& statement) {
    TDbConnection db(QString::fromLatin1(kConnection));
    const std::unique_ptr<TDbCursor> c = db.Select(statement);
    const int columns = int(c->Columns().size());
    qint64 rows = 0, bytes = 0;
    while (c->Next()) {
        for (int i = 0; i < columns; ++i) {
            const TDbValue v = c->Value(i);
            bytes += v.Length + (v.Kind == TDbValue::Integer ? v.Int & 1 : 0);
        }
        ++rows;
    }
    return rows + (bytes < 0);
}

qint64 QtQuery(const QString& file, const QString& statement) {
    qint64 rows = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(file);
        if (!db.open())
            throw EDatabaseError(QStringLiteral("cannot open %1").arg(file));
        RegisterRussianCollation(*static_cast<sqlite3* const*>(db.driver()->handle().constData()));
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(statement))
            throw EDatabaseError(QStringLiteral("QSqlQuery failed"));
        const int columns = 6;
        qint64 bytes = 0;
        while (q.next()) {
            for (int i = 0; i < columns; ++i)
                bytes += q.value(i).toString().size();
            ++rows;
        }
        rows += bytes < 0;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return rows;
}

void Line(const char* name, double value, double floor) {
    std::printf("%s: %.3f s (floor %.3f s, ratio %.2f)\n", name, value, floor, value / floor);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        const QString file = EmbeddedCatalogFile(QStringLiteral("SQLEXPRESS"), QStringLiteral("ZIRT"));
        const QString statement = GoodsList();
        const QString sqlite = TsqlToSqlite(statement);
        qint64 rawRows = 0, rows = 0, qtRows = 0;
        // Rounds interleave the three ways so that load from elsewhere hits them alike; best of each.
        double floor = 1e9, ours = 1e9, qt = 1e9;
        for (int round = 0; round < 5; ++round) {
            floor = std::min(floor, Time([&] { return Raw(file, sqlite.toUtf8()); }, rawRows));
            ours = std::min(ours, Time([&] { return Interface(statement); }, rows));
            qt = std::min(qt, Time([&] { return QtQuery(file, sqlite); }, qtRows));
        }
        if (rows != rawRows || qtRows != rawRows)
            throw EInvalidOperation(
                QStringLiteral("row counts differ: %1, %2, %3").arg(rawRows).arg(rows).arg(qtRows));
        std::printf("goods list sorted by name: %lld rows\n", rows);
        Line("db-goods-list-fetch", ours, floor);
        Line("db-goods-list-fetch-qsqlquery", qt, floor);
    } catch (const Exception& e) {
        std::fprintf(stderr, "bench-fetch: %s\n", e.what());
        return 1;
    }
    return 0;
}
