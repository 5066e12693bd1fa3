// The contract between the program and the ZIRT database: every table, view and column the program
// names, the rules it relies on (generated keys that only grow, dates and sale prices filled by the
// database, references and checks enforced) and the join rules of the goods list. Relies on TTestDatabase.
#include <QtTest>

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"

namespace {

// What ThrownMessage gives for a call that throws nothing.
const QString kNoFailure = TTestChecks::ThrownMessage([] {});

QVariant Scalar(TDbConnection& db, const QString& statement) {
    const std::unique_ptr<TDbCursor> c = db.Select(statement);
    if (!c->Next())
        return QVariant();
    const TDbValue v = c->Value(0);
    switch (v.Kind) {
        case TDbValue::Integer:
            return v.Int;
        case TDbValue::Double:
            return v.Real;
        case TDbValue::Text:
            return QString::fromUtf8(v.Utf8, v.Length);
        default:
            return QVariant();
    }
}

}  // namespace

class TestSchema : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void namedColumnsExist_data();
    void namedColumnsExist();
    void orderNeedsBrackets();
    void refusedValues_data();
    void refusedValues();
    void cyrillicRoundTrips();
    void saleKeysOnlyGrow();
    void databaseFillsDatesAndSalePrice();
    void referencedRowsCannotBeDeleted_data();
    void referencedRowsCannotBeDeleted();
    void goodsListJoinRules();
    void serverScriptIsParallel();
    void viewsWriteAsTheServerDoes_data();
    void viewsWriteAsTheServerDoes();

private:
    std::unique_ptr<TTestDatabase> m_database;
    std::unique_ptr<TDbConnection> m_db;
};

void TestSchema::init() {
    m_database = std::make_unique<TTestDatabase>();
    m_db = std::make_unique<TDbConnection>(TTestDatabase::ConnectionString());
}

void TestSchema::cleanup() {
    m_db.reset();
    m_database.reset();
}

void TestSchema::namedColumnsExist_data() {
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("columns");
    const auto table = int(TDbObjectKind::Table);
    const auto view = int(TDbObjectKind::View);
    QTest::newRow("provider") << "provider" << table
                              << QStringList{"idprovider", "NAME", "agentname", "phone"};
    QTest::newRow("manager") << "manager" << table << QStringList{"Idmanager", "name", "phone"};
    QTest::newRow("discount") << "discount" << table << QStringList{"Iddiscount", "percent"};
    QTest::newRow("wares") << "wares" << table << QStringList{"Idwares",    "name",      "description",
                                                              "orderprice", "saleprice", "iddiscount"};
    QTest::newRow("period") << "period" << table << QStringList{"idprovider", "idwares", "day"};
    QTest::newRow("order") << "[order]" << table << QStringList{"Idorder", "idprovider"};
    QTest::newRow("orderitem") << "orderitem" << table << QStringList{"idorder", "idwares", "warescount"};
    QTest::newRow("sale") << "sale" << table << QStringList{"idsale", "Idmanager"};
    QTest::newRow("saleitem") << "saleitem" << table << QStringList{"idsale", "idwares", "quantity"};
    QTest::newRow("orders_info") << "orders_info" << view << QStringList{"Кол-во", "Цена"};
    QTest::newRow("View_1") << "View_1" << view
                            << QStringList{"Менеджер", "Наименование", "Описание", "Количество", "Дата"};
    QTest::newRow("new_order") << "new_order" << view
                               << QStringList{"name", "Expr2", "description", "day", "Idwares"};
    QTest::newRow("View_2") << "View_2" << view
                            << QStringList{"name", "description", "Idprovider", "Idwares"};
    QTest::newRow("firms_periods") << "firms_periods" << view
                                   << QStringList{"Фирма", "Наименование товара", "Описание товара",
                                                  "Срок ожидания"};
}

