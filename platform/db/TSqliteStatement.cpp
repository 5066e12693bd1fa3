// Finalizing a prepared statement; sqlite3_finalize accepts a statement whose last step failed.
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
