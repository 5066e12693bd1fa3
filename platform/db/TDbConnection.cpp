// The connection facade: maps the connection string once, makes the provider that serves it on the
// first Open, and hands every call on with bare object names.
#include "TDbConnection.h"

#include "Exception.h"
#include "TDbConnectionString.h"
#include "TDbCursor.h"
#include "TOdbcProvider.h"
#include "TSqliteProvider.h"
#include "TTsqlDialect.h"

namespace {

TDbConnection::TProviderWrapper& ProviderWrapper() {
    static TDbConnection::TProviderWrapper wrapper;
    return wrapper;
}

// A NUL character ends a statement's text for SQLite (a literal holding one is cut there and refused
// with a puzzling message), and a bound text parameter holding one is cut there by the ODBC path
// without a word. The program's own statements hold none, so a NUL always comes from a value.
void RefuseNulCharacters(const QString& statement, const QVector<QVariant>& params) {
    bool nul = statement.contains(QChar(0));
    for (const QVariant& p : params)
        nul = nul || (p.typeId() == QMetaType::QString && p.toString().contains(QChar(0)));
    if (nul)
        throw EDatabaseError(
            QStringLiteral("A value holds a character that the database cannot take (the NUL character, "
                           "code 0); nothing was read or written. Remove that character and try again."));
}

}  // namespace

void TDbConnection::SetProviderWrapper(TProviderWrapper wrapper) {
    ProviderWrapper() = std::move(wrapper);
}

TDbConnection::TDbConnection(QString connectionString) : m_connectionString(std::move(connectionString)) {}

TDbConnection::~TDbConnection() = default;

void TDbConnection::Open() {
    if (m_provider && m_provider->Connected())
        return;
    if (!m_provider) {
        const TDbTarget target = MapConnectionString(m_connectionString);
        switch (target.Kind) {
            case TDbTarget::Invalid:
                throw EDatabaseError(target.Error);
            case TDbTarget::Embedded:
                m_provider = std::make_unique<TSqliteProvider>(target.Catalog, target.File);
                break;
            case TDbTarget::SqlServer:
            case TDbTarget::OdbcDirect:
                m_provider = std::make_unique<TOdbcProvider>(target);
                break;
        }
        if (ProviderWrapper())
            m_provider = ProviderWrapper()(std::move(m_provider));
    }
    m_provider->Open();
}

void TDbConnection::Close() {
    m_inTransaction = false;
    if (m_provider)
        m_provider->Close();
}

bool TDbConnection::Connected() const {
    return m_provider && m_provider->Connected();
}

bool TDbConnection::IsEmbedded() const {
    return MapConnectionString(m_connectionString).Kind == TDbTarget::Embedded;
}

std::unique_ptr<TDbCursor> TDbConnection::Select(const QString& statement, const QVector<QVariant>& params) {
    RefuseNulCharacters(statement, params);
    Open();
    return m_provider->Select(statement, params);
}

qint64 TDbConnection::Execute(const QString& statement, const QVector<QVariant>& params) {
    RefuseNulCharacters(statement, params);
    Open();
    return m_provider->Execute(statement, params);
}

bool TDbConnection::ReadsBesideWriters() {
    Open();
    return m_provider->ReadsBesideWriters();
}

TDbInserted TDbConnection::ExecuteInsert(const QString& statement, const QVector<QVariant>& params) {
    RefuseNulCharacters(statement, params);
    Open();
    return m_provider->ExecuteInsert(statement, params);
}

void TDbConnection::BeginTransaction() {
    // TDbTransaction joins a transaction in progress instead of beginning a second one.
    Q_ASSERT_X(!m_inTransaction, "TDbConnection", "transactions do not nest");
    Open();
    m_provider->BeginTransaction();
    m_inTransaction = true;
    ++m_transactionSerial;
}

void TDbConnection::CommitTransaction() {
    // TDbTransaction commits only the transaction it began, while its serial is still current; Close()
    // ends the transaction with the connection, so one in progress has an open connection.
    Q_ASSERT_X(m_inTransaction && Connected(), "TDbConnection", "committing the transaction in progress");
    m_provider->CommitTransaction();
    m_inTransaction = false;
}

void TDbConnection::RollbackTransaction() {
    if (!m_inTransaction)
        return;
    // Whatever the database answers, the transaction is over for this connection.
    m_inTransaction = false;
    if (Connected())
        m_provider->RollbackTransaction();
}

bool TDbConnection::IsUpdatable(const QString& name) {
    Open();
    return m_provider->IsUpdatable(BareObjectName(name));
}

TDbObjectKind TDbConnection::ObjectKind(const QString& name) {
    Open();
    return m_provider->ObjectKind(BareObjectName(name));
}

QStringList TDbConnection::PrimaryKey(const QString& table) {
    Open();
    return m_provider->PrimaryKey(BareObjectName(table));
}

QVector<TDbColumn> TDbConnection::TableColumns(const QString& table) {
    Open();
    return m_provider->TableColumns(BareObjectName(table));
}
