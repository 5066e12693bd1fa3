// The data module: its components in declaration order, their statement lines, the opening at
// creation with one error box per failed action, sort choices, the statement templates' texts and
// the posting of pending changes at exit.
#include <QMessageBox>
#include <QObject>
#include <QTest>

#include "Exception.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TApplicationTitle.h"
#include "TTestDatabase.h"
#include "TErrorBox.h"
#include "TField.h"
#include "TModalAnswerer.h"
#include "TTestChecks.h"
#include "Unit3.h"

namespace {

const QStringList kComponents{
    "ADOConnection1", "DataSource1", "ADOQuery1",    "DataSource2", "ADOTable1",    "ADOQuery2",
    "ADOQuery3",      "ADOQuery4",   "ADOTable2",    "DataSource3", "DataSource4",  "ADOTable3",
    "ADOTable4",      "DataSource5", "ADOQuery5",    "ADOTable5",   "DataSource6",  "ADOQuery6",
    "ADOTable6",      "DataSource7", "ADOQuery7",    "ADOTable7",   "DataSource8",  "ADOQuery8",
    "DataSource9",    "ADOQuery9",   "ADOQuery10",   "ADOTable8",   "DataSource10", "RvDataSetConnection1",
    "RvProject1",     "ADOQuery11",  "DataSource11", "ADOTable9",   "ADOTable10",   "DataSource12",
    "ADOTable11",     "DataSource13"};

const QStringList kOpenedAtCreation{"ADOQuery1",  "ADOTable1", "ADOTable2",  "ADOTable3", "ADOTable4",
                                    "ADOTable5",  "ADOTable6", "ADOTable7",  "ADOQuery9", "ADOTable8",
                                    "ADOQuery11", "ADOTable9", "ADOTable10", "ADOTable11"};

QStringList Names(const QList<TDataSet*>& dataSets) {
    QStringList names;
    for (TDataSet* d : dataSets)
        names.append(d->Name());
    return names;
}

QStringList OpenNames(const TDataModule3& module) {
    QStringList names;
    for (TDataSet* d : module.DataSets()) {
        if (d->Active())
            names.append(d->Name());
    }
    return names;
}

const QString kIndent(22, QLatin1Char(' '));

}  // namespace

