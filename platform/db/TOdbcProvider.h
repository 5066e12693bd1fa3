// The ODBC provider (QODBC over unixODBC): SQL Server on another computer through the first installed
// SQL Server driver, with a trusted connection (Kerberos) and a short login time-out. A DBMS that
// reports itself as SQLite (the SQLite ODBC driver, used by the tests) gets the same T-SQL rewrite as
// the embedded engine; SQL Server gets every statement unchanged.
#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "TDbConnectionString.h"
#include "TDbProvider.h"
#include "TRetryPace.h"

class QSqlDatabase;
class QSqlQuery;

class TOdbcProvider : public TDbProvider {
public:
    explicit TOdbcProvider(TDbTarget target);
    ~TOdbcProvider() override;

    void Open() override;
    void Close() override;
    bool Connected() const override { return m_open; }
    std::unique_ptr<TDbCursor> Select(const QString& statement, const QVector<QVariant>& params) override;
    qint64 Execute(const QString& statement, const QVector<QVariant>& params) override;
    TDbInserted ExecuteInsert(const QString& statement, const QVector<QVariant>& params) override;
    // The identity a select of one value returns; null for none or 0.
    static QVariant TakeIdentity(QSqlQuery& query, const QString& select);
    void BeginTransaction() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;
    bool IsUpdatable(const QString& name) override;
    bool ReadsBesideWriters() override;
    TDbObjectKind ObjectKind(const QString& name) override;
    QStringList PrimaryKey(const QString& table) override;
    QVector<TDbColumn> TableColumns(const QString& table) override;

    // The SQL Server drivers we can use, best first.
    static QStringList PreferredDrivers();
    // Names of the installed ODBC drivers (odbcinst.ini).
    static QStringList InstalledDrivers();
    // The ODBC connection string for a SQL Server target; throws when no driver is installed.
    static QString SqlServerConnectionString(const TDbTarget& target);

    // Seconds a connection attempt waits for the server before it fails.
    static constexpr int kLoginTimeoutSeconds = 5;
    static constexpr int kQuickRetrySeconds = 1;  // right after an attempt failed

private:
    QSqlDatabase Database() const;
    QString Dialect(const QString& statement) const;
    // Runs a statement on the query, with its values bound; throws the driver's message.
    void Run(QSqlQuery& query, const QString& statement, const QVector<QVariant>& params);
    bool HasColumn(const QString& table, const QString& column);

    TDbTarget m_target;
    QString m_qtName;
    bool m_open = false;
    TRetryPace m_pace;
    bool m_sqlite = false;                    // the DBMS behind the driver is SQLite
    QHash<QString, QSet<QString>> m_columns;  // lower-case table -> its lower-case column names
};
