// The data module's components with their settings, the opening at creation and the posting of
// pending changes at exit. Failures are shown in the application's error box, one per action.
#include "Unit3.h"

#include <QCursor>
#include <QGuiApplication>

#include "Exception.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TDataSource.h"
#include "TErrorBox.h"
#include "TRvDataSetConnection.h"
#include "TRvProject.h"

#ifndef ZIRT_SERVER_COMPUTER
#define ZIRT_SERVER_COMPUTER "(local)"
#endif

TDataModule3* DataModule3 = nullptr;

namespace {

// Lines 1, 3, 4 and 5 of the goods list and 2, 3 and 4 of the price list begin with 22 spaces,
// as the statements were laid out; the database does not care.
const QString kIndent = QString(22, QLatin1Char(' '));

TADOQuery* MakeQuery(QObject* owner, const char* name, TADOConnection* connection, const QStringList& lines) {
    auto* query = new TADOQuery(owner, QString::fromLatin1(name));
    query->SetConnection(connection);
    for (const QString& line : lines)
        query->SQL().Add(line);
    return query;
}

TADOTable* MakeTable(QObject* owner, const char* name, TADOConnection* connection, const QString& table) {
    auto* t = new TADOTable(owner, QString::fromLatin1(name));
    t->SetConnection(connection);
    t->SetTableName(table);
    return t;
}

TDataSource* MakeSource(QObject* owner, const char* name, TDataSet* dataSet) {
    auto* source = new TDataSource(owner, QString::fromLatin1(name));
    source->SetDataSet(dataSet);
    return source;
}

// Each action at creation and at exit handles its own failure; the next one runs regardless.
template <class F>
void Attempt(F action) {
    try {
        action();
    } catch (const Exception& error) {
        ShowException(error);
    }
}

}  // namespace

QString TDataModule3::ConnectionStringText() {
    return QStringLiteral(
               "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
               "Initial Catalog=ZIRT;Data Source=") +
           QString::fromUtf8(ZIRT_SERVER_COMPUTER) + QStringLiteral("\\SQLEXPRESS");
}

