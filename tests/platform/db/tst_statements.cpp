// The data module's own statements, text for text, through both providers: the embedded engine and
// ODBC (against the SQLite ODBC driver, so the QODBC path runs for real). Relies on TTestDatabase.
#include <QtTest>

#include <memory>

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TRussianCollation.h"
#include "TModuleStatements.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"

namespace {

// Lines joined as the data module joins them: each followed by CR LF.
QString Joined(const QStringList& lines) {
    QString s;
    for (const QString& l : lines)
        s += l + QStringLiteral("\r\n");
    return s;
}

// The module's goods list with a sort choice's ordering line, and its price list, as it sends them.
QString GoodsList(const QString& orderBy) {
    return TModuleStatements::Text(TModuleStatements::GoodsList(orderBy));
}

QString PriceList() {
    return TModuleStatements::Text(TModuleStatements::Lines(QStringLiteral("ADOQuery11")));
}

QString Text(const TDbValue& v) {
    return v.Kind == TDbValue::Text ? QString::fromUtf8(v.Utf8, v.Length) : QString();
}

struct TResult {
    QStringList Names;
    QVector<QVector<QVariant>> Rows;
};

TResult Fetch(TDbConnection& db, const QString& statement) {
    TResult r;
    const std::unique_ptr<TDbCursor> c = db.Select(statement);
    for (const TDbColumn& col : c->Columns())
        r.Names << col.Name;
    while (c->Next()) {
        QVector<QVariant> row;
        for (int i = 0; i < r.Names.size(); ++i) {
            const TDbValue v = c->Value(i);
            switch (v.Kind) {
                case TDbValue::Null:
                    row << QVariant();
                    break;
                case TDbValue::Integer:
                    row << QVariant(v.Int);
                    break;
                case TDbValue::Double:
                    row << QVariant(v.Real);
                    break;
                case TDbValue::Text:
                    row << QVariant(Text(v));
                    break;
            }
        }
        r.Rows << row;
    }
    return r;
}

// One row per period whose ware has a discount level (the demo data's water heater has none).
int ListedPeriods(TDbConnection& db) {
    const TResult r =
        Fetch(db, QStringLiteral("SELECT count(*) FROM period p INNER JOIN wares w ON w.Idwares = "
                                 "p.Idwares WHERE w.Iddiscount IS NOT NULL"));
    return int(r.Rows[0][0].toLongLong());
}

}  // namespace

class TestStatements : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void goodsList_data();
    void goodsList();
    void goodsListSortsRussianWithoutCase_data();
    void goodsListSortsRussianWithoutCase();
    void newestSaleFirst_data();
    void newestSaleFirst();
    void insertTakesItsOwnIdentity_data();
    void insertTakesItsOwnIdentity();
    void priceList_data();
    void priceList();
    void insertHeads_data();
    void insertHeads();
    void valuesStayText_data();
    void valuesStayText();
    void nulCharacterIsRefusedPlainly_data();
    void nulCharacterIsRefusedPlainly();

private:
    void AddProviders();
    TDbConnection& Db(const QString& provider);

    std::unique_ptr<TTestDatabase> m_database;
    std::unique_ptr<TDbConnection> m_embedded;
    std::unique_ptr<TDbConnection> m_odbc;
};

void TestStatements::initTestCase() {
    m_database = std::make_unique<TTestDatabase>();
    m_embedded = std::make_unique<TDbConnection>(TTestDatabase::ConnectionString());
    m_odbc = std::make_unique<TDbConnection>(m_database->OdbcConnectionString());
    m_embedded->Open();
    m_odbc->Open();
    QVERIFY(m_embedded->IsEmbedded());
    QVERIFY(!m_odbc->IsEmbedded());
}

void TestStatements::AddProviders() {
    QTest::addColumn<QString>("provider");
}

TDbConnection& TestStatements::Db(const QString& provider) {
    return provider == QLatin1String("embedded") ? *m_embedded : *m_odbc;
}

