// A result of the embedded engine, stepped on the connection's own handle. Columns come from the
// prepared statement (declared type, origin table and column); a column without a declared type (an
// expression) takes the type of its value in the first row, which is therefore stepped before Next().
#pragma once

#include "TDbCursor.h"
#include "TSqliteStatement.h"

class TSqliteProvider;

class TSqliteCursor : public TDbCursor {
public:
    TSqliteCursor(TSqliteProvider* provider, TSqliteStatement statement);
    ~TSqliteCursor() override;

    const QVector<TDbColumn>& Columns() const override { return m_columns; }
    bool Next() override;
    TDbValue Value(int column) const override;

    // The connection closes: the statement goes now, and the cursor reports no more rows.
    void Detach();

private:
    bool Step();

    TSqliteProvider* m_provider;
    TSqliteStatement m_statement;
    QVector<TDbColumn> m_columns;
    bool m_firstPending = false;  // the first row was stepped to learn column types, not yet handed out
    bool m_firstHasRow = false;
    bool m_done = false;
};
