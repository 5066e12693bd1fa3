// The data module's one connection over the database interface. Every data set reaches the
// database through Database(), which connects first when not connected: a failed start is
// retried by the next step that needs the database.
#include "TADOConnection.h"

#include "Exception.h"
#include "TDbConnection.h"

TADOConnection::TADOConnection(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

TADOConnection::~TADOConnection() = default;

QString TADOConnection::ConnectionString() const {
    return m_connectionString;
}

void TADOConnection::SetConnectionString(const QString& connectionString) {
    if (connectionString == m_connectionString && m_db)
        return;
    if (m_db)
        m_db->Close();
    m_connectionString = connectionString;
    m_db = std::make_unique<TDbConnection>(connectionString);
}

void TADOConnection::Open() {
    if (!m_db)
        throw EDatabaseError(objectName() + QStringLiteral(": Missing ConnectionString"));
    m_db->Open();
}

void TADOConnection::Close() {
    if (m_db)
        m_db->Close();
}

bool TADOConnection::Connected() const {
    return m_db && m_db->Connected();
}

bool TADOConnection::IsEmbedded() const {
    return m_db && m_db->IsEmbedded();
}

TDbConnection& TADOConnection::Database() {
    ++m_requests;
    if (!Connected())
        Open();
    return *m_db;
}