TDataModule3::TDataModule3(QObject* owner) : QObject(owner) {
    setObjectName(QStringLiteral("DataModule3"));

    // Data sources are created before the data set they carry in several places; they are bound
    // once both exist, which is before anything opens.
    ADOConnection1 = new TADOConnection(this, QStringLiteral("ADOConnection1"));
    ADOConnection1->SetConnectionString(ConnectionStringText());
    DataSource1 = MakeSource(this, "DataSource1", nullptr);
    ADOQuery1 = MakeQuery(
        this, "ADOQuery1", ADOConnection1,
        {QStringLiteral(
             "SELECT     TOP (100) PERCENT dbo.wares.name AS Наименование, dbo.wares.description AS "
             "Описание, dbo.provider.name AS Поставщик, "),
         kIndent +
             QStringLiteral("dbo.wares.orderprice AS [Цена закупа], dbo.wares.saleprice AS [Цена продажи], "
                            "dbo.discount.[percent] AS [Скидка (%)]"),
         QStringLiteral("FROM         dbo.discount INNER JOIN"),
         kIndent + QStringLiteral("dbo.wares ON dbo.discount.Iddiscount = dbo.wares.Iddiscount INNER JOIN"),
         kIndent + QStringLiteral("dbo.period ON dbo.wares.Idwares = dbo.period.Idwares INNER JOIN"),
         kIndent + QStringLiteral("dbo.provider ON dbo.period.Idprovider = dbo.provider.Idprovider"),
         QString(), QString()});
    DataSource2 = MakeSource(this, "DataSource2", nullptr);
    ADOTable1 = MakeTable(this, "ADOTable1", ADOConnection1, QStringLiteral("orders_info"));
    ADOQuery2 = MakeQuery(this, "ADOQuery2", ADOConnection1,
                          {QStringLiteral("INSERT into provider([name],agentname, phone)"), QString()});
    ADOQuery3 = MakeQuery(this, "ADOQuery3", ADOConnection1,
                          {QStringLiteral("INSERT into manager([name], phone)"), QString()});
    ADOQuery4 =
        MakeQuery(this, "ADOQuery4", ADOConnection1,
                  {QStringLiteral("INSERT into wares([name],description,orderprice,iddiscount)"), QString()});
    ADOTable2 = MakeTable(this, "ADOTable2", ADOConnection1, QStringLiteral("discount"));
    DataSource3 = MakeSource(this, "DataSource3", ADOTable2);
    DataSource4 = MakeSource(this, "DataSource4", nullptr);
    ADOTable3 = MakeTable(this, "ADOTable3", ADOConnection1, QStringLiteral("wares"));
    ADOTable4 = MakeTable(this, "ADOTable4", ADOConnection1, QStringLiteral("provider"));
    DataSource5 = MakeSource(this, "DataSource5", ADOTable4);
    ADOQuery5 = MakeQuery(this, "ADOQuery5", ADOConnection1,
                          {QStringLiteral("insert into period(idprovider,idwares,day)"), QString()});
    ADOTable5 = MakeTable(this, "ADOTable5", ADOConnection1, QStringLiteral("new_order"));
    DataSource6 = MakeSource(this, "DataSource6", ADOTable5);
    ADOQuery6 = MakeQuery(this, "ADOQuery6", ADOConnection1,
                          {QStringLiteral("INSERT into [order](idprovider)"), QString()});
    ADOTable6 = MakeTable(this, "ADOTable6", ADOConnection1, QStringLiteral("[order]"));
    DataSource7 = MakeSource(this, "DataSource7", ADOTable6);
    ADOQuery7 = MakeQuery(
        this, "ADOQuery7", ADOConnection1,
        {QStringLiteral("INSERT into orderitem(idorder,idwares,warescount)"), QString(), QString()});
    ADOTable7 = MakeTable(this, "ADOTable7", ADOConnection1, QStringLiteral("manager"));
    DataSource8 = MakeSource(this, "DataSource8", ADOTable7);
    ADOQuery8 = MakeQuery(this, "ADOQuery8", ADOConnection1,
                          {QStringLiteral("insert into sale(idmanager)"), QString()});
    DataSource9 = MakeSource(this, "DataSource9", nullptr);
    ADOQuery9 = MakeQuery(this, "ADOQuery9", ADOConnection1,
                          {QStringLiteral("select * from sale"), QStringLiteral("order by idsale desc")});
    ADOQuery10 = MakeQuery(
        this, "ADOQuery10", ADOConnection1,
        {QStringLiteral("insert into saleitem(idsale,idwares,quantity)"), QString(), QString(), QString()});
    ADOTable8 = MakeTable(this, "ADOTable8", ADOConnection1, QStringLiteral("View_1"));
    DataSource10 = MakeSource(this, "DataSource10", ADOTable8);
    RvDataSetConnection1 = new TRvDataSetConnection(this, QStringLiteral("RvDataSetConnection1"));
    RvDataSetConnection1->SetRuntimeVisibility(rtDeveloper);
    RvProject1 = new TRvProject(this, QStringLiteral("RvProject1"));
    // The fixed Windows path; the project maps it to the host when it opens the file.
    RvProject1->SetProjectFile(QStringLiteral("C:\\ZIRT\\kelvor\\Project1.rav"));
    ADOQuery11 = MakeQuery(
        this, "ADOQuery11", ADOConnection1,
        {QStringLiteral(
             "SELECT     dbo.wares.name, dbo.wares.description, dbo.wares.saleprice, dbo.discount.[percent]"),
         QStringLiteral("FROM         dbo.discount INNER JOIN"),
         kIndent + QStringLiteral("dbo.wares ON dbo.discount.Iddiscount = dbo.wares.Iddiscount INNER JOIN"),
         kIndent + QStringLiteral("dbo.period ON dbo.wares.Idwares = dbo.period.Idwares INNER JOIN"),
         kIndent + QStringLiteral("dbo.provider ON dbo.period.Idprovider = dbo.provider.Idprovider")});
    DataSource11 = MakeSource(this, "DataSource11", nullptr);
    ADOTable9 = MakeTable(this, "ADOTable9", ADOConnection1, QStringLiteral("provider"));
    ADOTable10 = MakeTable(this, "ADOTable10", ADOConnection1, QStringLiteral("firms_periods"));
    DataSource12 = MakeSource(this, "DataSource12", ADOTable10);
    ADOTable11 = MakeTable(this, "ADOTable11", ADOConnection1, QStringLiteral("View_2"));
    DataSource13 = MakeSource(this, "DataSource13", ADOTable11);

    // Sources declared ahead of their data set.
    DataSource1->SetDataSet(ADOQuery1);
    DataSource2->SetDataSet(ADOTable1);
    DataSource4->SetDataSet(ADOTable3);
    DataSource9->SetDataSet(ADOQuery9);
    DataSource11->SetDataSet(ADOTable9);
    RvDataSetConnection1->SetDataSet(ADOQuery11);

    // The detail chain: supplier -> its orders -> the wares of the order's supplier.
    ADOTable6->SetIndexFieldNames(QStringLiteral("Idprovider"));
    ADOTable6->SetMasterFields(QStringLiteral("Idprovider"));
    ADOTable6->SetMasterSource(DataSource5);
    ADOTable11->SetIndexFieldNames(QStringLiteral("Idprovider"));
    ADOTable11->SetMasterFields(QStringLiteral("Idprovider"));
    ADOTable11->SetMasterSource(DataSource7);

    // The opens at creation return with their first rows and read the rest in the background, so the
    // start does not grow with the database. The details sort and narrow their rows at once, which
    // needs every row, and stay as they were.
    for (TDataSet* dataSet : OpenedAtCreation())
        dataSet->SetFetchInBackground(dataSet != ADOTable6 && dataSet != ADOTable11);
    // Waiting for the rest of a result shows the hourglass.
    TDataSet::SetWaitIndicator([](bool waiting) {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return;
        if (waiting)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    });

    // 15 actions, each failing on its own.
    Attempt([this] { ADOConnection1->Open(); });
    for (TDataSet* dataSet : OpenedAtCreation())
        Attempt([dataSet] { dataSet->Open(); });
}

