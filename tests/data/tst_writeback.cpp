// Write-back of edited, inserted and deleted rows: by key for a table, by every original value for
// a view, per base table for a join (exactly one row or nothing), refusals keeping what was typed.
#include <QDateTime>
#include <QObject>
#include <QTest>

#include "Exception.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TDataTestDatabase.h"
#include "TField.h"
#include "TWriteBack.h"

namespace {

const QString kNotLocated = QStringLiteral(
    "Row cannot be located for updating. Some values may have been changed since it was last read.");

// The goods list as the main window reads it.
QStringList GoodsList() {
    return {QStringLiteral(
                "SELECT     TOP (100) PERCENT dbo.wares.name AS Наименование, dbo.wares.description AS "
                "Описание, dbo.provider.name AS Поставщик, "),
            QStringLiteral("dbo.wares.orderprice AS [Цена закупа], dbo.wares.saleprice AS [Цена продажи], "
                           "dbo.discount.[percent] AS [Скидка (%)]"),
            QStringLiteral("FROM         dbo.discount INNER JOIN"),
            QStringLiteral("dbo.wares ON dbo.discount.Iddiscount = dbo.wares.Iddiscount INNER JOIN"),
            QStringLiteral("dbo.period ON dbo.wares.Idwares = dbo.period.Idwares INNER JOIN"),
            QStringLiteral("dbo.provider ON dbo.period.Idprovider = dbo.provider.Idprovider"),
            QString(),
            QStringLiteral("ORDER BY Наименование ASC")};
}

}  // namespace

class TstWriteBack : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TDataTestDatabase> m_db;
    std::unique_ptr<QObject> m_owner;
    TADOConnection* m_connection = nullptr;

    TADOTable* Table(const QString& name) {
        auto* table = new TADOTable(m_owner.get(), QStringLiteral("ADOTable3"));
        table->SetConnection(m_connection);
        table->SetTableName(name);
        table->Open();
        return table;
    }
    TADOQuery* Query(const QStringList& lines) {
        auto* query = new TADOQuery(m_owner.get(), QStringLiteral("ADOQuery1"));
        query->SetConnection(m_connection);
        for (const QString& line : lines)
            query->SQL().Add(line);
        query->Open();
        return query;
    }
    int Count(const QString& where) {
        return m_db->Scalar(QStringLiteral("select count(*) from ") + where).toInt();
    }
    // Moves to the first row whose column shows the text.
    static void Locate(TDataSet* dataSet, const QString& column, const QString& text) {
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
            if (dataSet->FieldByName(column)->AsString() == text)
                return;
        }
        QFAIL(qPrintable(QStringLiteral("no row with %1 = %2").arg(column, text)));
    }

