// Ownership of one prepared statement of the embedded engine: finalized when its owner ends, on
// every path, so that no statement outlives an error or its connection. Relies on sqlite3 only.
#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// The engine's message for the last failure on db; a lock held by another program is said in plain
// words, with the engine's own text after it.
QString SqliteErrorMessage(sqlite3* db);

class TSqliteStatement {
public:
    TSqliteStatement() = default;
    explicit TSqliteStatement(sqlite3_stmt* statement) : m_statement(statement) {}
    ~TSqliteStatement() { Finalize(); }
    TSqliteStatement(TSqliteStatement&& other) noexcept : m_statement(other.m_statement) {
        other.m_statement = nullptr;
    }
    TSqliteStatement& operator=(TSqliteStatement&& other) noexcept;
    TSqliteStatement(const TSqliteStatement&) = delete;
    TSqliteStatement& operator=(const TSqliteStatement&) = delete;

    sqlite3_stmt* Get() const { return m_statement; }
    explicit operator bool() const { return m_statement != nullptr; }
    void Finalize();

private:
    sqlite3_stmt* m_statement = nullptr;
};
