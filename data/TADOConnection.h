// The data module's one connection. Connected at creation and kept; while it is not connected,
// every step that needs the database connects it first (a failed start is retried there).
#pragma once

#include <QObject>
#include <memory>

class TDbConnection;

class TADOConnection : public QObject {
    Q_OBJECT
public:
    TADOConnection(QObject* owner, const QString& name);
    ~TADOConnection() override;

    QString ConnectionString() const;
    void SetConnectionString(const QString& connectionString);
    bool LoginPrompt() const { return false; }
    bool KeepConnection() const { return true; }

    void Open();  // throws EDatabaseError; no-op when connected
    void Close();
    bool Connected() const;
    // Whether the embedded engine serves the connection string (else ODBC); asks the database nothing.
    bool IsEmbedded() const;
    // Connects when not connected, then returns the database interface.
    TDbConnection& Database();
    // How often a data set or statement asked for the database (benchmarks check that following
    // a master asks for nothing).
    qint64 DatabaseRequests() const { return m_requests; }

private:
    qint64 m_requests = 0;
    std::unique_ptr<TDbConnection> m_db;
    QString m_connectionString;
};
