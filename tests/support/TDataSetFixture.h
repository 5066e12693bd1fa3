// Data sets of the engine on a fresh demo database, outside the data module: one connection
// component, tables and queries made on it under the component names a case's messages carry, all
// owned here and destroyed before the database. Relies on TTestDatabase for reading the database back.
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TTestDatabase.h"

class TDataSetFixture {
public:
    TTestDatabase Db;

    TDataSetFixture()
        : m_owner(std::make_unique<QObject>()),
          Connection(new TADOConnection(m_owner.get(), QStringLiteral("ADOConnection1"))) {
        Connection->SetConnectionString(TTestDatabase::ConnectionString());
    }
    ~TDataSetFixture() { m_owner.reset(); }  // the data sets close while the database is still there

    // Not opened: a case may set more before it opens.
    TADOTable* Table(const QString& table, const QString& name) {
        auto* t = new TADOTable(m_owner.get(), name);
        t->SetConnection(Connection);
        t->SetTableName(table);
        return t;
    }
    TADOQuery* Query(const QStringList& lines, const QString& name) {
        auto* query = new TADOQuery(m_owner.get(), name);
        query->SetConnection(Connection);
        for (const QString& line : lines)
            query->SQL().Add(line);
        return query;
    }

    // Owns whatever else a case makes (a second connection): it goes with the data sets.
    QObject* Owner() const { return m_owner.get(); }

private:
    std::unique_ptr<QObject> m_owner;

public:
    TADOConnection* const Connection;
};