void TestStatements::goodsList_data() {
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("orderBy");
    QTest::addColumn<int>("sortColumn");  // -1: no order asked
    QTest::addColumn<bool>("descending");
    const struct {
        const char* Tag;
        const char* OrderBy;
        int Column;
        bool Descending;
    } lines[] = {
        {"none", "", -1, false},
        {"name desc", "ORDER BY Наименование  DESC", 0, true},
        {"name asc", "ORDER BY Наименование ASC", 0, false},
        {"description desc", "ORDER BY description DESC", 1, true},
        {"description asc", "ORDER BY description ASC", 1, false},
        {"supplier desc", "ORDER BY  Поставщик DESC", 2, true},
        {"supplier asc", "ORDER BY  Поставщик  ASC", 2, false},
        {"saleprice desc", "ORDER BY saleprice DESC", 4, true},
        {"saleprice asc", "ORDER BY saleprice ASC", 4, false},
    };
    for (const char* provider : {"embedded", "odbc"}) {
        for (const auto& l : lines)
            QTest::addRow("%s: %s", provider, l.Tag)
                << QString::fromLatin1(provider) << QString::fromUtf8(l.OrderBy) << l.Column << l.Descending;
    }
}

void TestStatements::goodsList() {
    QFETCH(QString, provider);
    QFETCH(QString, orderBy);
    QFETCH(int, sortColumn);
    QFETCH(bool, descending);
    const TResult r = Fetch(Db(provider), GoodsList(orderBy));
    QCOMPARE(r.Names, (QStringList{QStringLiteral("Наименование"), QStringLiteral("Описание"),
                                   QStringLiteral("Поставщик"), QStringLiteral("Цена закупа"),
                                   QStringLiteral("Цена продажи"), QStringLiteral("Скидка (%)")}));
    QCOMPARE(r.Rows.size(), ListedPeriods(Db(provider)));
    if (sortColumn < 0)
        return;
    for (int i = 1; i < r.Rows.size(); ++i) {
        const QVariant& a = r.Rows[i - 1][sortColumn];
        const QVariant& b = r.Rows[i][sortColumn];
        int order;
        if (a.typeId() == QMetaType::QString) {
            // The ODBC test database has no Russian collation; its order is SQLite's own, by bytes.
            const QByteArray ua = a.toString().toUtf8(), ub = b.toString().toUtf8();
            order = provider == QLatin1String("embedded") ? CompareRussian(ua, ub)
                                                          : (ua < ub    ? -1
                                                             : ua == ub ? 0
                                                                        : 1);
        } else {
            order = a.toDouble() < b.toDouble() ? -1 : a.toDouble() == b.toDouble() ? 0 : 1;
        }
        if (descending ? order < 0 : order > 0)
            QFAIL(qPrintable(QStringLiteral("rows %1 and %2 out of order: %3, %4")
                                 .arg(i - 1)
                                 .arg(i)
                                 .arg(a.toString(), b.toString())));
    }
}

void TestStatements::goodsListSortsRussianWithoutCase_data() {
    QTest::addColumn<QString>("orderBy");
    QTest::newRow("ascending") << QStringLiteral("ORDER BY Наименование ASC");
    QTest::newRow("descending") << QStringLiteral("ORDER BY Наименование  DESC");
}

