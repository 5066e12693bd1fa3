// The database interface the data module relies on, over Qt SQL. A connection is made from the
// fixed OLE DB style connection string: "(local)\SQLEXPRESS" is served by the embedded engine
// (an existing SQLite file per catalog), any other computer through ODBC to SQL Server.
// Every failure is an EDatabaseError carrying the driver's and the database's own message.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

#include "TDbTypes.h"

class TDbCursor;
class TDbProvider;

class TDbConnection {
public:
    explicit TDbConnection(QString connectionString);
    ~TDbConnection();
    TDbConnection(const TDbConnection&) = delete;
    TDbConnection& operator=(const TDbConnection&) = delete;

    const QString& ConnectionString() const { return m_connectionString; }
    void Open();  // no-op when connected
    void Close();
    bool Connected() const;
    bool IsEmbedded() const;  // true when the embedded engine serves the catalog

    // Runs a statement (T-SQL as the program writes it) and returns its rows to fetch. Neither runs a
    // statement or a text parameter holding a NUL character: that is refused with a plain message.
    std::unique_ptr<TDbCursor> Select(const QString& statement, const QVector<QVariant>& params = {});
    // Runs a statement that returns no rows; the number of rows it affected.
    qint64 Execute(const QString& statement, const QVector<QVariant>& params = {});
    // Runs an INSERT; the rows it wrote and the key the database generated for it, as the insert's own
    // (a trigger's insert, or another program's, is never taken for it).
    TDbInserted ExecuteInsert(const QString& statement, const QVector<QVariant>& params = {});

    // One transaction at a time, used through TDbTransaction. Closing the connection ends (and so
    // rolls back) a transaction; rolling back a closed connection's transaction does nothing.
    void BeginTransaction();
    void CommitTransaction();
    void RollbackTransaction();
    bool InTransaction() const { return m_inTransaction; }

    // Lets a test stand between every connection and its provider (a provider that fails on demand);
    // an empty function removes it. Only connections that make their provider afterwards are affected.
    using TProviderWrapper = std::function<std::unique_ptr<TDbProvider>(std::unique_ptr<TDbProvider>)>;
    static void SetProviderWrapper(TProviderWrapper wrapper);
    int TransactionSerial() const { return m_transactionSerial; }

    // Whether rows of the table or view can be written: every table can; a view where the database
    // can change it (on the embedded engine, a view with an INSTEAD OF UPDATE trigger).
    bool IsUpdatable(const QString& name);
    // Whether a second connection may read while this one writes, without holding it up; connects.
    bool ReadsBesideWriters();

    TDbObjectKind ObjectKind(const QString& name);  // brackets and a "dbo." prefix allowed
    QStringList PrimaryKey(const QString& table);   // column names, empty when none
    QVector<TDbColumn> TableColumns(const QString& table);

private:
    QString m_connectionString;
    std::unique_ptr<TDbProvider> m_provider;
    bool m_inTransaction = false;
    int m_transactionSerial = 0;
};
