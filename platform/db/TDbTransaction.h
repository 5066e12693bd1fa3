// A scoped transaction on one connection: begun when made, kept only by Commit(), rolled back when
// the guard ends otherwise. Relies on TDbConnection for the provider's own begin, commit and rollback.
#pragma once

#include <QString>

class TDbConnection;

class TDbTransaction {
public:
    // Begins a transaction, or joins the one already running on the connection (which then decides).
    // Throws EDatabaseError with the database's message when it cannot begin.
    explicit TDbTransaction(TDbConnection& db);
    // Rolls back unless committed; never throws, since it runs while another error unwinds.
    ~TDbTransaction();
    TDbTransaction(const TDbTransaction&) = delete;
    TDbTransaction& operator=(const TDbTransaction&) = delete;

    // Keeps what the transaction wrote. Throws when the database refuses, or EndedMessage() when the
    // connection closed meanwhile (which rolled everything back).
    void Commit();

    static QString EndedMessage();

private:
    TDbConnection& m_db;
    bool m_owner = false;  // false: joined an outer transaction
    bool m_committed = false;
    int m_serial = 0;  // which of the connection's transactions this is
};
