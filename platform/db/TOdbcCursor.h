// A result fetched through QODBC, forward only. Base table and column come from the driver
// (SQL_DESC_BASE_TABLE_NAME / SQL_DESC_BASE_COLUMN_NAME) where it knows them, else stay empty.
#pragma once

#include <QByteArray>
#include <QSqlQuery>
#include <functional>

#include "TDbCursor.h"

class TOdbcCursor : public TDbCursor {
public:
    // hasColumn tells whether a table has a column: a base column the driver names must pass it,
    // else the driver's metadata is not trusted (the SQLite ODBC driver names the alias).
    using THasColumn = std::function<bool(const QString& table, const QString& column)>;
    TOdbcCursor(QSqlQuery query, const THasColumn& hasColumn);

    const QVector<TDbColumn>& Columns() const override { return m_columns; }
    bool Next() override;
    TDbValue Value(int column) const override { return m_cells[column]; }

private:
    QSqlQuery m_query;
    QVector<TDbColumn> m_columns;
    QVector<TDbValue> m_cells;
    QVector<QByteArray> m_text;  // the bytes text cells point into, per column
};