void TestSchema::namedColumnsExist() {
    QFETCH(QString, object);
    QFETCH(int, kind);
    QFETCH(QStringList, columns);
    QCOMPARE(int(m_db->ObjectKind(object)), kind);
    QCOMPARE(int(m_db->ObjectKind(object.toUpper())), kind);
    QStringList have;
    for (const TDbColumn& c : m_db->TableColumns(object))
        have << c.Name;
    for (const QString& c : columns)
        QVERIFY2(have.contains(c, Qt::CaseInsensitive),
                 qPrintable(c + QStringLiteral(" not in ") + have.join(',')));
    // Reading the object whole works, and gives rows in the demo data.
    QVERIFY(Scalar(*m_db, QStringLiteral("SELECT count(*) FROM %1").arg(object)).toLongLong() > 0);
}

void TestSchema::orderNeedsBrackets() {
    QVERIFY(TTestChecks::ThrownMessage([&] { m_db->Select(QStringLiteral("SELECT * FROM order")); }) !=
            kNoFailure);
    QCOMPARE(TTestChecks::ThrownMessage([&] { m_db->Select(QStringLiteral("SELECT * FROM [order]")); }),
             kNoFailure);
}

void TestSchema::refusedValues_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters as purchase price")
        << "INSERT into wares([name],description,orderprice,iddiscount)\r\nVALUES ('Плеер', 'MP3', 'дорого', "
           "'1')"
        << "cannot store TEXT value in REAL column wares.orderprice";
    QTest::newRow("letters as discount level")
        << "INSERT into wares([name],description,orderprice,iddiscount)\r\nVALUES ('Плеер', 'MP3', '10', "
           "'один')"
        << "cannot store TEXT value in INTEGER column wares.Iddiscount";
    QTest::newRow("days as words") << "insert into period(idprovider,idwares,day)\r\nVALUES ('1','40','пять')"
                                   << "cannot store TEXT value in INTEGER column period.day";
    QTest::newRow("missing ware") << "insert into period(idprovider,idwares,day)\r\nVALUES ('1','999','5')"
                                  << "FOREIGN KEY constraint failed";
    QTest::newRow("missing supplier") << "INSERT into [order](idprovider)\r\nVALUES ('99')"
                                      << "FOREIGN KEY constraint failed";
    QTest::newRow("missing manager") << "insert into sale(idmanager)\r\nVALUES ('77')"
                                     << "FOREIGN KEY constraint failed";
    QTest::newRow("missing sale") << "insert into saleitem(idsale,idwares,quantity)\r\nVALUES ('999','1','1')"
                                  << "FOREIGN KEY constraint failed";
    QTest::newRow("missing discount level")
        << "INSERT into wares([name],description,orderprice,iddiscount)\r\nVALUES ('Плеер', 'MP3', '10', "
           "'99')"
        << "FOREIGN KEY constraint failed";
    QTest::newRow("zero quantity") << "insert into saleitem(idsale,idwares,quantity)\r\nVALUES ('1','1','0')"
                                   << "CHECK constraint failed";
    QTest::newRow("negative order count")
        << "INSERT into orderitem(idorder,idwares,warescount)\r\nVALUES ('1','1','-2')"
        << "CHECK constraint failed";
    QTest::newRow("percent above 100") << "INSERT INTO discount ([percent]) VALUES ('150')"
                                       << "CHECK constraint failed";
    // A number too large for a double is infinity to SQLite; no price may be one.
    QTest::newRow("infinite purchase price")
        << "INSERT into wares([name],description,orderprice,iddiscount)\r\nVALUES ('Плеер', 'MP3', '1e400', "
           "'1')"
        << "CHECK constraint failed";
    QTest::newRow("infinite sale price") << "UPDATE wares SET saleprice = '1e400' WHERE Idwares = 1"
                                         << "CHECK constraint failed";
    QTest::newRow("minus infinite sale price") << "UPDATE wares SET saleprice = -9e999 WHERE Idwares = 1"
                                               << "CHECK constraint failed";
    QTest::newRow("infinite percent") << "UPDATE discount SET [percent] = 9e999 WHERE Iddiscount = 1"
                                      << "CHECK constraint failed";
    QTest::newRow("second period for the same pair")
        << "insert into period(idprovider,idwares,day)\r\nSELECT idprovider, idwares, 3 FROM period LIMIT 1"
        << "UNIQUE constraint failed";
    QTest::newRow("supplier without a name")
        << "INSERT into provider([name],agentname, phone)\r\nVALUES (NULL, 'a', 'b')"
        << "NOT NULL constraint failed";
    QTest::newRow("a date that is no date") << "UPDATE sale SET saledate = 'вчера' WHERE Idsale = 1"
                                            << "CHECK constraint failed";
}

