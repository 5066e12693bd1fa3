// What the control tests bind to: a fresh demo database, one connection and the discount table
// (two extra levels nobody refers to, so deleting them is allowed) behind a data source, in a window.
#pragma once

#include <QTest>
#include <QWidget>
#include <memory>

#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TDataSource.h"
#include "TField.h"
#include "TTestDatabase.h"

struct TControlsFixture {
    TTestDatabase Database;
    std::unique_ptr<QObject> Owner = std::make_unique<QObject>();
    TADOConnection* Connection;
    TADOTable* Table;
    TDataSource* Source;
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();

    // Demo data: six discount levels referred to by wares, then 20 % and 25 %, free to delete.
    explicit TControlsFixture(const QString& table = QStringLiteral("discount")) {
        Connection = new TADOConnection(Owner.get(), QStringLiteral("ADOConnection1"));
        Connection->SetConnectionString(TTestDatabase::ConnectionString());
        auto* insert = new TADOQuery(Owner.get(), QStringLiteral("ADOQuery1"));
        insert->SetConnection(Connection);
        insert->SQL().Add(QStringLiteral("INSERT INTO discount ([percent]) VALUES (20), (25)"));
        insert->ExecSQL();
        Table = new TADOTable(Owner.get(), QStringLiteral("ADOTable1"));
        Table->SetConnection(Connection);
        Table->SetTableName(table);
        Source = new TDataSource(Owner.get(), QStringLiteral("DataSource1"));
        Source->SetDataSet(Table);
        Window->resize(500, 400);
    }
    ~TControlsFixture() {
        Window.reset();  // controls unbind before the data source goes
    }

    // One value read straight from the database over the fixture's connection.
    QVariant Scalar(const QString& statement) {
        TADOQuery query(nullptr, QStringLiteral("Check"));
        query.SetConnection(Connection);
        query.SQL().Add(statement);
        query.Open();
        return query.Field(0)->Value();
    }

    // Shows the window and waits until it is active, so focus moves between its controls.
    bool ShowWindow() {
        Window->show();
        Window->activateWindow();
        return QTest::qWaitForWindowActive(Window.get());
    }
};
