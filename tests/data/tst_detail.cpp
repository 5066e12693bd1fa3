// The detail chain ADOTable4 -> ADOTable6 -> ADOTable11 of the data module: following the current
// supplier without asking the database, the condition already in force moving nothing, a closed
// master showing every row, and what a new order or sale shows during the run.
#include <QObject>
#include <QSet>
#include <QTest>

#include "Exception.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TDataLink.h"
#include "TDataSource.h"
#include "TDataModuleFixture.h"
#include "TField.h"
#include "TTestChecks.h"
#include "Unit3.h"

namespace {

QSet<qint64> Column(TDataSet* dataSet, const QString& name) {
    QSet<qint64> values;
    const int field = dataSet->FieldByName(name)->Index();
    for (int row = 0; row < dataSet->RecordCount(); ++row)
        values.insert(dataSet->ValueAt(row, field).toLongLong());
    return values;
}

qint64 Id(TDataSet* dataSet, const char* column) {
    return dataSet->FieldByName(QString::fromLatin1(column))->AsInteger();
}

class TCountingLink : public TDataLink {
public:
    void DataEvent(TDataEvent event, int info) override { ++Count; }
    int Count = 0;
};

}  // namespace

class TstDetail : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TDataModuleFixture> m_f;
    TDataModule3* m_module = nullptr;

    void Create() {
        m_module = m_f->Create();
        QCOMPARE(m_f->Boxes.Seen().size(), 0);
    }
    // Moves the supplier picker's data set to the supplier with this key.
    void ChooseSupplier(qint64 id) {
        TADOTable* suppliers = m_module->ADOTable4;
        for (suppliers->First(); !suppliers->Eof(); suppliers->Next()) {
            if (Id(suppliers, "Idprovider") == id)
                return;
        }
        QFAIL("no such supplier");
    }