void TestStatements::goodsListSortsRussianWithoutCase() {
    QFETCH(QString, orderBy);
    // A separate database, so the extra wares do not disturb the other cases.
    TTestDatabase database(TTestDatabase::SchemaOnly);
    TDbConnection db(TTestDatabase::ConnectionString());
    db.Execute(QStringLiteral(
        "INSERT into provider([name],agentname, phone)\r\nVALUES ('Поставщик', 'Агент', '1')"));
    db.Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (5)"));
    const QStringList names{QStringLiteral("ёлка искусственная"),
                            QStringLiteral("Апельсиновый сок"),
                            QStringLiteral("яблоко"),
                            QStringLiteral("Ель"),
                            QStringLiteral("банан"),
                            QStringLiteral("Ёж игрушечный"),
                            QStringLiteral("Zanussi"),
                            QStringLiteral("Ящик")};
    for (const QString& n : names) {
        const QVariant ware =
            db.ExecuteInsert(QStringLiteral("INSERT into wares([name],description,orderprice,iddiscount)\r\n"
                                            "VALUES (?, '', '10', '1')"),
                             {n})
                .Id;
        db.Execute(QStringLiteral("insert into period(idprovider,idwares,day)\r\nVALUES ('1', ?, '3')"),
                   {ware});
    }
    const TResult r = Fetch(db, GoodsList(orderBy));
    QStringList got;
    for (const auto& row : r.Rows)
        got << row[0].toString();
    // Russian order, case and ё not counting at first (ж before л, к before ь); Latin after Cyrillic.
    QStringList expected{QStringLiteral("Апельсиновый сок"),
                         QStringLiteral("банан"),
                         QStringLiteral("Ёж игрушечный"),
                         QStringLiteral("ёлка искусственная"),
                         QStringLiteral("Ель"),
                         QStringLiteral("яблоко"),
                         QStringLiteral("Ящик"),
                         QStringLiteral("Zanussi")};
    if (orderBy.contains(QLatin1String("DESC")))
        std::reverse(expected.begin(), expected.end());
    QCOMPARE(got, expected);
}

void TestStatements::newestSaleFirst_data() {
    AddProviders();
    QTest::newRow("embedded") << QStringLiteral("embedded");
    QTest::newRow("odbc") << QStringLiteral("odbc");
}

void TestStatements::newestSaleFirst() {
    QFETCH(QString, provider);
    TDbConnection& db = Db(provider);
    const QString adoQuery9 =
        Joined({QStringLiteral("select * from sale"), QStringLiteral("order by idsale desc")});
    const TResult before = Fetch(db, adoQuery9);
    QVERIFY(!before.Rows.isEmpty());
    QCOMPARE(before.Names.first().toLower(), QStringLiteral("idsale"));
    const QVariant key =
        db.ExecuteInsert(Joined({QStringLiteral("insert into sale(idmanager)"), QStringLiteral("VALUES ('2')")}))
            .Id;
    const TResult after = Fetch(db, adoQuery9);
    QCOMPARE(after.Rows.size(), before.Rows.size() + 1);
    QCOMPARE(after.Rows.first().first().toLongLong(), key.toLongLong());
    QVERIFY(key.toLongLong() > before.Rows.first().first().toLongLong());
}

void TestStatements::insertTakesItsOwnIdentity_data() {
    AddProviders();
    QTest::addColumn<QString>("trigger");  // on sale, for the case
    QTest::addColumn<bool>("otherInserts");
    QTest::addColumn<bool>("written");
    for (const char* provider : {"embedded", "odbc"}) {
        QTest::addRow("%s: alone", provider) << provider << QString() << false << true;
        QTest::addRow("%s: another program's sale after it", provider) << provider << QString() << true << true;
        QTest::addRow("%s: a trigger inserting elsewhere", provider)
            << provider << "AFTER INSERT ON sale BEGIN INSERT INTO manager (name) VALUES ('Отметка'); END" << false
            << true;
        QTest::addRow("%s: dropped by a trigger", provider)
            << provider << "BEFORE INSERT ON sale BEGIN SELECT RAISE(IGNORE); END" << false << false;
    }
}