void TestSchema::refusedValues() {
    QFETCH(QString, statement);
    QFETCH(QString, message);
    const qint64 rowsBefore =
        Scalar(*m_db, QStringLiteral("SELECT (SELECT count(*) FROM wares) + (SELECT count(*) FROM "
                                     "period) + (SELECT count(*) FROM saleitem)"))
            .toLongLong();
    const QString got = TTestChecks::ThrownMessage([&] { m_db->Execute(statement); });
    QVERIFY2(got.contains(message), qPrintable(got));
    QCOMPARE(
        Scalar(*m_db,
               QStringLiteral("SELECT (SELECT count(*) FROM wares) + (SELECT count(*) FROM period) + (SELECT "
                              "count(*) FROM saleitem)"))
            .toLongLong(),
        rowsBefore);
}

void TestSchema::cyrillicRoundTrips() {
    const QString name = QStringLiteral("Щётка «Ёж» для пылесоса — №1, ъ/Ъ, ґ і ї є");
    const qint64 id =
        m_db->ExecuteInsert(
                QStringLiteral("INSERT into wares([name],description,orderprice,iddiscount)\r\nVALUES ('%1', "
                               "'%1', '12.50', '2')")
                    .arg(name))
            .Id.toLongLong();
    QCOMPARE(Scalar(*m_db, QStringLiteral("SELECT name FROM wares WHERE Idwares = %1").arg(id)).toString(),
             name);
    QCOMPARE(
        Scalar(*m_db, QStringLiteral("SELECT orderprice FROM wares WHERE Idwares = %1").arg(id)).toDouble(),
        12.5);
}

void TestSchema::saleKeysOnlyGrow() {
    const qint64 first =
        m_db->ExecuteInsert(QStringLiteral("insert into sale(idmanager)\r\nVALUES ('1')")).Id.toLongLong();
    QCOMPARE(first, Scalar(*m_db, QStringLiteral("SELECT max(Idsale) FROM sale")).toLongLong());
    // The newest sale removed: its key is still never handed out again.
    QCOMPARE(m_db->Execute(QStringLiteral("DELETE FROM sale WHERE Idsale = %1").arg(first)), qint64(1));
    QVERIFY(m_db->ExecuteInsert(QStringLiteral("insert into sale(idmanager)\r\nVALUES ('2')")).Id.toLongLong() >
            first);
}

