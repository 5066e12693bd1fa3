// What a provider (embedded engine, ODBC) does for TDbConnection. Names reaching ObjectKind, PrimaryKey
// and TableColumns are bare (no brackets, no schema); statements are T-SQL as the program writes them.
#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

#include "TDbTypes.h"

class TDbCursor;

class TDbProvider {
public:
    virtual ~TDbProvider() = default;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual bool Connected() const = 0;
    virtual std::unique_ptr<TDbCursor> Select(const QString& statement, const QVector<QVariant>& params) = 0;
    virtual qint64 Execute(const QString& statement, const QVector<QVariant>& params) = 0;
    // Runs an INSERT and reports its own identity, never one made by a trigger or by another connection.
    virtual TDbInserted ExecuteInsert(const QString& statement, const QVector<QVariant>& params) = 0;
    // A transaction on the connection; each throws EDatabaseError with the database's message.
    virtual void BeginTransaction() = 0;
    virtual void CommitTransaction() = 0;
    virtual void RollbackTransaction() = 0;
    virtual bool IsUpdatable(const QString& name) = 0;
    // Whether another connection's reading never holds up this one's writing (WAL), so that rows can
    // be read on a connection of their own while the program writes.
    virtual bool ReadsBesideWriters() = 0;
    virtual TDbObjectKind ObjectKind(const QString& name) = 0;
    virtual QStringList PrimaryKey(const QString& table) = 0;
    virtual QVector<TDbColumn> TableColumns(const QString& table) = 0;
};