TDataModule3::~TDataModule3() {
    // Nothing typed is lost at exit: a pending change is posted; a refusal is shown and the
    // exit goes on.
    for (TDataSet* dataSet : DataSets()) {
        if (dataSet->State() == dsEdit || dataSet->State() == dsInsert)
            Attempt([dataSet] { dataSet->CheckBrowseMode(); });
    }
    // Close while every component still exists, so bound controls are told while they can ask.
    const QList<TDataSet*> all = DataSets();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        Attempt([dataSet = *it] { dataSet->Close(); });
    ADOConnection1->Close();
    if (DataModule3 == this)
        DataModule3 = nullptr;
}

void TDataModule3::ReadSalesAgain(const QVariant& ownSale) {
    ADOQuery9->Close();
    ADOQuery9->Open();
    if (ownSale.isNull() || ADOQuery9->Locate(QStringLiteral("Idsale"), ownSale))
        return;
    // Another program deleted it at once: no line may go to whichever sale would be current instead.
    ADOQuery9->Close();
    throw EDatabaseError(
        QStringLiteral("The sale just recorded (number %1) is no longer in the database.").arg(ownSale.toString()));
}

QList<TDataSet*> TDataModule3::OpenedAtCreation() const {
    return {ADOQuery1, ADOTable1, ADOTable2, ADOTable3,  ADOTable4, ADOTable5,  ADOTable6,
            ADOTable7, ADOQuery9, ADOTable8, ADOQuery11, ADOTable9, ADOTable10, ADOTable11};
}

QList<TDataSet*> TDataModule3::DataSets() const {
    return {ADOQuery1,  ADOTable1, ADOQuery2,  ADOQuery3, ADOQuery4,  ADOTable2, ADOTable3, ADOTable4,
            ADOQuery5,  ADOTable5, ADOQuery6,  ADOTable6, ADOQuery7,  ADOTable7, ADOQuery8, ADOQuery9,
            ADOQuery10, ADOTable8, ADOQuery11, ADOTable9, ADOTable10, ADOTable11};
}