void TestSchema::databaseFillsDatesAndSalePrice() {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    const qint64 sale =
        m_db->ExecuteInsert(QStringLiteral("insert into sale(idmanager)\r\nVALUES ('3')")).Id.toLongLong();
    const qint64 order =
        m_db->ExecuteInsert(QStringLiteral("INSERT into [order](idprovider)\r\nVALUES ('2')")).Id.toLongLong();
    const QDateTime after = QDateTime::currentDateTime().addSecs(2);
    for (const QString& q : {QStringLiteral("SELECT saledate FROM sale WHERE Idsale = %1").arg(sale),
                             QStringLiteral("SELECT orderdate FROM [order] WHERE Idorder = %1").arg(order)}) {
        const QDateTime when =
            QDateTime::fromString(Scalar(*m_db, q).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QVERIFY2(when.isValid() && when >= before && when <= after, qPrintable(Scalar(*m_db, q).toString()));
    }
    const qint64 ware = m_db->ExecuteInsert(QStringLiteral("INSERT into wares([name],description,orderprice,"
                                                           "iddiscount)\r\nVALUES ('Плеер', 'MP3', '1000', '2')"))
                            .Id.toLongLong();
    QCOMPARE(
        Scalar(*m_db, QStringLiteral("SELECT saleprice FROM wares WHERE Idwares = %1").arg(ware)).toDouble(),
        1250.0);
    // A price the user sets in a grid stays.
    m_db->Execute(QStringLiteral("UPDATE wares SET saleprice = 999 WHERE Idwares = %1").arg(ware));
    QCOMPARE(
        Scalar(*m_db, QStringLiteral("SELECT saleprice FROM wares WHERE Idwares = %1").arg(ware)).toDouble(),
        999.0);
}

void TestSchema::referencedRowsCannotBeDeleted_data() {
    QTest::addColumn<QString>("statement");
    QTest::newRow("supplier with periods") << QStringLiteral("DELETE FROM provider WHERE Idprovider = 1");
    QTest::newRow("manager with sales")
        << QStringLiteral("DELETE FROM manager WHERE Idmanager IN (SELECT idmanager FROM sale)");
    QTest::newRow("ware with periods") << QStringLiteral("DELETE FROM wares WHERE Idwares = 1");
    QTest::newRow("discount level in use") << QStringLiteral("DELETE FROM discount WHERE Iddiscount = 2");
    QTest::newRow("order with lines") << QStringLiteral("DELETE FROM [order] WHERE Idorder = 1");
}

void TestSchema::referencedRowsCannotBeDeleted() {
    QFETCH(QString, statement);
    const QString got = TTestChecks::ThrownMessage([&] { m_db->Execute(statement); });
    QVERIFY2(got.contains(QLatin1String("FOREIGN KEY constraint failed")), qPrintable(got));
}

void TestSchema::goodsListJoinRules() {
    const QString goods = QStringLiteral(
        "SELECT     TOP (100) PERCENT dbo.wares.Idwares FROM dbo.discount INNER JOIN dbo.wares ON "
        "dbo.discount.Iddiscount "
        "= dbo.wares.Iddiscount INNER JOIN dbo.period ON dbo.wares.Idwares = dbo.period.Idwares INNER JOIN "
        "dbo.provider ON dbo.period.Idprovider = dbo.provider.Idprovider");
    QMap<qint64, int> shown;
    const std::unique_ptr<TDbCursor> c = m_db->Select(goods);
    while (c->Next())
        ++shown[c->Value(0).Int];
    const auto periods = [&](qint64 ware) {
        return Scalar(*m_db, QStringLiteral("SELECT count(*) FROM period WHERE Idwares = %1").arg(ware))
            .toLongLong();
    };
    int twoSuppliers = 0;
    for (qint64 ware = 1; ware <= 40; ++ware) {
        const bool hasDiscount =
            !Scalar(*m_db, QStringLiteral("SELECT Iddiscount FROM wares WHERE Idwares = %1").arg(ware))
                 .isNull();
        QCOMPARE(qint64(shown.value(ware)), hasDiscount ? periods(ware) : 0);
        twoSuppliers += periods(ware) == 2;
    }
    // The demo data holds each case: wares from two suppliers, one without a period, one without a level.
    QVERIFY(twoSuppliers >= 3);
    QCOMPARE(periods(40), qint64(0));
    QVERIFY(shown.value(38) == 0 && periods(38) > 0);
}

// Tables and views with their columns, in order, as a script defines them: "wares: Idwares name ...".
QStringList Definitions(const QString& file) {
    QFile f(TTestDatabase::SchemaFolder() + QLatin1Char('/') + file);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("cannot read ") + file};
    static const QRegularExpression head(QStringLiteral("^CREATE (TABLE|VIEW) (?:dbo\\.)?\\[?(\\w+)\\]?"));
    static const QRegularExpression column(QStringLiteral("^\\s+\\[?(\\w+)\\]?\\s+\\w"));
    static const QRegularExpression alias(QStringLiteral("\\bAS \\[?([\\w -]+?)\\]?,?$"));
    QStringList out;
    QString current;
    bool view = false;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch h = head.match(line);
        if (h.hasMatch()) {
            if (!current.isEmpty())
                out << current;
            view = h.captured(1) == QLatin1String("VIEW");
            current = h.captured(2) + QLatin1Char(':');
            continue;
        }
        if (current.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("FROM")) || line.startsWith(QLatin1Char(')'))) {
            out << current;
            current.clear();
            continue;
        }
        const QRegularExpressionMatch m = view ? alias.match(line.trimmed()) : column.match(line);
        if (m.hasMatch() && m.captured(1) != QLatin1String("CONSTRAINT") &&
            m.captured(1) != QLatin1String("UNIQUE"))
            current += QLatin1Char(' ') + m.captured(1);
    }
    return out;
}

