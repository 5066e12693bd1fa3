// Rows are matched by the packed bytes of their key cells (TRowStore::AppendCell), so a key compares
// as the database stored it, type and all.
#include "TRowReader.h"

#include <QHash>

#include "TDbCursor.h"
#include "TRowStore.h"

std::vector<const char*> TRowReader::ReadAll(TDbCursor& cursor, TRowStore& store) const {
    std::vector<const char*> rows;
    while (cursor.Next())
        rows.push_back(store.AddFromCursor(cursor, m_columns));
    return rows;
}

std::vector<const char*> TRowReader::Resync(TDbCursor& cursor, const std::vector<const char*>& held,
                                            TRowStore& store) const {
    if (m_key.isEmpty())
        return ReadAll(cursor, store);
    QHash<QByteArray, size_t> place;
    place.reserve(int(held.size()));
    for (size_t i = 0; i < held.size(); ++i)
        place.insert(Identity(held[i]), i);
    std::vector<const char*> fresh(held.size(), nullptr);
    QByteArray bytes;
    while (cursor.Next()) {
        bytes.clear();
        for (int k : m_key)
            TRowStore::AppendCell(bytes, cursor.Value(k));
        const auto it = place.constFind(bytes);
        if (it != place.constEnd())
            fresh[*it] = store.AddFromCursor(cursor, m_columns);
    }
    std::vector<const char*> rows;
    for (const char* row : fresh) {
        if (row)
            rows.push_back(row);
    }
    return rows;
}

QByteArray TRowReader::Identity(const char* row) const {
    if (m_key.isEmpty())
        return QByteArray(row, TRowStore::RecordSize(row, m_columns));
    QByteArray bytes;
    for (int k : m_key)
        TRowStore::AppendCell(bytes, TRowStore::Cell(row, k));
    return bytes;
}

std::function<bool(const char*)> TRowReader::Finder(const char* row) const {
    if (!row)
        return {};
    return [this, id = Identity(row)](const char* fresh) { return Identity(fresh) == id; };
}
