// Finalizing a prepared statement (sqlite3_finalize accepts one whose last step failed) and the
// engine's failure messages.
#include "TSqliteStatement.h"

#include <sqlite3.h>

TSqliteStatement& TSqliteStatement::operator=(TSqliteStatement&& other) noexcept {
    if (this != &other) {
        Finalize();
        m_statement = other.m_statement;
        other.m_statement = nullptr;
    }
    return *this;
}

void TSqliteStatement::Finalize() {
    if (m_statement)
        sqlite3_finalize(m_statement);
    m_statement = nullptr;
}

QString SqliteErrorMessage(sqlite3* db) {
    const QString text = QString::fromUtf8(sqlite3_errmsg(db));
    const int code = sqlite3_errcode(db) & 0xff;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return QStringLiteral(
                   "The database is in use by another program, which kept it locked; nothing was "
                   "read or written. Try again when that program has finished (%1)")
            .arg(text);
    return text;
}