// The identity an insert reports is its own: not a later one of another connection, not the row a
// trigger inserted, and none at all (not an earlier insert's) when it wrote nothing.
void TestStatements::insertTakesItsOwnIdentity() {
    QFETCH(QString, provider);
    QFETCH(QString, trigger);
    QFETCH(bool, otherInserts);
    QFETCH(bool, written);
    TDbConnection& db = Db(provider);
    TDbConnection other(provider == QLatin1String("embedded") ? TTestDatabase::ConnectionString()
                                                              : m_database->OdbcConnectionString());
    if (!trigger.isEmpty())
        db.Execute(QStringLiteral("CREATE TRIGGER sale_probe ") + trigger);
    const auto dropTrigger = qScopeGuard([&] { db.Execute(QStringLiteral("DROP TRIGGER IF EXISTS sale_probe")); });
    const QString header = QStringLiteral("insert into sale(idmanager)\r\nVALUES ('%1')");
    QVERIFY(!db.ExecuteInsert(QStringLiteral("INSERT into manager([name], phone)\r\nVALUES ('Раньше', '1')"))
                 .Id.isNull());
    const TDbInserted mine = db.ExecuteInsert(header.arg(2));
    if (otherInserts)
        QVERIFY(!other.ExecuteInsert(header.arg(3)).Id.isNull());
    if (!written) {
        QCOMPARE(mine.Rows, qint64(0));
        QVERIFY(mine.Id.isNull());
        return;
    }
    QCOMPARE(mine.Rows, qint64(1));
    const TResult sale =
        Fetch(db, QStringLiteral("SELECT idmanager FROM sale WHERE Idsale = %1").arg(mine.Id.toLongLong()));
    QCOMPARE(sale.Rows.size(), 1);
    QCOMPARE(sale.Rows.first().first().toLongLong(), 2);
}

void TestStatements::priceList_data() {
    newestSaleFirst_data();
}

void TestStatements::priceList() {
    QFETCH(QString, provider);
    const TResult r = Fetch(Db(provider), PriceList());
    QCOMPARE(r.Names, (QStringList{QStringLiteral("name"), QStringLiteral("description"),
                                   QStringLiteral("saleprice"), QStringLiteral("percent")}));
    QCOMPARE(r.Rows.size(), ListedPeriods(Db(provider)));
}

void TestStatements::insertHeads_data() {
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("values");
    QTest::addColumn<int>("emptyLines");
    QTest::addColumn<QString>("table");
    const struct {
        const char* Head;
        const char* Values;
        int EmptyLines;
        const char* Table;
    } heads[] = {
        {"INSERT into provider([name],agentname, phone)",
         "VALUES ('ООО «Ромашка»', 'Сидоров П. П.', '8-495-000-00-00')", 0, "provider"},
        {"INSERT into manager([name], phone)", "VALUES ('Кузьмина Ольга', '8-900-000-00-00')", 0, "manager"},
        {"INSERT into wares([name],description,orderprice,iddiscount)",
         "VALUES ('Плеер', 'MP3', '1500', '2')", 0, "wares"},
        {"insert into period(idprovider,idwares,day)", "VALUES ('2','40','6')", 0, "period"},
        {"INSERT into [order](idprovider)", "VALUES ('3')", 0, "[order]"},
        {"INSERT into orderitem(idorder,idwares,warescount)", "VALUES ('1','2','7')", 1, "orderitem"},
        {"insert into sale(idmanager)", "VALUES ('1')", 0, "sale"},
        {"insert into saleitem(idsale,idwares,quantity)", "VALUES ('1','3','2')", 2, "saleitem"},
    };
    for (const char* provider : {"embedded", "odbc"}) {
        for (const auto& h : heads)
            QTest::addRow("%s: %s", provider, h.Table)
                << QString::fromLatin1(provider) << QString::fromUtf8(h.Head) << QString::fromUtf8(h.Values)
                << h.EmptyLines << QString::fromLatin1(h.Table);
    }
}