void TestSchema::serverScriptIsParallel() {
    const QStringList sqlite = Definitions(QStringLiteral("zirt.sqlite.sql"));
    QCOMPARE(sqlite.size(), 14);
    QCOMPARE(Definitions(QStringLiteral("zirt.mssql.sql")), sqlite);
}

// One probe row behind every view: a supplier, a ware, its period, an order line and a sale line of their
// own, so that each view shows it once under names no demo row has.
const QStringList kViewProbe{
    "INSERT INTO provider(name) VALUES ('Проба поставщик')",
    "INSERT INTO wares(name, description, orderprice) VALUES ('Проба товар', 'Проба описание', 100)",
    "INSERT INTO period(Idprovider, Idwares, day) VALUES ((SELECT max(Idprovider) FROM provider), "
    "(SELECT max(Idwares) FROM wares), 7)",
    "INSERT INTO [order](Idprovider, orderdate) VALUES ((SELECT max(Idprovider) FROM provider), "
    "'2026-01-02 10:00:00')",
    "INSERT INTO orderitem(idorder, idwares, warescount) VALUES ((SELECT max(Idorder) FROM [order]), "
    "(SELECT max(Idwares) FROM wares), 3)",
    "INSERT INTO manager(name) VALUES ('Проба менеджер')",
    "INSERT INTO sale(idmanager, saledate) VALUES ((SELECT max(Idmanager) FROM manager), '2026-01-03 "
    "11:00:00')",
    "INSERT INTO saleitem(idsale, idwares, quantity) VALUES ((SELECT max(Idsale) FROM sale), "
    "(SELECT max(Idwares) FROM wares), 2)"};

// Every base value a view write could reach, and every row count, as one text: a refused or unlocated
// write leaves it exactly as it was.
const char* const kViewBase =
    "SELECT (SELECT group_concat(name || '|' || ifnull(description, '') || '|' || orderprice, ';') FROM "
    "wares)"
    " || (SELECT group_concat(name, ';') FROM provider) || (SELECT group_concat(name, ';') FROM manager)"
    " || (SELECT group_concat(Idprovider || '|' || Idwares || '|' || day, ';') FROM period)"
    " || (SELECT group_concat(idorder || '|' || warescount, ';') FROM orderitem)"
    " || (SELECT group_concat(Idorder || '|' || orderdate, ';') FROM [order])"
    " || (SELECT group_concat(idsale || '|' || quantity, ';') FROM saleitem)"
    " || (SELECT group_concat(saledate, ';') FROM sale)";

