// The index order of a snapshot: rows sorted ascending by one column (stable, so rows with one key
// keep the database's order), the place of a new row in that order, and the contiguous run of rows
// with one key found by binary search. Works on packed rows (TRowStore); needs no database.
#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QVariant>
#include <utility>
#include <vector>

#include "TDbTypes.h"

class TRowOrder {
public:
    TRowOrder() = default;  // no index: rows stay in the database's order
    TRowOrder(int field, QMetaType::Type type) : m_field(field), m_type(type) {}

    bool Active() const { return m_field >= 0; }
    int Field() const { return m_field; }

    void Sort(std::vector<const char*>& rows) const;
    bool IsSorted(const std::vector<const char*>& rows) const;
    // Where a row goes among sorted rows so that they stay sorted: after those with its key.
    size_t InsertPosition(const std::vector<const char*>& rows, const char* row) const;
    // The rows whose column equals key, compared as values of the column's type: [first, second).
    // A null key finds the null cells, which sort first.
    std::pair<size_t, size_t> Range(const std::vector<const char*>& rows, const QVariant& key) const;
    // Whether two values are one key of the column.
    bool SameKey(const QVariant& a, const QVariant& b) const;

private:
    // A value as a cell of the column: a number for a numeric column (text that is no number stays
    // text, which matches no number), text otherwise; text keeps its bytes in storage.
    TDbValue KeyCell(const QVariant& value, QByteArray& storage) const;

    int m_field = -1;
    QMetaType::Type m_type = QMetaType::QString;
};
