// Reading a result's rows into a fresh store (TRowStore): all of them when a data set opens, and when
// it refreshes, the fresh version of each row it holds, matched by key. Works on packed rows and a
// cursor; knows nothing of data sets.
#pragma once

#include <QByteArray>
#include <QVector>
#include <functional>
#include <utility>
#include <vector>

class TDbCursor;
class TRowStore;

class TRowReader {
public:
    // key: the columns of the table's primary key; empty when the result has none (a view, a join).
    TRowReader(QVector<int> key, int columns) : m_key(std::move(key)), m_columns(columns) {}

    // Every row of the cursor, in its order.
    std::vector<const char*> ReadAll(TDbCursor& cursor, TRowStore& store) const;
    // With a key: the fresh version of each held row, in the order held; rows added since are not
    // taken in, rows gone from the database drop out. Without one there is nothing to match by,
    // and the whole result is taken.
    std::vector<const char*> Resync(TDbCursor& cursor, const std::vector<const char*>& held,
                                    TRowStore& store) const;

    // What identifies a row across a resync: its key cells, or without a key its whole record.
    QByteArray Identity(const char* row) const;
    // Accepts the fresh version of row (by identity); an empty function when there is no row.
    std::function<bool(const char*)> Finder(const char* row) const;

private:
    QVector<int> m_key;
    int m_columns;
};
