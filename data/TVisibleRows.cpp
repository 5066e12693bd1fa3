// The visible rows of a data set and its current row. Relies on TRowOrder for sorting and the range
// search, TRowFilter for the filter and TRowStore's cell order; the data set says when to change.
//
// Invariants, checked by CheckInvariants() at the end of every change made here:
//   1. With an index order the rows are sorted ascending by its column (stable, so rows with one key
//      keep the database's order).
//   2. Visible row v is m_rows[RangeBegin + v], or m_rows[m_filtered[v]] when filtering (ascending
//      indexes inside the range). A range exists only with an index order and is exactly the rows
//      of its key, Order.Range(rows, key). While a new row is placed, visible row InsertAt is that
//      row (0 <= InsertAt <= the stored rows shown) and the later ones shift by one.
//   3. Cur is -1 exactly when no row is visible, otherwise 0 <= Cur < Count(); with a new row Cur
//      is it. Bof and Eof say where the last move stopped: Bof only at the first row, Eof only at
//      the last, both when no row is visible, neither at a new row (placing it is no move).
#include "TVisibleRows.h"

#include <algorithm>

#include "TRowStore.h"

void TVisibleRows::Reset(std::vector<const char*> rows) {
    m_rows = std::move(rows);
    m_order = TRowOrder();
    m_ranged = false;
    m_rangeKey = QVariant();
    m_filter = TRowFilter();
    m_filtered.clear();
    m_insertAt = -1;
    First();
}

void TVisibleRows::Append(const std::vector<std::vector<const char*>>& pieces) {
    Q_ASSERT_X(!m_order.Active() && !m_ranged && m_filter.IsEmpty() && m_insertAt < 0, "TVisibleRows",
               "rows are added at the end only while every row is shown in the database's order");
    const bool wasEmpty = m_rows.empty();
    // Exactly as many as there are: many data sets grow at once, and a doubled capacity each would
    // hold as much again unused.
    size_t count = m_rows.size();
    for (const auto& piece : pieces)
        count += piece.size();
    m_rows.reserve(count);
    for (const auto& piece : pieces)
        m_rows.insert(m_rows.end(), piece.begin(), piece.end());
    if (wasEmpty)
        First();
    else
        m_eof = false;  // the last row has rows after it now
}

void TVisibleRows::Clear() {
    Reset({});
    m_rows.shrink_to_fit();
}

void TVisibleRows::Replace(std::vector<const char*> rows, const std::function<bool(const char*)>& isCurrent) {
    Q_ASSERT_X(!HasNewRow(), "TVisibleRows", "a refresh leaves a new row first (CheckBrowseMode)");
    const int wanted = m_cur;
    m_rows = std::move(rows);
    Rearrange();
    const int found = Find(isCurrent);
    Reseat(found >= 0 ? found : wanted, false);
}

size_t TVisibleRows::ShownCount() const {
    if (!m_filter.IsEmpty())
        return m_filtered.size();
    if (m_ranged)
        return m_rangeEnd - m_rangeBegin;
    return m_rows.size();
}

int TVisibleRows::Count() const {
    return int(ShownCount()) + (HasNewRow() ? 1 : 0);
}

long TVisibleRows::Stored(int v) const {
    if (HasNewRow()) {
        if (v == m_insertAt)
            return -1;
        if (v > m_insertAt)
            --v;
    }
    if (!m_filter.IsEmpty())
        return m_filtered[size_t(v)];
    return long(m_ranged ? m_rangeBegin + size_t(v) : size_t(v));
}

const char* TVisibleRows::At(int v) const {
    const long stored = Stored(v);
    return stored < 0 ? nullptr : m_rows[size_t(stored)];
}

const char* TVisibleRows::Current() const {
    return m_cur < 0 ? nullptr : At(m_cur);
}

// ---- moving --------------------------------------------------------------------------------

void TVisibleRows::First() {
    const int count = Count();
    m_cur = count > 0 ? 0 : -1;
    m_bof = true;
    m_eof = count == 0;
    CheckInvariants();
}

void TVisibleRows::Last() {
    const int count = Count();
    m_cur = count - 1;
    m_eof = true;
    m_bof = count == 0;
    CheckInvariants();
}

