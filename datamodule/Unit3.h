// The data module: the one connection, every data set, statement template and data source of
// the program, created in declaration order and opened at creation (connect, then the 14 data
// sets marked open, each failure in its own error box). Relies on the data set engine of data/.
#pragma once

#include <QObject>
#include <QVariant>

class TADOConnection;
class TADOQuery;
class TADOTable;
class TDataSet;
class TDataSource;
class TRvDataSetConnection;
class TRvProject;

class TDataModule3 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule3(QObject* owner);
    // Posts every pending change first (a refusal is shown and the exit goes on), then closes
    // every data set and the connection.
    ~TDataModule3() override;

    // The 38 components in declaration order; this is also their creation order.
    TADOConnection* ADOConnection1;              //  1
    TDataSource* DataSource1;                    //  2
    TADOQuery* ADOQuery1;                        //  3 goods list
    TDataSource* DataSource2;                    //  4
    TADOTable* ADOTable1;                        //  5 orders_info
    TADOQuery* ADOQuery2;                        //  6 template: provider
    TADOQuery* ADOQuery3;                        //  7 template: manager
    TADOQuery* ADOQuery4;                        //  8 template: wares
    TADOTable* ADOTable2;                        //  9 discount
    TDataSource* DataSource3;                    // 10
    TDataSource* DataSource4;                    // 11
    TADOTable* ADOTable3;                        // 12 wares
    TADOTable* ADOTable4;                        // 13 provider
    TDataSource* DataSource5;                    // 14
    TADOQuery* ADOQuery5;                        // 15 template: period
    TADOTable* ADOTable5;                        // 16 new_order
    TDataSource* DataSource6;                    // 17
    TADOQuery* ADOQuery6;                        // 18 template: [order]
    TADOTable* ADOTable6;                        // 19 [order], detail of DataSource5
    TDataSource* DataSource7;                    // 20
    TADOQuery* ADOQuery7;                        // 21 template: orderitem
    TADOTable* ADOTable7;                        // 22 manager
    TDataSource* DataSource8;                    // 23
    TADOQuery* ADOQuery8;                        // 24 template: sale
    TDataSource* DataSource9;                    // 25
    TADOQuery* ADOQuery9;                        // 26 sales, newest first
    TADOQuery* ADOQuery10;                       // 27 template: saleitem
    TADOTable* ADOTable8;                        // 28 View_1
    TDataSource* DataSource10;                   // 29
    TRvDataSetConnection* RvDataSetConnection1;  // 30 price list rows: ADOQuery11
    TRvProject* RvProject1;                      // 31 "C:\ZIRT\kelvor\Project1.rav"
    TADOQuery* ADOQuery11;                       // 32 price list
    TDataSource* DataSource11;                   // 33
    TADOTable* ADOTable9;                        // 34 provider, a second copy
    TADOTable* ADOTable10;                       // 35 firms_periods
    TDataSource* DataSource12;                   // 36
    TADOTable* ADOTable11;                       // 37 View_2, detail of DataSource7
    TDataSource* DataSource13;                   // 38

    // The 14 data sets opened at creation, in declaration order.
    QList<TDataSet*> OpenedAtCreation() const;
    // Every data set (queries and tables), in declaration order.
    QList<TDataSet*> DataSets() const;

    // The sale entry's re-read after a header: the sales again, newest first, with the sale that header
    // inserted (its identity, from the insert itself) current, so that the lines go to this program's
    // sale even when another program recorded one meanwhile. Without an identity: the newest sale.
    void ReadSalesAgain(const QVariant& ownSale);

    // The connection string the module connects with; its computer is fixed at build time.
    static QString ConnectionStringText();
};

extern TDataModule3* DataModule3;
