// The transaction guard: the connection counts its transactions, so a guard outliving the one it
// began (the connection closed in between) neither commits nor rolls back another.
#include "TDbTransaction.h"

#include "Exception.h"
#include "TDbConnection.h"

TDbTransaction::TDbTransaction(TDbConnection& db) : m_db(db) {
    if (m_db.InTransaction()) {
        m_serial = m_db.TransactionSerial();
        return;
    }
    m_db.BeginTransaction();
    m_owner = true;
    m_serial = m_db.TransactionSerial();
}

TDbTransaction::~TDbTransaction() {
    if (!m_owner || m_committed || !m_db.InTransaction() || m_db.TransactionSerial() != m_serial)
        return;
    try {
        m_db.RollbackTransaction();
    } catch (...) {
        // The error being unwound is what the user must see; a rollback that fails leaves the
        // transaction to the database, which undoes it when the connection ends.
    }
}

void TDbTransaction::Commit() {
    if (!m_db.InTransaction() || m_db.TransactionSerial() != m_serial)
        throw EDatabaseError(EndedMessage());
    if (m_owner)
        m_db.CommitTransaction();
    m_committed = true;
}

QString TDbTransaction::EndedMessage() {
    return QStringLiteral("The transaction ended with its connection; nothing of it was written.");
}