void TestStatements::insertHeads() {
    QFETCH(QString, provider);
    QFETCH(QString, head);
    QFETCH(QString, values);
    QFETCH(int, emptyLines);
    QFETCH(QString, table);
    TDbConnection& db = Db(provider);
    const auto count = [&] {
        return Fetch(db, QStringLiteral("SELECT count(*) FROM ") + table).Rows[0][0].toLongLong();
    };
    const qint64 before = count();
    QStringList lines{head, values};
    for (int i = 0; i < emptyLines; ++i)
        lines << QString();
    QCOMPARE(db.Execute(Joined(lines)), qint64(1));
    QCOMPARE(count(), before + 1);
}

void TestStatements::valuesStayText_data() {
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("value");
    for (const char* provider : {"embedded", "odbc"}) {
        QTest::addRow("%s: apostrophe", provider)
            << QString::fromLatin1(provider) << QStringLiteral("ООО \"Д'Артаньян\"");
        QTest::addRow("%s: semicolon", provider)
            << QString::fromLatin1(provider) << QStringLiteral("Рога; Копыта");
        QTest::addRow("%s: injection", provider)
            << QString::fromLatin1(provider) << QStringLiteral("'); DROP TABLE wares; --");
        QTest::addRow("%s: brackets and dbo", provider)
            << QString::fromLatin1(provider) << QStringLiteral("TOP (100) PERCENT dbo.wares [x]");
    }
}

void TestStatements::valuesStayText() {
    QFETCH(QString, provider);
    QFETCH(QString, value);
    TDbConnection& db = Db(provider);
    // The values clause as a statement template writes it: each apostrophe doubled.
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    const QVariant key = db.ExecuteInsert(Joined(
                                  {QStringLiteral("INSERT into manager([name], phone)"),
                                   QStringLiteral("VALUES ('") + quoted + QStringLiteral("', '") + quoted +
                                       QStringLiteral("')")}))
                             .Id;
    const TResult r = Fetch(
        db, QStringLiteral("SELECT name, phone FROM manager WHERE Idmanager = %1").arg(key.toLongLong()));
    QCOMPARE(r.Rows.size(), 1);
    QCOMPARE(r.Rows[0][0].toString(), value);
    QCOMPARE(r.Rows[0][1].toString(), value);
    QCOMPARE(db.ObjectKind(QStringLiteral("wares")), TDbObjectKind::Table);
}

void TestStatements::nulCharacterIsRefusedPlainly_data() {
    QTest::addColumn<QString>("provider");
    QTest::addColumn<bool>("bound");  // as the grid writes (a parameter) or a template (a literal)
    for (const char* provider : {"embedded", "odbc"}) {
        QTest::addRow("%s: literal", provider) << QString::fromLatin1(provider) << false;
        QTest::addRow("%s: bound parameter", provider) << QString::fromLatin1(provider) << true;
    }
}

void TestStatements::nulCharacterIsRefusedPlainly() {
    QFETCH(QString, provider);
    QFETCH(bool, bound);
    TDbConnection& db = Db(provider);
    const auto count = [&] { return Fetch(db, QStringLiteral("SELECT count(*) FROM manager")).Rows[0][0]; };
    const QVariant before = count();
    const QString name = QStringLiteral("Иванов") + QChar(0) + QStringLiteral("'5");
    const QString message = TTestChecks::ThrownMessage([&] {
        if (bound) {
            db.Execute(QStringLiteral("INSERT into manager([name], phone)\r\nVALUES (?, ?)"),
                       {name, QStringLiteral("5")});
        } else {
            QString quoted = name;
            quoted.replace(QLatin1Char('\''), QLatin1String("''"));
            db.Execute(Joined({QStringLiteral("INSERT into manager([name], phone)"),
                               QStringLiteral("VALUES ('") + quoted + QStringLiteral("', '5')")}));
        }
    });
    QCOMPARE(message, QStringLiteral("A value holds a character that the database cannot take (the NUL "
                                     "character, code 0); nothing was read or written. Remove that "
                                     "character and try again."));
    QCOMPARE(count(), before);
}

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
