// The embedded provider and the connection around it: reaching the file (never creating it), errors
// with the database's own text, column metadata, object kinds and keys, the T-SQL rewrite and the
// connection-string mapping. The ODBC path's metadata is checked against the SQLite ODBC driver.
#include <QtTest>

#include <QFile>
#include <QFileInfo>

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbConnectionString.h"
#include "TDbCursor.h"
#include "TDbProvisioner.h"
#include "TOdbcProvider.h"
#include "TModuleStatements.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"
#include "TTsqlDialect.h"

namespace {

// What ThrownMessage gives for a call that throws nothing.
const QString kNoFailure = TTestChecks::ThrownMessage([] {});

// The goods list as the data module sends it before any sort choice.
QString Goods() {
    return TModuleStatements::Text(TModuleStatements::GoodsList());
}

}  // namespace

class TestSqliteProvider : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void missingFileIsNeverCreated();
    void notADatabase();
    void pathWithCyrillicSpacesAndUriCharacters();
    void lockedDatabaseWaitsThenFails();
    void errorsCarryTheDatabaseText_data();
    void errorsCarryTheDatabaseText();
    void oneStatementAtATime();
    void goodsListColumns_data();
    void goodsListColumns();
    void typesOfColumns_data();
    void typesOfColumns();
    void objectKinds_data();
    void objectKinds();
    void primaryKeys_data();
    void primaryKeys();
    void parametersAreValues_data();
    void parametersAreValues();
    void closeEndsOpenCursors();
    void dialect_data();
    void dialect();
    void connectionStrings_data();
    void connectionStrings();
    void sqlServerUsesTrustedConnection();
    void unknownServerFailsWithTheDriverText();
};

void TestSqliteProvider::missingFileIsNeverCreated() {
    TTestDatabase database;
    database.MakeUnreachable();
    TDbConnection db(TTestDatabase::ConnectionString());
    const QString message = TTestChecks::ThrownMessage([&] { db.Open(); });
    QVERIFY2(message.contains(QLatin1String("\"ZIRT\"")) && message.contains(database.File()),
             qPrintable(message));
    QVERIFY(!db.Connected());
    QVERIFY(!QFileInfo::exists(database.File()));
    // Every later step tries again and succeeds once the file is back.
    QVERIFY(TTestChecks::ThrownMessage([&] { db.Select(QStringLiteral("SELECT 1")); }) != kNoFailure);
    database.MakeReachable();
    const std::unique_ptr<TDbCursor> c = db.Select(QStringLiteral("SELECT count(*) FROM wares"));
    QVERIFY(db.Connected());
    QVERIFY(c->Next());
    QCOMPARE(c->Value(0).Int, qint64(40));
}

void TestSqliteProvider::notADatabase() {
    TTestDatabase database;
    QFile f(database.File());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(4096, 'x'));
    f.close();
    TDbConnection db(TTestDatabase::ConnectionString());
    const QString message = TTestChecks::ThrownMessage([&] { db.Open(); });
    QVERIFY2(message.contains(QLatin1String("file is not a database")) && message.contains(database.File()),
             qPrintable(message));
    QVERIFY(!db.Connected());
}

void TestSqliteProvider::pathWithCyrillicSpacesAndUriCharacters() {
    TTestDatabase fixture(TTestDatabase::SchemaOnly);  // restores XDG_DATA_HOME when done
    const QString home = fixture.DataHome() + QStringLiteral("/Мои данные #1 ?mode=ro&x=%20");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home));
    const QString file = home + QStringLiteral("/zirt/SQLEXPRESS/ZIRT.sqlite");
    TDbProvisioner::Create(file, {TTestDatabase::SchemaFolder() + QStringLiteral("/zirt.sqlite.sql")});
    TDbConnection db(TTestDatabase::ConnectionString());
    QCOMPARE(db.Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (5)")), qint64(1));
    QFile::remove(file);
    db.Close();
    QVERIFY(TTestChecks::ThrownMessage([&] { db.Open(); }) != kNoFailure);
    QVERIFY(!QFileInfo::exists(file));
}

