// The packed snapshot of a data set: rows are records of tagged cells laid end to end in large
// blocks (no allocation per row or cell); a row is reached by a pointer to its record. An edit
// writes a new version of the row and the row's pointer moves to it; old versions stay until
// the store is cleared (a refresh or a reopen builds a fresh store).
#pragma once

#include <QVariant>
#include <QVector>
#include <memory>
#include <vector>

#include "TDbTypes.h"

class TDbCursor;

class TRowStore {
public:
    TRowStore() = default;
    TRowStore(TRowStore&&) noexcept = default;
    TRowStore& operator=(TRowStore&&) noexcept = default;

    // Packs the row the cursor is on (its first columns cells).
    const char* AddFromCursor(const TDbCursor& cursor, int columns);
    // Packs values given as QVariants (an edited or inserted row); types say how numbers are kept.
    const char* AddValues(const QVector<QVariant>& values, const QVector<QMetaType::Type>& types);
    // Copies a packed row of another store.
    const char* AddCopy(const char* row, int columns);
    void Clear();
    size_t BytesReserved() const { return m_reserved; }

    // A cell of a packed row; text points into the store.
    static TDbValue Cell(const char* row, int column);
    static QVariant Value(const char* row, int column, QMetaType::Type type);
    // Every cell as stored, as the originals a write-back finds the row by.
    static QVector<QVariant> RawValues(const char* row, int columns);
    static QVariant ToVariant(const TDbValue& cell, QMetaType::Type type);
    // Null first, numbers by value before text, text by UTF-8 bytes (code point order).
    static int Compare(const TDbValue& a, const TDbValue& b);
    // Appends a cell in its packed form (row identities for resynchronising compare these bytes).
    static void AppendCell(QByteArray& bytes, const TDbValue& cell);
    // The bytes of the cells of one row, end to end (identity of a row for resynchronising).
    static int RecordSize(const char* row, int columns);

private:
    char* Reserve(size_t bytes);
    void Commit(size_t used) {
        m_free -= used;
        m_next += used;
    }

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_next = nullptr;
    size_t m_free = 0;
    size_t m_reserved = 0;
};
