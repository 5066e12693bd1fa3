// A result fetched through QODBC, forward only. Base table and column come from the driver
// (SQL_DESC_BASE_TABLE_NAME / SQL_DESC_BASE_COLUMN_NAME) where it knows them, else stay empty.
#pragma once

#include <QByteArray>
#include <QSqlQuery>

#include "TDbCursor.h"

class TOdbcCursor : public TDbCursor {
public:
    explicit TOdbcCursor(QSqlQuery query);

    const QVector<TDbColumn>& Columns() const override { return m_columns; }
    bool Next() override;
    TDbValue Value(int column) const override { return m_cells[column]; }

private:
    QSqlQuery m_query;
    QVector<TDbColumn> m_columns;
    QVector<TDbValue> m_cells;
    QVector<QByteArray> m_text;  // the bytes text cells point into, per column
};
