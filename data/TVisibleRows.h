// Which stored rows a data set shows, and where its current row stands: every row in index order,
// the range of one key, the filter, the place of a row being inserted, the current row and its
// Bof/Eof edges (invariants 1-3 of TVisibleRows.cpp). Holds pointers into the data set's TRowStore,
// which keeps them alive; needs no database.
#pragma once

#include <QVariant>
#include <functional>
#include <vector>

#include "TRowFilter.h"
#include "TRowOrder.h"

class TVisibleRows {
public:
    // Where the current row stands; a move that changes it is told to the controls.
    struct TPosition {
        int Cur = -1;
        bool Bof = true;
        bool Eof = true;
        bool operator==(const TPosition& o) const { return Cur == o.Cur && Bof == o.Bof && Eof == o.Eof; }
        bool operator!=(const TPosition& o) const { return !(*this == o); }
    };

    // A fresh snapshot's rows in the database's order, with no index, range or filter; the first
    // row current.
    void Reset(std::vector<const char*> rows);
    void Clear();  // no rows at all (a closed data set)
    // Rows read later, added after the last: only while no index, range, filter or new row is in
    // force; the current row stays.
    void Append(const std::vector<std::vector<const char*>>& pieces);
    // A refresh's rows in place of those held: the index, range and filter in force apply to them;
    // the first visible row isCurrent accepts becomes current, otherwise the one at the same place
    // (also when isCurrent is empty).
    void Replace(std::vector<const char*> rows, const std::function<bool(const char*)>& isCurrent);

    const std::vector<const char*>& All() const { return m_rows; }  // every stored row, in order
    int Count() const;                                              // the visible rows, a new row counted
    // The stored row shown as visible row v (0 <= v < Count()); nullptr for the new row.
    const char* At(int v) const;
    const char* Current() const;  // nullptr when there is none or it is the new row
    int Cur() const { return m_cur; }
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    TPosition Position() const { return {m_cur, m_bof, m_eof}; }

    void First();
    void Last();
    int MoveBy(int distance);  // the distance actually moved

    // Each of these re-narrows the rows and makes the first visible row current.
    const TRowOrder& Order() const { return m_order; }
    void SetOrder(const TRowOrder& order);  // sorts the rows (stable); a range is found again by its key
    void SetRange(const QVariant& key);     // only the rows whose index value is key; needs an order
    void ClearRange();
    void SetFilter(TRowFilter bound);  // its columns bound; an empty filter shows every row

    // A new row, not stored yet, shown before the current row or after the last; it becomes current.
    bool HasNewRow() const { return m_insertAt >= 0; }
    void PlaceNewRow(bool append);
    void DropNewRow();                  // cancelled: the row it stood on is current again
    void StoreNewRow(const char* row);  // written: stored at its place, current when still visible
    // The current row written: its new version takes its place, and the rows are sorted again when
    // its index value changed (the current row follows it while it stays visible).
    void ReplaceCurrent(const char* row);
    void EraseCurrent();  // deleted: the row after it becomes current, or the new last one

    void CheckInvariants() const;  // the numbered invariants; only where Q_ASSERT is on

private:
    size_t ShownCount() const;  // visible stored rows, the new row not counted
    long Stored(int v) const;   // the index into m_rows of visible row v; -1 for the new row
    void Rearrange();           // sorts again, finds the range again, filters again
    void Narrow();              // filters the rows of the range again
    void FindRange();
    int Find(const std::function<bool(const char*)>& accepts) const;
    void Reseat(int wanted, bool deletedAtEnd);

    std::vector<const char*> m_rows;
    TRowOrder m_order;
    bool m_ranged = false;
    QVariant m_rangeKey;
    size_t m_rangeBegin = 0;
    size_t m_rangeEnd = 0;
    TRowFilter m_filter;
    std::vector<int> m_filtered;  // indexes into m_rows of the rows that pass, when filtering
    int m_insertAt = -1;          // visible index of the new row
    int m_cur = -1;
    bool m_bof = true;
    bool m_eof = true;
};