private Q_SLOTS:
    void init() { m_f = std::make_unique<TDataModuleFixture>(); }
    void cleanup() {
        m_module = nullptr;
        m_f.reset();
    }

    void detailsFollowTheSupplier_data() {
        QTest::addColumn<qint64>("supplier");
        for (qint64 id = 1; id <= 8; ++id)
            QTest::newRow(qPrintable(QStringLiteral("supplier %1").arg(id))) << id;
    }
    void detailsFollowTheSupplier() {
        QFETCH(qint64, supplier);
        Create();
        const qint64 requests = m_module->ADOConnection1->DatabaseRequests();
        ChooseSupplier(supplier);
        QCOMPARE(m_module->ADOConnection1->DatabaseRequests(), requests);  // nothing is read again

        QSet<qint64> orders;
        const QString ids =
            m_f->Db
                .Scalar(QStringLiteral("select group_concat(Idorder) from [order] where Idprovider = ?"),
                        {supplier})
                .toString();
        for (const QString& id : ids.split(QLatin1Char(','), Qt::SkipEmptyParts))
            orders.insert(id.toLongLong());
        QCOMPARE(Column(m_module->ADOTable6, QStringLiteral("Idorder")), orders);
        QCOMPARE(m_module->ADOTable6->RecNo(), 0);
        QCOMPARE(Column(m_module->ADOTable6, QStringLiteral("idprovider")), QSet<qint64>{supplier});
        // The order's supplier selects the wares of View_2.
        QCOMPARE(
            m_module->ADOTable11->RecordCount(),
            m_f->Db.Scalar(QStringLiteral("select count(*) from View_2 where Idprovider = ?"), {supplier})
                .toInt());
        QCOMPARE(Column(m_module->ADOTable11, QStringLiteral("Idprovider")), QSet<qint64>{supplier});
    }

    void supplierWithoutOrdersEmptiesTheChain() {
        // Added before the start: it is in the snapshot, but has no order.
        m_f->Db.Execute(QStringLiteral("insert into provider (name) values ('ООО «Пусто»')"));
        Create();
        ChooseSupplier(m_f->Db.Scalar(QStringLiteral("select max(Idprovider) from provider")).toLongLong());
        QCOMPARE(m_module->ADOTable6->RecordCount(), 0);
        QVERIFY(m_module->ADOTable6->Bof() && m_module->ADOTable6->Eof());
        QCOMPARE(m_module->ADOTable11->RecordCount(), 0);
        QVERIFY(m_module->ADOTable11->FieldByName(QStringLiteral("Idwares"))->IsNull());
        ChooseSupplier(1);
        QVERIFY(m_module->ADOTable6->RecordCount() > 0);
        QVERIFY(m_module->ADOTable11->RecordCount() > 0);
    }

    void conditionInForceMovesNothing() {
        Create();
        ChooseSupplier(1);  // two orders in the demo data
        TADOTable* orders = m_module->ADOTable6;
        TADOTable* wares = m_module->ADOTable11;
        QCOMPARE(orders->RecordCount(), 2);
        QVERIFY(wares->RecordCount() >= 2);
        wares->Next();
        QCOMPARE(wares->RecNo(), 1);
        TDataSource* waresSource = m_module->DataSource13;
        TCountingLink told;
        told.SetDataSource(waresSource);
        told.Count = 0;  // binding to an open data set tells it Opened
        orders->Next();  // another order of the same supplier
        QCOMPARE(orders->RecNo(), 1);
        QCOMPARE(wares->RecNo(), 1);
        QCOMPARE(told.Count, 0);
        // Re-choosing the same supplier moves nothing either.
        ChooseSupplier(1);
        QCOMPARE(orders->RecNo(), 1);
        told.SetDataSource(nullptr);
    }

    void closedMasterShowsEveryRow() {
        Create();
        ChooseSupplier(3);
        const int allOrders = m_f->Db.Scalar(QStringLiteral("select count(*) from [order]")).toInt();
        QVERIFY(m_module->ADOTable6->RecordCount() < allOrders);
        m_module->ADOTable4->Close();
        QCOMPARE(m_module->ADOTable6->RecordCount(), allOrders);
        QCOMPARE(m_module->ADOTable6->RecNo(), 0);
        // ADOTable11 follows the first of all orders, which sort by supplier.
        QCOMPARE(Id(m_module->ADOTable6, "Idprovider"), 1);
        QCOMPARE(Column(m_module->ADOTable11, QStringLiteral("Idprovider")), QSet<qint64>{1});
        // Opening the master again puts its first supplier in force.
        m_module->ADOTable6->Last();
        m_module->ADOTable4->Open();
        QCOMPARE(Column(m_module->ADOTable6, QStringLiteral("Idprovider")),
                 QSet<qint64>{Id(m_module->ADOTable4, "Idprovider")});
    }

    void detailOpenedBeforeItsMasterFollowsWhenItOpens() {
        Create();
        m_module->ADOTable4->Close();
        m_module->ADOTable6->Close();
        m_module->ADOTable6->Open();
        QCOMPARE(m_module->ADOTable6->RecordCount(),
                 m_f->Db.Scalar(QStringLiteral("select count(*) from [order]")).toInt());
        m_module->ADOTable4->Open();
        QCOMPARE(Column(m_module->ADOTable6, QStringLiteral("Idprovider")), QSet<qint64>{1});
    }

    void masterMissingColumnNamesTheMaster() {
        Create();
        const QString notFound = QStringLiteral("ADOTable4: Field 'Idpostavshik' not found");
        QCOMPARE_THROWS(m_module->ADOTable6->SetMasterFields(QStringLiteral("Idpostavshik")), notFound);
        QCOMPARE_THROWS(m_module->ADOTable4->Next(), notFound);
    }

    void refusedDetailPostKeepsTheMasterWhereItWas_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("corrected and posted") << false;
    }
    void refusedDetailPostKeepsTheMasterWhereItWas() {
        QFETCH(bool, cancel);
        Create();
        ChooseSupplier(1);
        TADOTable* orders = m_module->ADOTable6;
        orders->Append();
        orders->FieldByName(QStringLiteral("orderdate"))->SetAsString(QStringLiteral("завтра"));
        // Moving to supplier 2 posts the new order first; the database refuses the date, and the
        // supplier, its orders and their wares stay as they were.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ChooseSupplier(2));
        QCOMPARE(Id(m_module->ADOTable4, "Idprovider"), 1);
        QCOMPARE(orders->State(), dsInsert);
        QCOMPARE(Column(m_module->ADOTable11, QStringLiteral("Idprovider")), QSet<qint64>{1});
        if (cancel) {
            orders->Cancel();
        } else {
            orders->FieldByName(QStringLiteral("orderdate"))->SetAsString(QStringLiteral("01.12.2026"));
            orders->Post();
            QCOMPARE(m_f->Db
                         .Scalar(QStringLiteral("select count(*) from [order] where Idprovider = 1 and "
                                                "orderdate = '2026-12-01 00:00:00'"))
                         .toInt(),
                     1);
        }
        ChooseSupplier(2);
        QCOMPARE(Column(orders, QStringLiteral("Idprovider")), QSet<qint64>{2});
        QCOMPARE(Column(m_module->ADOTable11, QStringLiteral("Idprovider")), QSet<qint64>{2});
    }

    void orderInsertedDuringTheRunIsNotInTheOrderList() {
        Create();
        ChooseSupplier(2);
        const int before = m_module->ADOTable6->RecordCount();
        ExecuteTemplate(m_module->ADOQuery6, {QStringLiteral("2")}, QString());
        QCOMPARE(m_f->Db.Scalar(QStringLiteral("select count(*) from [order] where Idprovider = 2")).toInt(),
                 before + 1);
        ChooseSupplier(1);
        ChooseSupplier(2);
        QCOMPARE(m_module->ADOTable6->RecordCount(), before);
        // A refresh re-reads the rows held and takes in no new one either.
        m_module->ADOTable6->Refresh();
        QCOMPARE(m_module->ADOTable6->RecordCount(), before);
    }

    void refreshedDetailKeepsItsConditionAndRow() {
        Create();
        ChooseSupplier(1);
        TADOTable* wares = m_module->ADOTable11;
        wares->Last();
        const int row = wares->RecNo();
        const qint64 ware = Id(wares, "Idwares");
        m_f->Db.Execute(QStringLiteral("update wares set description = 'Обновлено' where Idwares = ?"),
                        {ware});
        wares->Refresh();  // a view: the statement runs again
        QCOMPARE(Column(wares, QStringLiteral("Idprovider")), QSet<qint64>{1});
        QCOMPARE(wares->RecNo(), row);
        QCOMPARE(Id(wares, "Idwares"), ware);
        QCOMPARE(wares->FieldByName(QStringLiteral("description"))->AsString(), QStringLiteral("Обновлено"));
    }

    void saleInsertedDuringTheRunIsFirstInTheSalesAtOnce() {
        Create();
        ExecuteTemplate(m_module->ADOQuery8, {QStringLiteral("3")}, QString());
        m_module->ADOQuery9->Close();
        m_module->ADOQuery9->Open();
        QCOMPARE(Id(m_module->ADOQuery9, "Idsale"),
                 m_f->Db.Scalar(QStringLiteral("select max(Idsale) from sale")).toLongLong());
        QCOMPARE(Id(m_module->ADOQuery9, "idmanager"), 3);
    }

    void newDetailRowBelongsToTheMasterUntilDeleted() {
        Create();
        ChooseSupplier(5);
        TADOTable* orders = m_module->ADOTable6;
        const int before = orders->RecordCount();
        orders->Append();
        QCOMPARE(Id(orders, "Idprovider"), 5);
        QVERIFY(!orders->Modified());
        orders->FieldByName(QStringLiteral("orderdate"))->SetAsString(QStringLiteral("2026-12-01 10:00:00"));
        orders->Post();
        QCOMPARE(orders->RecordCount(), before + 1);
        QCOMPARE(Column(orders, QStringLiteral("Idprovider")), QSet<qint64>{5});
        QCOMPARE(Id(orders, "Idorder"),
                 m_f->Db.Scalar(QStringLiteral("select max(Idorder) from [order]")).toLongLong());
        // Deleted again, it leaves exactly the supplier's other orders visible.
        orders->Delete();
        QCOMPARE(orders->RecordCount(), before);
        QCOMPARE(Column(orders, QStringLiteral("Idprovider")), QSet<qint64>{5});
    }

    // Tearing down components posts nothing: a detail whose master goes away while it is being
    // edited neither writes nor throws, whether its connection is already gone or cannot reach the
    // database (an exception out of a destructor would end the program).
    void ownerDestroyedWithADetailInEdit_data() {
        QTest::addColumn<bool>("connectionFirst");
        QTest::newRow("connection destroyed first") << true;
        QTest::newRow("database unreachable") << false;
    }
    void ownerDestroyedWithADetailInEdit() {
        QFETCH(bool, connectionFirst);
        auto owner = std::make_unique<QObject>();
        TADOConnection* connection = nullptr;
        const auto connect = [&] {
            connection = new TADOConnection(owner.get(), QStringLiteral("ADOConnection1"));
            connection->SetConnectionString(TDataModule3::ConnectionStringText());
        };
        if (connectionFirst)
            connect();
        auto* suppliers = new TADOTable(owner.get(), QStringLiteral("ADOTable4"));
        auto* source = new TDataSource(owner.get(), QStringLiteral("DataSource5"));
        auto* orders = new TADOTable(owner.get(), QStringLiteral("ADOTable6"));
        if (!connectionFirst)
            connect();
        suppliers->SetConnection(connection);
        suppliers->SetTableName(QStringLiteral("provider"));
        source->SetDataSet(suppliers);
        orders->SetConnection(connection);
        orders->SetTableName(QStringLiteral("[order]"));
        orders->SetIndexFieldNames(QStringLiteral("Idprovider"));
        orders->SetMasterFields(QStringLiteral("Idprovider"));
        orders->SetMasterSource(source);
        suppliers->Open();
        orders->Open();
        const qint64 order = Id(orders, "Idorder");
        orders->Edit();
        orders->FieldByName(QStringLiteral("orderdate"))->SetAsString(QStringLiteral("01.01.2027"));
        if (!connectionFirst) {
            connection->Close();
            m_f->Db.MakeUnreachable();
        }
        owner.reset();
        m_f->Db.MakeReachable();
        QCOMPARE(m_f->Db
                     .Scalar(QStringLiteral("select count(*) from [order] where Idorder = ? and orderdate "
                                            "like '2027%'"),
                             {order})
                     .toInt(),
                 0);
    }
};

QTEST_MAIN(TstDetail)
#include "tst_detail.moc"