void TestSqliteProvider::lockedDatabaseWaitsThenFails() {
    TTestDatabase database;
    TDbConnection other(TTestDatabase::ConnectionString());
    other.Execute(QStringLiteral("BEGIN EXCLUSIVE"));
    TDbConnection db(TTestDatabase::ConnectionString());
    const QString message = TTestChecks::ThrownMessage(
        [&] { db.Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (1)")); });
    QVERIFY2(message.contains(QLatin1String("locked")), qPrintable(message));
    other.Execute(QStringLiteral("ROLLBACK"));
    QCOMPARE(db.Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (1)")), qint64(1));
}

void TestSqliteProvider::errorsCarryTheDatabaseText_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing table") << QStringLiteral("SELECT * FROM nowhere")
                                   << QStringLiteral("no such table: nowhere");
    QTest::newRow("missing column") << QStringLiteral("SELECT colour FROM wares")
                                    << QStringLiteral("no such column: colour");
    QTest::newRow("syntax") << QStringLiteral("SELEC 1") << QStringLiteral("syntax error");
    QTest::newRow("ambiguous") << QStringLiteral("SELECT name FROM wares, provider")
                               << QStringLiteral("ambiguous column name: name");
    QTest::newRow("unterminated literal")
        << QStringLiteral("SELECT 'abc") << QStringLiteral("unrecognized token");
}

void TestSqliteProvider::errorsCarryTheDatabaseText() {
    QFETCH(QString, statement);
    QFETCH(QString, text);
    TTestDatabase database;
    TDbConnection db(TTestDatabase::ConnectionString());
    const QString message = TTestChecks::ThrownMessage([&] { db.Select(statement); });
    QVERIFY2(message.contains(text), qPrintable(message));
}

void TestSqliteProvider::oneStatementAtATime() {
    TTestDatabase database;
    TDbConnection db(TTestDatabase::ConnectionString());
    QVERIFY(TTestChecks::ThrownMessage([&] {
                db.Execute(
                    QStringLiteral("INSERT INTO discount ([percent]) VALUES (1); DELETE FROM saleitem"));
            }) != kNoFailure);
    const std::unique_ptr<TDbCursor> c = db.Select(QStringLiteral("SELECT count(*) FROM discount"));
    QVERIFY(c->Next());
    QCOMPARE(c->Value(0).Int, qint64(6));
    // A trailing semicolon, comment or blank lines are not a second statement.
    QCOMPARE(db.Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (1);\r\n-- done\r\n\r\n")),
             qint64(1));
}

void TestSqliteProvider::goodsListColumns_data() {
    QTest::addColumn<QString>("provider");
    QTest::newRow("embedded") << QStringLiteral("embedded");
    QTest::newRow("odbc") << QStringLiteral("odbc");
}

void TestSqliteProvider::goodsListColumns() {
    QFETCH(QString, provider);
    TTestDatabase database;
    TDbConnection db(provider == QLatin1String("embedded") ? TTestDatabase::ConnectionString()
                                                           : database.OdbcConnectionString());
    const std::unique_ptr<TDbCursor> c = db.Select(Goods());
    const QVector<TDbColumn>& cols = c->Columns();
    QCOMPARE(cols.size(), 6);
    const char* expected[][2] = {{"wares", "name"},       {"wares", "description"}, {"provider", "name"},
                                 {"wares", "orderprice"}, {"wares", "saleprice"},   {"discount", "percent"}};
    for (int i = 0; i < 6; ++i) {
        // The SQLite ODBC driver names the alias as the base column; such metadata is dropped, which
        // leaves the join read-only rather than written to a column that does not exist.
        if (provider == QLatin1String("odbc") && cols[i].BaseTable.isEmpty()) {
            QVERIFY(cols[i].BaseColumn.isEmpty());
            continue;
        }
        QCOMPARE(cols[i].BaseTable, QString::fromLatin1(expected[i][0]));
        QCOMPARE(cols[i].BaseColumn, QString::fromLatin1(expected[i][1]));
    }
    QCOMPARE(cols[0].Type, QMetaType::QString);
    QCOMPARE(cols[3].Type, QMetaType::Double);
    // Without aliases every driver knows where a column comes from.
    const std::unique_ptr<TDbCursor> plain = db.Select(
        QStringLiteral("SELECT dbo.wares.name, dbo.provider.name FROM dbo.wares INNER JOIN dbo.period ON "
                       "dbo.wares.Idwares = dbo.period.Idwares INNER JOIN dbo.provider ON "
                       "dbo.period.Idprovider = dbo.provider.Idprovider"));
    QCOMPARE(plain->Columns().at(0).BaseTable, QStringLiteral("wares"));
    QCOMPARE(plain->Columns().at(1).BaseTable, QStringLiteral("provider"));
    QCOMPARE(plain->Columns().at(1).BaseColumn, QStringLiteral("name"));
}

void TestSqliteProvider::typesOfColumns_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("type");
    QTest::newRow("key") << QStringLiteral("SELECT * FROM sale") << 0 << int(QMetaType::LongLong);
    QTest::newRow("sale date") << QStringLiteral("SELECT * FROM sale") << 2 << int(QMetaType::QDateTime);
    QTest::newRow("date through a view")
        << QStringLiteral("SELECT * FROM View_1") << 4 << int(QMetaType::QDateTime);
    QTest::newRow("count, typed by its value")
        << QStringLiteral("SELECT count(*) FROM wares") << 0 << int(QMetaType::LongLong);
    QTest::newRow("expression text") << QStringLiteral("SELECT name || '!' FROM wares") << 0
                                     << int(QMetaType::QString);
    QTest::newRow("percent") << QStringLiteral("SELECT * FROM discount") << 1 << int(QMetaType::Double);
}

void TestSqliteProvider::typesOfColumns() {
    QFETCH(QString, statement);
    QFETCH(int, column);
    QFETCH(int, type);
    TTestDatabase database;
    TDbConnection db(TTestDatabase::ConnectionString());
    const std::unique_ptr<TDbCursor> c = db.Select(statement);
    QCOMPARE(int(c->Columns().at(column).Type), type);
    // Typing by the first row must not lose that row.
    int rows = 0;
    while (c->Next())
        ++rows;
    QVERIFY(rows > 0);
}

void TestSqliteProvider::objectKinds_data() {
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    for (const char* provider : {"embedded", "odbc"}) {
        const QString p = QString::fromLatin1(provider);
        QTest::addRow("%s: [order]", provider) << p << QStringLiteral("[order]") << int(TDbObjectKind::Table);
        QTest::addRow("%s: dbo.wares", provider)
            << p << QStringLiteral("dbo.wares") << int(TDbObjectKind::Table);
        QTest::addRow("%s: WARES", provider) << p << QStringLiteral("WARES") << int(TDbObjectKind::Table);
        QTest::addRow("%s: View_1", provider) << p << QStringLiteral("View_1") << int(TDbObjectKind::View);
        QTest::addRow("%s: view_2", provider) << p << QStringLiteral("view_2") << int(TDbObjectKind::View);
        QTest::addRow("%s: missing", provider) << p << QStringLiteral("goods") << int(TDbObjectKind::Missing);
    }
}

void TestSqliteProvider::objectKinds() {
    QFETCH(QString, provider);
    QFETCH(QString, name);
    QFETCH(int, kind);
    TTestDatabase database;
    TDbConnection db(provider == QLatin1String("embedded") ? TTestDatabase::ConnectionString()
                                                           : database.OdbcConnectionString());
    QCOMPARE(int(db.ObjectKind(name)), kind);
}

void TestSqliteProvider::primaryKeys_data() {
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("key");
    for (const char* provider : {"embedded", "odbc"}) {
        const QString p = QString::fromLatin1(provider);
        QTest::addRow("%s: wares", provider)
            << p << QStringLiteral("wares") << QStringList{QStringLiteral("Idwares")};
        QTest::addRow("%s: [order]", provider)
            << p << QStringLiteral("[order]") << QStringList{QStringLiteral("Idorder")};
        QTest::addRow("%s: view", provider) << p << QStringLiteral("View_2") << QStringList();
    }
}

void TestSqliteProvider::primaryKeys() {
    QFETCH(QString, provider);
    QFETCH(QString, table);
    QFETCH(QStringList, key);
    TTestDatabase database;
    TDbConnection db(provider == QLatin1String("embedded") ? TTestDatabase::ConnectionString()
                                                           : database.OdbcConnectionString());
    QCOMPARE(db.PrimaryKey(table), key);
    const QVector<TDbColumn> columns = db.TableColumns(table);
    QVERIFY(!columns.isEmpty());
}

void TestSqliteProvider::parametersAreValues_data() {
    goodsListColumns_data();
}

void TestSqliteProvider::parametersAreValues() {
    QFETCH(QString, provider);
    TTestDatabase database;
    TDbConnection db(provider == QLatin1String("embedded") ? TTestDatabase::ConnectionString()
                                                           : database.OdbcConnectionString());
    const QString evil = QStringLiteral("x'); DELETE FROM wares; --");
    QCOMPARE(db.Execute(QStringLiteral("UPDATE wares SET description = ? WHERE Idwares = ?"), {evil, 1}),
             qint64(1));
    const std::unique_ptr<TDbCursor> c = db.Select(
        QStringLiteral("SELECT description, (SELECT count(*) FROM wares) FROM wares WHERE Idwares = ?"), {1});
    QVERIFY(c->Next());
    QCOMPARE(QString::fromUtf8(c->Value(0).Utf8, c->Value(0).Length), evil);
    QCOMPARE(c->Value(1).Int, qint64(40));
    QVERIFY(TTestChecks::ThrownMessage([&] { db.Select(QStringLiteral("SELECT ?"), {}); }) != kNoFailure);
}

void TestSqliteProvider::closeEndsOpenCursors() {
    TTestDatabase database;
    TDbConnection db(TTestDatabase::ConnectionString());
    std::unique_ptr<TDbCursor> c = db.Select(QStringLiteral("SELECT * FROM wares"));
    QVERIFY(c->Next());
    db.Close();
    QVERIFY(!c->Next());
    c.reset();
    db.Open();
    QVERIFY(db.Connected());
}

void TestSqliteProvider::dialect_data() {
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("top percent") << QStringLiteral("SELECT     TOP (100) PERCENT a FROM t")
                                 << QStringLiteral("SELECT      a FROM t");
    QTest::newRow("top percent, no brackets")
        << QStringLiteral("select top 100 percent a from t") << QStringLiteral("select  a from t");
    QTest::newRow("distinct top") << QStringLiteral("SELECT DISTINCT TOP(100) PERCENT a FROM t")
                                  << QStringLiteral("SELECT DISTINCT  a FROM t");
    QTest::newRow("other top left alone")
        << QStringLiteral("SELECT TOP (5) a FROM t") << QStringLiteral("SELECT TOP (5) a FROM t");
    QTest::newRow("dbo on tables and columns")
        << QStringLiteral(
               "SELECT dbo.wares.name FROM dbo.wares INNER JOIN [dbo].[period] ON dbo.wares.Idwares = 1")
        << QStringLiteral("SELECT wares.name FROM wares INNER JOIN [period] ON wares.Idwares = 1");
    QTest::newRow("literal untouched")
        << QStringLiteral("SELECT 'TOP (100) PERCENT dbo.x', 'it''s dbo.y' FROM dbo.t")
        << QStringLiteral("SELECT 'TOP (100) PERCENT dbo.x', 'it''s dbo.y' FROM t");
    QTest::newRow("quoted names untouched") << QStringLiteral("SELECT [dbo.x], \"dbo.y\" FROM t")
                                            << QStringLiteral("SELECT [dbo.x], \"dbo.y\" FROM t");
    QTest::newRow("comments untouched")
        << QStringLiteral("SELECT 1 -- dbo.x\r\n/* TOP (100) PERCENT */ FROM dbo.t")
        << QStringLiteral("SELECT 1 -- dbo.x\r\n/* TOP (100) PERCENT */ FROM t");
    QTest::newRow("unicode literal") << QStringLiteral("INSERT INTO t VALUES (N'Ёлка')")
                                     << QStringLiteral("INSERT INTO t VALUES ('Ёлка')");
    QTest::newRow("unicode literal right after a literal stays apart")
        << QStringLiteral("SELECT 'a'N'b'") << QStringLiteral("SELECT 'a' 'b'");
    QTest::newRow("name ending in dbo")
        << QStringLiteral("SELECT xdbo.a FROM xdbo") << QStringLiteral("SELECT xdbo.a FROM xdbo");
    QTest::newRow("database.dbo.table kept")
        << QStringLiteral("SELECT * FROM ZIRT.dbo.t") << QStringLiteral("SELECT * FROM ZIRT.dbo.t");
}

void TestSqliteProvider::dialect() {
    QFETCH(QString, tsql);
    QFETCH(QString, sqlite);
    QCOMPARE(TsqlToSqlite(tsql), sqlite);
}

void TestSqliteProvider::connectionStrings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("computer");
    QTest::addColumn<QString>("fileEnd");
    const QString program = TTestDatabase::ConnectionString();
    QTest::newRow("the program's") << program << int(TDbTarget::Embedded) << QStringLiteral("(local)")
                                   << QStringLiteral("/zirt/SQLEXPRESS/ZIRT.sqlite");
    QTest::newRow("keys in any case, spaces")
        << QStringLiteral("provider = SQLOLEDB.1 ; INITIAL CATALOG=ZIRT;data source=(LOCAL)\\SQLEXPRESS;")
        << int(TDbTarget::Embedded) << QStringLiteral("(LOCAL)")
        << QStringLiteral("/zirt/SQLEXPRESS/ZIRT.sqlite");
    QTest::newRow("server") << QString(program).replace(QLatin1String("(local)"), QLatin1String("shop-srv"))
                            << int(TDbTarget::SqlServer) << QStringLiteral("shop-srv") << QString();
    QTest::newRow("odbc") << QStringLiteral("DRIVER=SQLite3;Database=/tmp/x.sqlite")
                          << int(TDbTarget::OdbcDirect) << QString() << QString();
    QTest::newRow("other provider") << QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb")
                                    << int(TDbTarget::Invalid) << QString() << QString();
    QTest::newRow("no catalog") << QStringLiteral("Provider=SQLOLEDB.1;Data Source=(local)\\SQLEXPRESS")
                                << int(TDbTarget::Invalid) << QString() << QString();
    QTest::newRow("catalog leaving the folder")
        << QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=../../etc;Data Source=(local)\\SQLEXPRESS")
        << int(TDbTarget::Invalid) << QString() << QString();
    QTest::newRow("garbage") << QStringLiteral("Provider=SQLOLEDB.1;nonsense;Initial Catalog=ZIRT")
                             << int(TDbTarget::Invalid) << QString() << QString();
}