int TVisibleRows::MoveBy(int distance) {
    const int count = Count();
    int moved = 0;
    if (count == 0) {
        m_bof = m_eof = true;
    } else if (distance != 0) {
        // Counted wide: a distance of INT_MAX means "as far as there are rows".
        const int target = int(std::clamp<qint64>(qint64(m_cur) + distance, 0, count - 1));
        moved = target - m_cur;
        if (distance > 0) {
            m_bof = false;
            m_eof = moved < distance;
        } else {
            m_eof = false;
            m_bof = moved > distance;
        }
        m_cur = target;
    }
    CheckInvariants();
    return moved;
}

// After the rows changed under the current row (a write, a cancelled new row, a delete, a refresh):
// wanted becomes current, clamped to the rows there are. A change of rows is no move, so an edge
// stays set only where the current row still stands at it. A delete of the last row is the one
// exception: the rows ended under the user as they do for a Next that cannot go further, so Eof is
// set and the navigator offers no Next. A refresh that finds the current row gone keeps the edges:
// another program's delete is not the user's move.
void TVisibleRows::Reseat(int wanted, bool deletedAtEnd) {
    const int count = Count();
    m_cur = count == 0 ? -1 : std::clamp(wanted, 0, count - 1);
    m_bof = count == 0 || (m_bof && m_cur == 0);
    m_eof = count == 0 || (m_eof && m_cur == count - 1) || (deletedAtEnd && wanted >= count);
}

int TVisibleRows::Find(const std::function<bool(const char*)>& accepts) const {
    if (!accepts)
        return -1;
    const int count = Count();
    for (int v = 0; v < count; ++v) {
        const char* row = At(v);
        if (row && accepts(row))
            return v;
    }
    return -1;
}

// ---- index order, range and filter ---------------------------------------------------------

void TVisibleRows::Rearrange() {
    if (m_order.Active()) {
        m_order.Sort(m_rows);
        FindRange();  // a detail keeps its condition
    }
    Narrow();
}

void TVisibleRows::FindRange() {
    if (!m_ranged)
        return;
    Q_ASSERT_X(m_order.Active(), "TVisibleRows", "invariant 2: a range is taken only of sorted rows");
    const std::pair<size_t, size_t> range = m_order.Range(m_rows, m_rangeKey);
    m_rangeBegin = range.first;
    m_rangeEnd = range.second;
}

void TVisibleRows::Narrow() {
    m_filtered.clear();
    if (m_filter.IsEmpty())
        return;
    const size_t begin = m_ranged ? m_rangeBegin : 0;
    const size_t end = m_ranged ? m_rangeEnd : m_rows.size();
    for (size_t i = begin; i < end; ++i) {
        if (m_filter.Matches(m_rows[i]))
            m_filtered.push_back(int(i));
    }
}

void TVisibleRows::SetOrder(const TRowOrder& order) {
    Q_ASSERT_X(!HasNewRow(), "TVisibleRows", "rows are sorted only while opening, when none is new");
    m_order = order;
    Rearrange();
    First();
}

void TVisibleRows::SetRange(const QVariant& key) {
    Q_ASSERT_X(!HasNewRow(), "TVisibleRows", "a detail leaves its new row before it follows its master");
    // TADOTable sorts by its index column on opening, before it first follows a master.
    Q_ASSERT_X(m_order.Active(), "TVisibleRows", "a range is a run of rows sorted by their key");
    m_ranged = true;
    m_rangeKey = key;
    FindRange();
    Narrow();
    First();
}

void TVisibleRows::ClearRange() {
    Q_ASSERT_X(!HasNewRow(), "TVisibleRows", "a detail leaves its new row before it drops its master");
    m_ranged = false;
    m_rangeKey = QVariant();
    Narrow();
    First();
}

void TVisibleRows::SetFilter(TRowFilter bound) {
    Q_ASSERT_X(!HasNewRow(), "TVisibleRows", "a new row is left before the filter changes");
    m_filter = std::move(bound);
    Narrow();
    First();
}

// ---- the new row and writes ----------------------------------------------------------------

void TVisibleRows::PlaceNewRow(bool append) {
    Q_ASSERT_X(!HasNewRow(), "TVisibleRows", "one new row at a time: inserting leaves the row first");
    m_insertAt = append ? int(ShownCount()) : std::max(m_cur, 0);
    m_cur = m_insertAt;
    m_bof = m_eof = false;
    CheckInvariants();
}

void TVisibleRows::DropNewRow() {
    Q_ASSERT_X(HasNewRow(), "TVisibleRows", "only a data set inserting drops its new row");
    const int wanted = m_cur;
    m_insertAt = -1;
    Reseat(wanted, false);
    CheckInvariants();
}