void TestSchema::viewsWriteAsTheServerDoes_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("statement");  // %1: the view
    QTest::addColumn<QString>("check");      // the base value the write reaches; empty: refused or nothing
    QTest::addColumn<QString>("written");    // what check reads afterwards
    QTest::addColumn<bool>("refused");       // with the server's message
    struct TView {
        const char* Name;
        const char* Probe;     // picks the probe's view row
        const char* OneTable;  // a change of one base table's columns
        const char* Check;
        const char* Written;
        const char* TwoTables;
    };
    const TView views[] = {
        {"firms_periods", "[Фирма] = 'Проба поставщик'", "[Срок ожидания] = 9",
         "SELECT day FROM period WHERE Idwares = (SELECT max(Idwares) FROM wares)", "9",
         "[Срок ожидания] = 9, [Фирма] = 'Другая фирма'"},
        {"new_order", "Expr2 = 'Проба поставщик'", "name = 'Проба новое имя', description = 'Новое'",
         "SELECT name || '|' || description FROM wares WHERE Idwares = (SELECT max(Idwares) FROM wares)",
         "Проба новое имя|Новое", "name = 'Проба новое имя', day = 9"},
        {"View_2", "name = 'Проба товар'", "description = 'Новое описание'",
         "SELECT description FROM wares WHERE Idwares = (SELECT max(Idwares) FROM wares)", "Новое описание",
         "description = 'Новое описание', Idprovider = 1"},
        {"orders_info", "[Поставщик] = 'Проба поставщик'", "[Кол-во] = 5",
         "SELECT warescount FROM orderitem WHERE idorder = (SELECT max(Idorder) FROM [order])", "5",
         "[Кол-во] = 5, [Цена] = 1"},
        {"View_1", "[Менеджер] = 'Проба менеджер'", "[Количество] = 4",
         "SELECT quantity FROM saleitem WHERE idsale = (SELECT max(Idsale) FROM sale)", "4",
         "[Количество] = 4, [Менеджер] = 'Другой менеджер'"},
    };
    for (const TView& v : views) {
        const QString where = QStringLiteral(" WHERE ") + QString::fromUtf8(v.Probe);
        QTest::addRow("%s: one base table", v.Name)
            << v.Name << QStringLiteral("UPDATE %1 SET ") + QString::fromUtf8(v.OneTable) + where
            << QString::fromUtf8(v.Check) << QString::fromUtf8(v.Written) << false;
        QTest::addRow("%s: two base tables", v.Name)
            << v.Name << QStringLiteral("UPDATE %1 SET ") + QString::fromUtf8(v.TwoTables) + where
            << QString() << QString() << true;
        QTest::addRow("%s: delete", v.Name)
            << v.Name << QStringLiteral("DELETE FROM %1") + where << QString() << QString() << true;
        QTest::addRow("%s: insert", v.Name)
            << v.Name << QStringLiteral("INSERT INTO %1 SELECT * FROM %1") + where << QString() << QString()
            << true;
    }
    // Old values that match two base rows locate none: nothing is written, nothing refused.
    QTest::newRow("View_1: two identical sale lines")
        << "View_1"
        << "INSERT INTO saleitem(idsale, idwares, quantity) SELECT idsale, idwares, quantity FROM saleitem "
           "WHERE idsale = (SELECT max(Idsale) FROM sale); UPDATE %1 SET [Количество] = 4 WHERE [Менеджер] = "
           "'Проба менеджер'"
        << QString() << QString() << false;
}

void TestSchema::viewsWriteAsTheServerDoes() {
    QFETCH(QString, view);
    QFETCH(QString, statement);
    QFETCH(QString, check);
    QFETCH(QString, written);
    QFETCH(bool, refused);
    for (const QString& probe : kViewProbe)
        m_db->Execute(probe);
    QStringList statements = statement.arg(view).split(QStringLiteral("; "));
    const QString write = statements.takeLast();
    for (const QString& before : statements)
        m_db->Execute(before);
    const QString base = Scalar(*m_db, QString::fromLatin1(kViewBase)).toString();
    const QString got = TTestChecks::ThrownMessage([&] { m_db->Execute(write); });
    if (refused)
        QVERIFY2(
            got.contains(QStringLiteral("View or function '%1' is not updatable because the modification "
                                        "affects multiple base tables.")
                             .arg(view)),
            qPrintable(got));
    else
        QCOMPARE(got, kNoFailure);
    if (check.isEmpty())
        QCOMPARE(Scalar(*m_db, QString::fromLatin1(kViewBase)).toString(), base);
    else
        QCOMPARE(Scalar(*m_db, check).toString(), written);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