void TestSqliteProvider::connectionStrings() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, computer);
    QFETCH(QString, fileEnd);
    const TDbTarget t = MapConnectionString(text);
    QCOMPARE(int(t.Kind), kind);
    if (kind == TDbTarget::Invalid) {
        QVERIFY(!t.Error.isEmpty());
        TDbConnection db(text);
        QCOMPARE_THROWS(db.Open(), t.Error);
        return;
    }
    QCOMPARE(t.Computer, computer);
    QVERIFY2(t.File.endsWith(fileEnd), qPrintable(t.File));
}

void TestSqliteProvider::sqlServerUsesTrustedConnection() {
    TDbTarget t = MapConnectionString(QString(TTestDatabase::ConnectionString())
                                          .replace(QLatin1String("(local)"), QLatin1String("shop-srv")));
    QVERIFY(t.Trusted);
    const QStringList installed = TOdbcProvider::InstalledDrivers();
    bool any = false;
    for (const QString& d : TOdbcProvider::PreferredDrivers())
        any = any || installed.contains(d);
    if (!any)
        QSKIP("no SQL Server ODBC driver installed");
    const QString cs = TOdbcProvider::SqlServerConnectionString(t);
    QVERIFY2(cs.contains(QLatin1String("SERVER={shop-srv\\SQLEXPRESS}")) &&
                 cs.contains(QLatin1String("DATABASE={ZIRT}")) &&
                 cs.contains(QLatin1String("Trusted_Connection=yes")) && !cs.contains(QLatin1String("PWD")),
             qPrintable(cs));
}

void TestSqliteProvider::unknownServerFailsWithTheDriverText() {
    const QString cs = QString(TTestDatabase::ConnectionString())
                           .replace(QLatin1String("(local)"), QLatin1String("zirt-shop.invalid"));
    TDbConnection db(cs);
    QVERIFY(!db.IsEmbedded());
    const QString message = TTestChecks::ThrownMessage([&] { db.Open(); });
    QVERIFY2(message.startsWith(QLatin1String("Cannot ")) &&
                 message.contains(QLatin1String("zirt-shop.invalid")) && message.size() > 60,
             qPrintable(message));
    QVERIFY(!db.Connected());
}

QTEST_GUILESS_MAIN(TestSqliteProvider)
#include "tst_sqliteprovider.moc"