private Q_SLOTS:
    void init() {
        m_db = std::make_unique<TDataTestDatabase>();
        m_owner = std::make_unique<QObject>();
        m_connection = new TADOConnection(m_owner.get(), QStringLiteral("ADOConnection1"));
        m_connection->SetConnectionString(TTestDatabase::ConnectionString());
    }
    void cleanup() {
        m_owner.reset();
        m_db.reset();
    }

    void tableRowByKey() {
        TADOTable* t = Table(QStringLiteral("provider"));
        QVERIFY(t->CanModify());
        t->SetRecNo(2);
        t->Edit();
        t->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("ООО «О'Коннор»"));
        t->Post();
        QCOMPARE(t->State(), dsBrowse);
        QCOMPARE(m_db->Scalar(QStringLiteral("select name from provider where Idprovider = 3")).toString(),
                 QStringLiteral("ООО «О'Коннор»"));
        QCOMPARE(Count(QStringLiteral("provider where name = 'ООО «О''Коннор»'")), 1);
    }

    void tableRowGoneIsNotLocated() {
        TADOTable* t = Table(QStringLiteral("manager"));
        m_db->Execute(QStringLiteral("insert into manager (name) values ('Временный')"));
        t->Close();
        t->Open();
        t->Last();
        m_db->Execute(QStringLiteral("delete from manager where name = 'Временный'"));
        t->Edit();
        t->FieldByName(QStringLiteral("phone"))->SetAsString(QStringLiteral("1"));
        try {
            t->Post();
            QFAIL("posted");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(), kNotLocated);
        }
        QCOMPARE(t->State(), dsEdit);
    }

    void viewRefusedByTheDatabase() {
        TADOTable* t = Table(QStringLiteral("firms_periods"));
        QVERIFY(t->CanModify());
        const QString before = t->FieldByName(QStringLiteral("Фирма"))->AsString();
        t->Edit();
        t->FieldByName(QStringLiteral("Фирма"))->SetAsString(QStringLiteral("Другая фирма"));
        try {
            t->Post();
            QFAIL("posted");
        } catch (const EDatabaseError& e) {
            // The database's own words, not ours.
            QVERIFY2(e.Message() != kNotLocated, qPrintable(e.Message()));
            QVERIFY2(e.Message().contains(QStringLiteral("view"), Qt::CaseInsensitive),
                     qPrintable(e.Message()));
        }
        QCOMPARE(t->State(), dsEdit);
        QCOMPARE(t->FieldByName(QStringLiteral("Фирма"))->AsString(), QStringLiteral("Другая фирма"));
        QCOMPARE(Count(QStringLiteral("provider where name = 'Другая фирма'")), 0);
        t->Cancel();
        QCOMPARE(t->FieldByName(QStringLiteral("Фирма"))->AsString(), before);
    }

    void joinColumnReachesExactlyOneRow_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("check");  // a count that must become 1
        QTest::newRow("ware's sale price") << "Цена продажи"
                                           << "777"
                                           << "wares where saleprice = 777";
        QTest::newRow("ware's name") << "Наименование"
                                     << "Тостер «Заря»"
                                     << "wares where name = 'Тостер «Заря»'";
        QTest::newRow("supplier's name") << "Поставщик"
                                         << "ООО «Новое имя»"
                                         << "provider where name = 'ООО «Новое имя»'";
    }
    void joinColumnReachesExactlyOneRow() {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, check);
        TADOQuery* q = Query(GoodsList());
        QVERIFY(q->CanModify());
        q->SetRecNo(3);
        const int wares = Count(QStringLiteral("wares"));
        const QString otherName = q->FieldByName(QStringLiteral("Наименование"))->AsString();
        q->Edit();
        q->FieldByName(column)->SetAsString(text);
        q->Post();
        QCOMPARE(Count(check), 1);
        QCOMPARE(Count(QStringLiteral("wares")), wares);
        QCOMPARE(q->FieldByName(column)->AsString(), text);
        if (column != QStringLiteral("Наименование"))
            QCOMPARE(q->FieldByName(QStringLiteral("Наименование"))->AsString(), otherName);
    }

    void ambiguousMatchWritesNothing() {
        // Two wares that the goods list cannot tell apart.
        m_db->Execute(
            QStringLiteral("insert into wares (name, description, orderprice, saleprice, Iddiscount) "
                           "values ('Утюг', 'Двойник', 100, 120, 1), ('Утюг', 'Двойник', 100, 120, 1)"));
        m_db->Execute(
            QStringLiteral("insert into period (Idprovider, Idwares, day) select 1, Idwares, 3 from wares "
                           "where description = 'Двойник'"));
        TADOQuery* q = Query(GoodsList());
        Locate(q, QStringLiteral("Описание"), QStringLiteral("Двойник"));
        q->Edit();
        q->FieldByName(QStringLiteral("Цена продажи"))->SetAsString(QStringLiteral("99"));
        try {
            q->Post();
            QFAIL("posted");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(), kNotLocated);
        }
        QCOMPARE(Count(QStringLiteral("wares where description = 'Двойник' and saleprice = 120")), 2);
        QCOMPARE(q->State(), dsEdit);
        QCOMPARE(q->FieldByName(QStringLiteral("Цена продажи"))->AsString(), QStringLiteral("99"));
    }

    void joinChangeRefusedByOneTableWritesNothing() {
        // The ware's new name would be taken; the supplier's empty name is refused (NOT NULL).
        TADOQuery* q = Query(GoodsList());
        q->SetRecNo(2);
        const QString ware = q->FieldByName(QStringLiteral("Наименование"))->AsString();
        q->Edit();
        q->FieldByName(QStringLiteral("Наименование"))->SetAsString(QStringLiteral("Чайник «Новый»"));
        q->FieldByName(QStringLiteral("Поставщик"))->Clear();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->Post());
        QCOMPARE(Count(QStringLiteral("wares where name = 'Чайник «Новый»'")), 0);
        QCOMPARE(m_db->Scalar(QStringLiteral("select count(*) from wares where name = ?"), {ware}).toInt(),
                 1);
        QCOMPARE(q->State(), dsEdit);
        QCOMPARE(q->FieldByName(QStringLiteral("Наименование"))->AsString(),
                 QStringLiteral("Чайник «Новый»"));
        // Corrected, the same change goes through whole.
        q->FieldByName(QStringLiteral("Поставщик"))->SetAsString(QStringLiteral("ООО «Исправлено»"));
        q->Post();
        QCOMPARE(Count(QStringLiteral("wares where name = 'Чайник «Новый»'")), 1);
        QCOMPARE(Count(QStringLiteral("provider where name = 'ООО «Исправлено»'")), 1);
    }

    void joinRefusesInsertAndDelete() {
        TADOQuery* q = Query(GoodsList());
        const int rows = q->RecordCount();
        const int periods = Count(QStringLiteral("period"));
        try {
            q->Insert();
            QFAIL("inserting");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(), TWriteBack::JoinInsertDeleteMessage());
        }
        QCOMPARE(q->State(), dsBrowse);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->Delete());
        QCOMPARE(q->RecordCount(), rows);
        QCOMPARE(Count(QStringLiteral("period")), periods);
    }

    void readOnlyWithoutBaseColumns() {
        TADOQuery* q = Query({QStringLiteral("select count(*) as n, max(name) as last from provider")});
        QVERIFY(!q->CanModify());
        QVERIFY_THROWS_EXCEPTION(EInvalidOperation, q->Edit());
    }

    void refusedPostKeepsTheTypedValues() {
        TADOTable* t = Table(QStringLiteral("wares"));
        t->SetRecNo(1);
        const int id = int(t->FieldByName(QStringLiteral("Idwares"))->AsInteger());
        const double price = t->FieldByName(QStringLiteral("orderprice"))->AsFloat();
        t->Edit();
        t->FieldByName(QStringLiteral("description"))->SetAsString(QStringLiteral("Новое описание"));
        t->FieldByName(QStringLiteral("orderprice"))
            ->SetAsString(QStringLiteral("-5"));  // the CHECK refuses it
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t->Post());
        QCOMPARE(t->State(), dsEdit);
        QCOMPARE(t->FieldByName(QStringLiteral("orderprice"))->AsString(), QStringLiteral("-5"));
        QCOMPARE(t->FieldByName(QStringLiteral("description"))->AsString(), QStringLiteral("Новое описание"));
        QCOMPARE(
            m_db->Scalar(QStringLiteral("select orderprice from wares where Idwares = ?"), {id}).toDouble(),
            price);
        // Leaving the row tries to post again and is refused again: the row stays.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t->Next());
        QCOMPARE(t->RecNo(), 1);
        t->FieldByName(QStringLiteral("orderprice"))->SetAsString(QStringLiteral("5"));
        t->Next();
        QCOMPARE(
            m_db->Scalar(QStringLiteral("select orderprice from wares where Idwares = ?"), {id}).toDouble(),
            5.0);
    }

    void dateTypedAsShown_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("day") << "01.02.2025"
                             << "2025-02-01 00:00:00";
        QTest::newRow("day and time as shown") << "05.03.2024 9:05:07"
                                               << "2024-03-05 09:05:07";
        QTest::newRow("ISO") << "2024-12-31 23:59:00"
                             << "2024-12-31 23:59:00";
    }
    void dateTypedAsShown() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        TADOTable* t = Table(QStringLiteral("[order]"));
        const qint64 id = t->FieldByName(QStringLiteral("Idorder"))->AsInteger();
        t->Edit();
        t->FieldByName(QStringLiteral("orderdate"))->SetAsString(typed);
        t->Post();
        QCOMPARE(
            m_db->Scalar(QStringLiteral("select orderdate from [order] where Idorder = ?"), {id}).toString(),
            stored);
        QCOMPARE(t->FieldByName(QStringLiteral("orderdate"))->Value().toDateTime(),
                 QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }

    void insertedRowGetsItsKey() {
        TADOTable* t = Table(QStringLiteral("wares"));
        const int rows = t->RecordCount();
        t->Append();
        QVERIFY(t->FieldByName(QStringLiteral("Idwares"))->IsNull());
        t->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Миксер"));
        t->FieldByName(QStringLiteral("orderprice"))->SetAsString(QStringLiteral("1000"));
        t->FieldByName(QStringLiteral("Iddiscount"))->SetAsString(QStringLiteral("1"));
        t->Post();
        QCOMPARE(t->RecordCount(), rows + 1);
        QCOMPARE(t->FieldByName(QStringLiteral("Idwares"))->AsInteger(),
                 m_db->Scalar(QStringLiteral("select max(Idwares) from wares")).toLongLong());
        // What the database filled in shows at once (the sale price from the purchase price).
        QCOMPARE(t->FieldByName(QStringLiteral("saleprice"))->AsFloat(), 1250.0);
    }

    void untouchedNewRowIsCancelledOnLeaving() {
        TADOTable* t = Table(QStringLiteral("discount"));
        const int rows = t->RecordCount();
        t->SetRecNo(1);
        t->Insert();
        QCOMPARE(t->RecordCount(), rows + 1);
        QCOMPARE(t->RecNo(), 1);
        t->Next();
        QCOMPARE(t->RecordCount(), rows);
        QCOMPARE(Count(QStringLiteral("discount")), rows);
    }

    void deleteByKeyAndRefusedDelete() {
        TADOTable* t = Table(QStringLiteral("provider"));
        m_db->Execute(QStringLiteral("insert into provider (name) values ('Без заказов')"));
        t->Close();
        t->Open();
        const int rows = t->RecordCount();
        // Referred to by orders: the database refuses and the row stays.
        t->SetRecNo(0);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t->Delete());
        QCOMPARE(t->RecordCount(), rows);
        QCOMPARE(t->FieldByName(QStringLiteral("Idprovider"))->AsInteger(), 1);
        t->Last();
        t->Delete();
        QCOMPARE(t->RecordCount(), rows - 1);
        QCOMPARE(t->RecNo(), rows - 2);  // the new last row
        QCOMPARE(Count(QStringLiteral("provider where name = 'Без заказов'")), 0);
    }

    void deleteMiddleRowMakesTheNextCurrent() {
        TADOTable* t = Table(QStringLiteral("discount"));
        m_db->Execute(QStringLiteral("insert into discount ([percent]) values (33), (44)"));
        t->Close();
        t->Open();
        Locate(t, QStringLiteral("percent"), QStringLiteral("33"));
        t->Delete();
        QCOMPARE(t->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("44"));
    }
};

QTEST_MAIN(TstWriteBack)
#include "tst_writeback.moc"