class TstDataModule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void componentsInDeclarationOrder() {
        TTestDatabase db;
        TDataModule3 module(nullptr);
        QStringList children;
        for (QObject* child : module.children())
            children.append(child->objectName());
        QCOMPARE(children, kComponents);
        QCOMPARE(Names(module.OpenedAtCreation()), kOpenedAtCreation);
        QCOMPARE(OpenNames(module), kOpenedAtCreation);
        QVERIFY(module.ADOConnection1->Connected());
        QCOMPARE(module.ADOConnection1->ConnectionString(),
                 QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                "Initial Catalog=ZIRT;Data Source=(local)\\SQLEXPRESS"));
        QCOMPARE(module.ADOTable6->TableName(), QStringLiteral("[order]"));
    }

    void statementLines_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("lines");
        const auto t = [](const char* name, const char* head, int count) {
            QStringList lines{QString::fromUtf8(head)};
            while (lines.size() < count)
                lines.append(QString());
            QTest::newRow(name) << name << lines;
        };
        t("ADOQuery2", "INSERT into provider([name],agentname, phone)", 2);
        t("ADOQuery3", "INSERT into manager([name], phone)", 2);
        t("ADOQuery4", "INSERT into wares([name],description,orderprice,iddiscount)", 2);
        t("ADOQuery5", "insert into period(idprovider,idwares,day)", 2);
        t("ADOQuery6", "INSERT into [order](idprovider)", 2);
        t("ADOQuery7", "INSERT into orderitem(idorder,idwares,warescount)", 3);
        t("ADOQuery8", "insert into sale(idmanager)", 2);
        t("ADOQuery10", "insert into saleitem(idsale,idwares,quantity)", 4);
        QTest::newRow("ADOQuery9") << "ADOQuery9"
                                   << QStringList{"select * from sale", "order by idsale desc"};
        QTest::newRow("ADOQuery1")
            << "ADOQuery1"
            << QStringList{
                   "SELECT     TOP (100) PERCENT dbo.wares.name AS Наименование, dbo.wares.description AS "
                   "Описание, dbo.provider.name AS Поставщик, ",
                   kIndent +
                       "dbo.wares.orderprice AS [Цена закупа], dbo.wares.saleprice AS [Цена продажи], "
                       "dbo.discount.[percent] AS [Скидка (%)]",
                   "FROM         dbo.discount INNER JOIN",
                   kIndent + "dbo.wares ON dbo.discount.Iddiscount = dbo.wares.Iddiscount INNER JOIN",
                   kIndent + "dbo.period ON dbo.wares.Idwares = dbo.period.Idwares INNER JOIN",
                   kIndent + "dbo.provider ON dbo.period.Idprovider = dbo.provider.Idprovider",
                   QString(),
                   QString()};
        QTest::newRow("ADOQuery11")
            << "ADOQuery11"
            << QStringList{
                   "SELECT     dbo.wares.name, dbo.wares.description, dbo.wares.saleprice, "
                   "dbo.discount.[percent]",
                   "FROM         dbo.discount INNER JOIN",
                   kIndent + "dbo.wares ON dbo.discount.Iddiscount = dbo.wares.Iddiscount INNER JOIN",
                   kIndent + "dbo.period ON dbo.wares.Idwares = dbo.period.Idwares INNER JOIN",
                   kIndent + "dbo.provider ON dbo.period.Idprovider = dbo.provider.Idprovider"};
    }
    void statementLines() {
        QFETCH(QString, query);
        QFETCH(QStringList, lines);
        TTestDatabase db;
        TDataModule3 module(nullptr);
        auto* q = module.findChild<TADOQuery*>(query);
        QVERIFY(q);
        QCOMPARE(q->SQL().Lines(), lines);
    }

    void resultColumns() {
        TTestDatabase db;
        TDataModule3 module(nullptr);
        const auto names = [](TDataSet* d) {
            QStringList n;
            for (int i = 0; i < d->FieldCount(); ++i)
                n.append(d->Field(i)->FieldName());
            return n;
        };
        QCOMPARE(names(module.ADOQuery1), (QStringList{"Наименование", "Описание", "Поставщик", "Цена закупа",
                                                       "Цена продажи", "Скидка (%)"}));
        QCOMPARE(names(module.ADOQuery11), (QStringList{"name", "description", "saleprice", "percent"}));
    }

    void templateStatementTexts_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("table");
        QTest::newRow("order line: one empty line")
            << "ADOQuery7" << QStringList{"1", "2", "3"}
            << "INSERT into orderitem(idorder,idwares,warescount)\r\nVALUES ('1','2','3')\r\n\r\n"
            << "orderitem";
        QTest::newRow("sale line: two empty lines")
            << "ADOQuery10" << QStringList{"4", "5", "6"}
            << "insert into saleitem(idsale,idwares,quantity)\r\nVALUES ('4','5','6')\r\n\r\n\r\n"
            << "saleitem";
    }
    void templateStatementTexts() {
        QFETCH(QString, query);
        QFETCH(QStringList, values);
        QFETCH(QString, text);
        QFETCH(QString, table);
        TTestDatabase db;
        TDataModule3 module(nullptr);
        auto* q = module.findChild<TADOQuery*>(query);
        const int before = db.Scalar(QStringLiteral("select count(*) from ") + table).toInt();
        ExecuteTemplate(q, values, QStringLiteral("','"));
        QCOMPARE(q->SQL().Text(), text);
        QCOMPARE(db.Scalar(QStringLiteral("select count(*) from ") + table).toInt(), before + 1);
        // The next use replaces line 1 only.
        ExecuteTemplate(q, {values.at(0), values.at(1), QStringLiteral("9")}, QStringLiteral("','"));
        QCOMPARE(q->SQL().Count(), text.count(QStringLiteral("\r\n")));
        QVERIFY(q->SQL()[1].endsWith(QStringLiteral("'9')")));
    }

    void twoSortChoicesInARow() {
        TTestDatabase db;
        TDataModule3 module(nullptr);
        TADOQuery* goods = module.ADOQuery1;
        for (const char* clause : {"ORDER BY Наименование  DESC", "ORDER BY  Поставщик  ASC"}) {
            goods->Close();
            goods->SQL().SetStrings(7, QString::fromUtf8(clause));
            goods->Open();
        }
        QCOMPARE(goods->SQL().Count(), 8);
        QCOMPARE(goods->SQL()[6], QString());
        QCOMPARE(goods->SQL()[7], QStringLiteral("ORDER BY  Поставщик  ASC"));
        QVERIFY(goods->Active());
        QCOMPARE(goods->FieldByName(QStringLiteral("Поставщик"))->AsString(),
                 db.Scalar(QStringLiteral(
                               "select p.name from period pe join provider p on p.Idprovider = "
                               "pe.Idprovider join wares w on w.Idwares = pe.Idwares join discount d on "
                               "d.Iddiscount = w.Iddiscount order by p.name limit 1"))
                     .toString());
    }

    void unreachableDatabaseCostsFifteenBoxes() {
        TTestDatabase db;
        db.MakeUnreachable();
        TModalAnswerer answer;
        TDataModule3 module(nullptr);
        QCOMPARE(answer.Seen().size(), 15);
        QVERIFY(!module.ADOConnection1->Connected());
        QVERIFY(OpenNames(module).isEmpty());
        // One box per action: the connection's, then each data set's own attempt to connect.
        QString message;
        try {
            module.ADOConnection1->Open();
        } catch (const EDatabaseError& e) {
            message = e.Message();
        }
        QVERIFY(!message.isEmpty());
        for (const TSeenModal& seen : answer.Seen()) {
            QCOMPARE(seen.ClassName, QStringLiteral("QMessageBox"));
            QCOMPARE(seen.Caption, ApplicationTitle());
            QCOMPARE(seen.Icon, int(QMessageBox::Critical));
            QCOMPARE(seen.Text, ErrorBoxText(message));
        }

        // A save button while it is still unreachable fails with another error; once it is back,
        // the save connects and works, and a sort choice fills the goods list; the rest stay closed.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ExecuteTemplate(module.ADOQuery8, {"1"}, QString()));
        db.MakeReachable();
        answer.ClearSeen();
        const int sales = db.Scalar(QStringLiteral("select count(*) from sale")).toInt();
        ExecuteTemplate(module.ADOQuery8, {"1"}, QString());
        QCOMPARE(db.Scalar(QStringLiteral("select count(*) from sale")).toInt(), sales + 1);
        module.ADOQuery1->Close();
        module.ADOQuery1->SQL().SetStrings(7, QStringLiteral("ORDER BY description ASC"));
        module.ADOQuery1->Open();
        QVERIFY(module.ADOConnection1->Connected());
        QCOMPARE(OpenNames(module), QStringList{"ADOQuery1"});
        QVERIFY(module.ADOQuery1->RecordCount() > 0);
        QVERIFY(answer.Seen().isEmpty());
    }

    void missingViewClosesOnlyItsDataSet() {
        TTestDatabase db;
        db.Execute(QStringLiteral("drop view firms_periods"));
        TModalAnswerer answer;
        TDataModule3 module(nullptr);
        QCOMPARE(answer.Seen().size(), 1);
        QVERIFY2(answer.Seen().at(0).Text.contains(QStringLiteral("firms_periods")),
                 qPrintable(answer.Seen().at(0).Text));
        QStringList expected = kOpenedAtCreation;
        expected.removeAll(QStringLiteral("ADOTable10"));
        QCOMPARE(OpenNames(module), expected);
    }

    void pendingChangesArePostedAtExit() {
        TTestDatabase db;
        TModalAnswerer answer;
        auto* module = new TDataModule3(nullptr);
        // A change the database refuses (a negative price) and two it takes, one of them a new row.
        module->ADOTable3->Edit();
        module->ADOTable3->FieldByName(QStringLiteral("orderprice"))->SetAsString(QStringLiteral("-1"));
        module->ADOTable4->Edit();
        module->ADOTable4->FieldByName(QStringLiteral("name"))
            ->SetAsString(QStringLiteral("ООО «Не потеряно»"));
        module->ADOTable7->Append();
        module->ADOTable7->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Новиков П. П."));
        const int managers = db.Scalar(QStringLiteral("select count(*) from manager")).toInt();
        const double price =
            db.Scalar(QStringLiteral("select orderprice from wares where Idwares = 1")).toDouble();
        delete module;
        QCOMPARE(answer.Seen().size(), 1);  // the refusal, and the exit went on
        QCOMPARE(answer.Seen().at(0).Icon, int(QMessageBox::Critical));
        QCOMPARE(db.Scalar(QStringLiteral("select name from provider where Idprovider = 1")).toString(),
                 QStringLiteral("ООО «Не потеряно»"));
        QCOMPARE(db.Scalar(QStringLiteral("select count(*) from manager")).toInt(), managers + 1);
        QCOMPARE(db.Scalar(QStringLiteral("select orderprice from wares where Idwares = 1")).toDouble(),
                 price);
    }

    void untouchedNewRowIsNotWrittenAtExit() {
        TTestDatabase db;
        TModalAnswerer answer;
        auto* module = new TDataModule3(nullptr);
        const int discounts = db.Scalar(QStringLiteral("select count(*) from discount")).toInt();
        module->ADOTable2->Append();
        delete module;
        QVERIFY(answer.Seen().isEmpty());
        QCOMPARE(db.Scalar(QStringLiteral("select count(*) from discount")).toInt(), discounts);
    }

    // The sales read again after a header: the header's own sale current, below a newer one; a sale
    // gone before the re-read leaves no sale current at all, so no line can go to another one.
    void salesReadAgainShowTheOwnSale_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("found");
        QTest::newRow("another sale after it") << "insert into sale(idmanager) values (2)" << true;
        QTest::newRow("deleted at once") << "delete from sale where Idsale = (select max(Idsale) from sale)"
                                         << false;
    }
    void salesReadAgainShowTheOwnSale() {
        QFETCH(QString, meanwhile);
        QFETCH(bool, found);
        TTestDatabase db;
        TModalAnswerer answer;
        TDataModule3 module(nullptr);
        const QVariant own = ExecuteTemplate(module.ADOQuery8, {QStringLiteral("4")}, QString());
        db.Execute(meanwhile);
        if (found) {
            module.ReadSalesAgain(own);
            QCOMPARE(module.ADOQuery9->FieldByName(QStringLiteral("Idsale"))->Value(), own);
            QCOMPARE(module.ADOQuery9->FieldByName(QStringLiteral("idmanager"))->AsString(), QStringLiteral("4"));
            QCOMPARE(module.ADOQuery9->RecNo(), 1);
        } else {
            QCOMPARE_THROWS(module.ReadSalesAgain(own),
                            QStringLiteral("The sale just recorded (number %1) is no longer in the database.")
                                .arg(own.toString()));
            QVERIFY(!module.ADOQuery9->Active());
        }
    }
};

QTEST_MAIN(TstDataModule)
#include "tst_datamodule.moc"