void TVisibleRows::StoreNewRow(const char* row) {
    Q_ASSERT_X(HasNewRow(), "TVisibleRows", "only a data set inserting stores a new row");
    // Where the new row goes among all rows: before the stored row it was inserted in front of, or
    // after the last row shown. In index order its key decides, after the rows with its key.
    size_t at;
    if (m_order.Active()) {
        at = m_order.InsertPosition(m_rows, row);
    } else if (size_t(m_insertAt) < ShownCount()) {
        at = size_t(Stored(m_insertAt + 1));  // the row it stood before, now at its visible index
    } else {
        const size_t end = m_ranged ? m_rangeEnd : m_rows.size();
        at = m_filter.IsEmpty() || m_filtered.empty() ? end : size_t(m_filtered.back()) + 1;
    }
    m_rows.insert(m_rows.begin() + long(at), row);
    m_insertAt = -1;
    // Inserted at its key's place the rows are still sorted (invariant 1); the range and the filter
    // are found again around it.
    FindRange();
    Narrow();
    const int found = Find([row](const char* r) { return r == row; });
    Reseat(found >= 0 ? found : m_cur, false);
    CheckInvariants();
}

void TVisibleRows::ReplaceCurrent(const char* row) {
    const long stored = Stored(m_cur);
    Q_ASSERT_X(stored >= 0, "TVisibleRows", "an edited row is a stored row: a new row is stored instead");
    const char* before = m_rows[size_t(stored)];
    m_rows[size_t(stored)] = row;
    // The index value as the database holds it now (a trigger may have changed it too).
    const int f = m_order.Field();
    if (m_order.Active() && TRowStore::Compare(TRowStore::Cell(before, f), TRowStore::Cell(row, f)) != 0) {
        Rearrange();
        const int found = Find([row](const char* r) { return r == row; });
        Reseat(found >= 0 ? found : m_cur, false);
    }
    CheckInvariants();
}

void TVisibleRows::EraseCurrent() {
    const long stored = Stored(m_cur);
    Q_ASSERT_X(stored >= 0, "TVisibleRows", "a new row is dropped, not erased (Delete cancels it)");
    m_rows.erase(m_rows.begin() + stored);
    if (m_ranged)
        --m_rangeEnd;  // invariant 2: the erased row lay inside the range, as every visible row does
    Narrow();
    Reseat(m_cur, true);
    CheckInvariants();
}

void TVisibleRows::CheckInvariants() const {
#if !defined(QT_NO_DEBUG) || defined(QT_FORCE_ASSERTS)
    Q_ASSERT_X(!m_order.Active() || m_order.IsSorted(m_rows), "TVisibleRows", "invariant 1: rows sorted");
    Q_ASSERT_X(!m_ranged || m_order.Active(), "TVisibleRows", "invariant 2: a range only in index order");
    Q_ASSERT_X(!m_ranged || m_order.Range(m_rows, m_rangeKey) == std::make_pair(m_rangeBegin, m_rangeEnd),
               "TVisibleRows", "invariant 2: the range is exactly the rows of its key");
    const size_t begin = m_ranged ? m_rangeBegin : 0, end = m_ranged ? m_rangeEnd : m_rows.size();
    for (size_t i = 0; i < m_filtered.size(); ++i) {
        const size_t row = size_t(m_filtered[i]);
        Q_ASSERT_X(row >= begin && row < end && (i == 0 || m_filtered[i - 1] < m_filtered[i]), "TVisibleRows",
                   "invariant 2: filtered rows ascending inside the range");
    }
    Q_ASSERT_X(m_filtered.empty() || !m_filter.IsEmpty(), "TVisibleRows",
               "invariant 2: filtered rows only with a filter");
    Q_ASSERT_X(m_insertAt <= int(ShownCount()), "TVisibleRows", "invariant 2: the new row among the visible");
    const int count = Count();
    Q_ASSERT_X(count == 0 ? m_cur == -1 : (m_cur >= 0 && m_cur < count), "TVisibleRows",
               "invariant 3: current row visible");
    Q_ASSERT_X(!HasNewRow() || (m_cur == m_insertAt && !m_bof && !m_eof), "TVisibleRows",
               "invariant 3: at the new row, at no edge");
    Q_ASSERT_X(count == 0 ? m_bof && m_eof : (!m_bof || m_cur == 0) && (!m_eof || m_cur == count - 1),
               "TVisibleRows", "invariant 3: an edge only at its end row");
#endif
}
