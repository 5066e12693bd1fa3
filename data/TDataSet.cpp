// The data set engine: the packed snapshot (TRowStore), the visible rows (all rows, a range of the
// rows sorted by the index column, narrowed further by a filter), the current row, the edit
// buffer and write-back (TWriteBack). Relies on TADOConnection for the database.
//
// Invariants, checked by CheckInvariants() whenever a public operation that changes the data set
// returns or throws:
//   1. Rows holds one pointer per row the snapshot holds; with an index order the rows are sorted
//      ascending by its column (stable, so rows with one key keep the database's order).
//   2. Visible row v maps to Rows[RangeBegin + v] when not filtered, Rows[FilteredRows[v]] when
//      filtered (ascending indexes inside the range); while inserting, visible row InsertAt is the
//      buffer and later ones shift by one. Inserting exactly when InsertAt >= 0.
//   3. Cur is -1 exactly when no row is visible; otherwise 0 <= Cur < RecordCount(), and while
//      inserting Cur is the new row.
//   4. The edit buffer holds one value and one changed flag per field exactly while editing or
//      inserting; otherwise it is empty and nothing is modified.
//   5. A closed data set holds no rows, fields, buffer or writer; an open one has its writer.
// The checks are compiled in wherever Q_ASSERT is: Debug builds and the test builds (ZIRT_ASSERTS).
#include "TDataSet.h"

#include <QHash>
#include <algorithm>
#include <exception>

#include "Exception.h"
#include "TADOConnection.h"
#include "TDataSource.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TField.h"
#include "TRowFilter.h"
#include "TRowOrder.h"
#include "TRowStore.h"
#include "TWriteBack.h"

struct TDataSet::TPrivate {
    TDataSetState State = dsInactive;
    std::vector<std::unique_ptr<TField>> Fields;
    QHash<QString, int> ByName;  // case-folded name -> field index
    QVector<QMetaType::Type> Types;
    TRowStore Store;
    std::vector<const char*> Rows;

    TRowOrder Order;
    bool Ranged = false;
    size_t RangeBegin = 0;
    size_t RangeEnd = 0;
    bool FilterActive = false;
    std::vector<int> FilteredRows;
    TRowFilter RowFilter;
    QString Filter;
    bool Filtered = false;

    int Cur = -1;
    bool Bof = true;
    bool Eof = true;

    QVector<QVariant> Buffer;  // the row being edited or inserted
    QVector<bool> Changed;     // which buffer values were set since editing began
    bool Modified = false;
    int InsertAt = -1;  // visible index of the row being inserted

    std::unique_ptr<TWriteBack> Writer;

    int Disabled = 0;
    bool PendingEvent = false;
    bool PendingReopen = false;
    QVector<TDataSource*> Sources;

    size_t BaseCount() const {
        if (FilterActive)
            return FilteredRows.size();
        if (Ranged)
            return RangeEnd - RangeBegin;
        return Rows.size();
    }
    // The index into Rows of visible row v; -1 for the row being inserted.
    long Stored(int v) const {
        if (InsertAt >= 0) {
            if (v == InsertAt)
                return -1;
            if (v > InsertAt)
                --v;
        }
        if (FilterActive)
            return FilteredRows[size_t(v)];
        return long(Ranged ? RangeBegin + size_t(v) : size_t(v));
    }
};

// Checks the invariants when the operation that made it ends, by return or by throw: a refused post
// or delete must leave the data set as sound as a successful one.
class TDataSet::TInvariantCheck {
public:
    explicit TInvariantCheck(const TDataSet* dataSet) : m_dataSet(dataSet) {}
    ~TInvariantCheck() { m_dataSet->CheckInvariants(); }

private:
    const TDataSet* m_dataSet;
};

void TDataSet::CheckInvariants() const {
#if !defined(QT_NO_DEBUG) || defined(QT_FORCE_ASSERTS)
    const TPrivate& p = *d;
    if (p.State == dsInactive) {
        Q_ASSERT_X(p.Rows.empty() && p.Fields.empty() && !p.Writer && p.Buffer.isEmpty() && p.Cur == -1 &&
                       p.InsertAt == -1,
                   "TDataSet", "invariant 5: a closed data set holds nothing");
        return;
    }
    Q_ASSERT_X(p.Writer, "TDataSet", "invariant 5: an open data set has its writer");
    Q_ASSERT_X(!p.Order.Active() || p.Order.IsSorted(p.Rows), "TDataSet", "invariant 1: rows sorted");
    Q_ASSERT_X(!p.Ranged || (p.RangeBegin <= p.RangeEnd && p.RangeEnd <= p.Rows.size()), "TDataSet",
               "invariant 2: range inside the rows");
    Q_ASSERT_X(!p.Ranged || p.Order.Range(p.Rows, m_rangeKey) == std::make_pair(p.RangeBegin, p.RangeEnd),
               "TDataSet", "invariant 2: the range is exactly the rows of its key");
    if (p.FilterActive) {
        const size_t begin = p.Ranged ? p.RangeBegin : 0, end = p.Ranged ? p.RangeEnd : p.Rows.size();
        for (size_t i = 0; i < p.FilteredRows.size(); ++i) {
            const size_t row = size_t(p.FilteredRows[i]);
            Q_ASSERT_X(row >= begin && row < end && (i == 0 || p.FilteredRows[i - 1] < p.FilteredRows[i]),
                       "TDataSet", "invariant 2: filtered rows ascending inside the range");
        }
    }
    Q_ASSERT_X((p.State == dsInsert) == (p.InsertAt >= 0) && p.InsertAt <= int(p.BaseCount()), "TDataSet",
               "invariant 2: the new row among the visible rows exactly while inserting");
    const int count = RecordCount();
    Q_ASSERT_X(count == 0 ? p.Cur == -1 : (p.Cur >= 0 && p.Cur < count), "TDataSet",
               "invariant 3: current row visible");
    Q_ASSERT_X(p.State != dsInsert || p.Cur == p.InsertAt, "TDataSet",
               "invariant 3: inserting at the new row");
    if (Editing())
        Q_ASSERT_X(p.Buffer.size() == FieldCount() && p.Changed.size() == FieldCount(), "TDataSet",
                   "invariant 4: one buffer value per field while editing");
    else
        Q_ASSERT_X(p.Buffer.isEmpty() && p.Changed.isEmpty() && !p.Modified, "TDataSet",
                   "invariant 4: no buffer while browsing");
#endif
}

TDataSet::TDataSet(QObject* owner, const QString& name) : QObject(owner), d(std::make_unique<TPrivate>()) {
    setObjectName(name);
}

TDataSet::~TDataSet() {
    // Sources outlive nothing here but may be destroyed later; unbind them so none points at us.
    // Unbinding tells their controls and details that the data set is gone; none of them posts on
    // that (a detail being edited keeps its row), and whatever one throws stays here, since an
    // exception leaving a destructor ends the program. Pending edits are posted, where wanted, by
    // whoever owns the data set before destroying it (the data module at exit).
    const QVector<TDataSource*> sources = d->Sources;
    ClearSnapshot();
    for (TDataSource* source : sources) {
        try {
            source->SetDataSet(nullptr);
        } catch (...) {
        }
    }
}

TADOConnection* TDataSet::Connection() const {
    return m_connection.data();
}

void TDataSet::SetConnection(TADOConnection* connection) {
    m_connection = connection;
}

// ---- opening and closing -------------------------------------------------------------------

void TDataSet::Open() {
    const TInvariantCheck check(this);
    if (Active())
        return;
    TDbConnection& db = Database();
    std::unique_ptr<TDbCursor> cursor = db.Select(SelectStatement());
    const QVector<TDbColumn> columns = cursor->Columns();
    const int n = columns.size();
    TRowStore store;
    std::vector<const char*> rows;
    while (cursor->Next())
        rows.push_back(store.AddFromCursor(*cursor, n));
    cursor.reset();
    rows.shrink_to_fit();

    QVector<TWriteBack::TColumn> writeColumns;
    for (const TDbColumn& c : columns)
        writeColumns.append({c.Name, c.BaseTable, c.BaseColumn, c.Type});
    // Asks the database what it can write; a failure here fails the open before anything changed.
    auto writer = std::make_unique<TWriteBack>(db, WriteTable(), writeColumns);

    d->Store = std::move(store);
    d->Rows = std::move(rows);
    d->Writer = std::move(writer);
    d->Fields.clear();
    d->ByName.clear();
    d->Types.clear();
    for (int i = 0; i < n; ++i) {
        const TDbColumn& c = columns.at(i);
        d->Fields.push_back(
            std::make_unique<TField>(this, i, c.Name, c.Type, c.Size, c.BaseTable, c.BaseColumn));
        const QString key = c.Name.toCaseFolded();
        if (!d->ByName.contains(key))
            d->ByName.insert(key, i);
        d->Types.append(c.Type);
    }
    d->Order = TRowOrder();
    d->Ranged = false;
    d->State = dsBrowse;
    d->InsertAt = -1;
    ResetBuffer();
    try {
        ApplyFilter();  // a filter naming a column the result lacks fails the open
        AfterOpen();
    } catch (...) {
        // Opening that fails leaves the data set closed.
        ClearSnapshot();
        AfterClose();
        throw;
    }
    MoveToFirstVisible();
    NotifyDataSources(TDataEvent::Opened);
}

void TDataSet::ClearSnapshot() {
    d->State = dsInactive;
    d->Rows.clear();
    d->Rows.shrink_to_fit();
    d->Store.Clear();
    d->FilteredRows.clear();
    d->FilterActive = false;
    d->Ranged = false;
    d->Order = TRowOrder();
    d->Cur = -1;
    d->Bof = d->Eof = true;
    ResetBuffer();
    d->InsertAt = -1;
    d->Writer.reset();
    d->Fields.clear();
    d->ByName.clear();
    d->Types.clear();
}

void TDataSet::Close() {
    const TInvariantCheck check(this);
    if (!Active())
        return;
    ClearSnapshot();
    AfterClose();
    NotifyDataSources(TDataEvent::Closed);
}

bool TDataSet::Active() const {
    return d->State != dsInactive;
}

void TDataSet::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

TDataSetState TDataSet::State() const {
    return d->State;
}

// ---- rows and moving -----------------------------------------------------------------------

int TDataSet::RecordCount() const {
    if (!Active())
        return 0;
    return int(d->BaseCount()) + (d->State == dsInsert ? 1 : 0);
}

int TDataSet::RecNo() const {
    return Active() ? d->Cur : -1;
}

void TDataSet::SetRecNo(int index) {
    const TInvariantCheck check(this);
    if (!Active())
        return;
    const int count = RecordCount();
    if (count == 0)
        return;
    index = std::clamp(index, 0, count - 1);
    if (index != d->Cur)
        MoveBy(index - d->Cur);
}

bool TDataSet::Bof() const {
    return !Active() || d->Bof;
}

bool TDataSet::Eof() const {
    return !Active() || d->Eof;
}

void TDataSet::First() {
    const TInvariantCheck check(this);
    CheckActive();
    CheckBrowseMode();
    const int old = d->Cur;
    const bool oldBof = d->Bof, oldEof = d->Eof;
    MoveToFirstVisible();
    if (old != d->Cur || oldBof != d->Bof || oldEof != d->Eof)
        NotifyDataSources(TDataEvent::Scrolled, old);
}

void TDataSet::Last() {
    const TInvariantCheck check(this);
    CheckActive();
    CheckBrowseMode();
    const int old = d->Cur;
    const bool oldBof = d->Bof, oldEof = d->Eof;
    const int count = RecordCount();
    d->Cur = count - 1;
    d->Eof = true;
    d->Bof = count == 0;
    if (old != d->Cur || oldBof != d->Bof || oldEof != d->Eof)
        NotifyDataSources(TDataEvent::Scrolled, old);
}

void TDataSet::Prior() {
    MoveBy(-1);
}

void TDataSet::Next() {
    MoveBy(1);
}

int TDataSet::MoveBy(int distance) {
    const TInvariantCheck check(this);
    CheckActive();
    // Whether the row being left is untouched is known only once its open cell editor is in it.
    UpdateRecord();
    // The distance counts rows as they are shown before the move. An untouched new row is dropped
    // as the move leaves it, and the rows after it close up, so the target is found in the numbering
    // without it: Up from it lands on the row above, Down on the row that followed it.
    const bool dropsNewRow = UntouchedNewRow();
    const int from = d->Cur;
    CheckBrowseMode();
    if (dropsNewRow && distance != 0) {
        const int target = distance > 0 ? from + distance - 1 : from + distance;
        distance = target - d->Cur;
        if (distance == 0) {
            // Already there: the rows closed up onto the target (Up from a row appended at the end).
            NotifyDataSources(TDataEvent::Scrolled, from);
            return 0;
        }
    }
    const int count = RecordCount();
    const int old = d->Cur;
    const bool oldBof = d->Bof, oldEof = d->Eof;
    int moved = 0;
    if (count == 0) {
        d->Bof = d->Eof = true;
    } else if (distance != 0) {
        const int target = std::clamp(d->Cur + distance, 0, count - 1);
        moved = target - d->Cur;
        if (distance > 0) {
            d->Bof = false;
            d->Eof = moved < distance;
        } else {
            d->Eof = false;
            d->Bof = moved > distance;
        }
        d->Cur = target;
    }
    if (old != d->Cur || oldBof != d->Bof || oldEof != d->Eof)
        NotifyDataSources(TDataEvent::Scrolled, old);
    return moved;
}

void TDataSet::MoveToFirstVisible() {
    const int count = RecordCount();
    d->Cur = count > 0 ? 0 : -1;
    d->Bof = true;
    d->Eof = count == 0;
}

// ---- fields --------------------------------------------------------------------------------

int TDataSet::FieldCount() const {
    return int(d->Fields.size());
}

TField* TDataSet::Field(int index) const {
    if (index < 0 || index >= FieldCount())
        return nullptr;
    return d->Fields[size_t(index)].get();
}

TField* TDataSet::FindField(const QString& name) const {
    const auto it = d->ByName.constFind(name.toCaseFolded());
    return it == d->ByName.constEnd() ? nullptr : d->Fields[size_t(*it)].get();
}

TField* TDataSet::FieldByName(const QString& name) const {
    if (TField* field = FindField(name))
        return field;
    throw EDatabaseError(FieldNotFoundMessage(Name(), name));
}

QString TDataSet::FieldNotFoundMessage(const QString& component, const QString& field) {
    return component + QStringLiteral(": Field '") + field + QStringLiteral("' not found");
}

QVariant TDataSet::ValueAt(int row, int field) const {
    if (!Active() || field < 0 || field >= FieldCount() || row < 0 || row >= RecordCount())
        return {};
    if (row == d->Cur && Editing())
        return d->Buffer.at(field);
    const long stored = d->Stored(row);
    if (stored < 0)
        return QVariant(QMetaType(d->Types.at(field)));
    return TRowStore::Value(d->Rows[size_t(stored)], field, d->Types.at(field));
}

bool TDataSet::IsNullAt(int row, int field) const {
    return ValueAt(row, field).isNull();
}

QString TDataSet::DisplayTextAt(int row, int field) const {
    const QVariant v = ValueAt(row, field);
    return TField::FormatValue(v,
                               field >= 0 && field < FieldCount() ? d->Types.at(field) : QMetaType::QString);
}

QVariant TDataSet::FieldValue(int field) const {
    if (!Active() || d->Cur < 0)
        return field >= 0 && field < FieldCount() ? QVariant(QMetaType(d->Types.at(field))) : QVariant();
    return ValueAt(d->Cur, field);
}

void TDataSet::SetFieldValue(int field, const QVariant& value) {
    StoreFieldValue(field, value, true);
}

void TDataSet::StoreFieldValue(int field, const QVariant& value, bool changed) {
    const TInvariantCheck check(this);
    CheckActive();
    if (!Editing())
        throw EInvalidOperation(Name() + QStringLiteral(": Dataset not in edit or insert mode"));
    d->Buffer[field] = value;
    d->Changed[field] = changed;
    // The row is modified while any of its values carries a changed mark.
    d->Modified = changed || d->Changed.contains(true);
    NotifyDataSources(TDataEvent::FieldChanged, field);
}

QVector<QVariant> TDataSet::RawRow(long stored) const {
    QVector<QVariant> values;
    const char* row = d->Rows[size_t(stored)];
    for (int i = 0; i < FieldCount(); ++i)
        values.append(TRowStore::Value(row, i, QMetaType::UnknownType));
    return values;
}

// ---- editing -------------------------------------------------------------------------------

TDbConnection& TDataSet::Database() const {
    if (!m_connection)
        throw EInvalidOperation(Name() + QStringLiteral(": Missing Connection or ConnectionString"));
    return m_connection->Database();
}

bool TDataSet::Editing() const {
    return d->State == dsEdit || d->State == dsInsert;
}

void TDataSet::ResetBuffer() {
    d->Buffer.clear();
    d->Changed.clear();
    d->Modified = false;
}

void TDataSet::CheckActive() const {
    if (!Active())
        throw EInvalidOperation(Name() +
                                QStringLiteral(": Cannot perform this operation on a closed dataset"));
}

void TDataSet::CheckCanModify() const {
    if (!CanModify())
        throw EInvalidOperation(Name() + QStringLiteral(": Cannot modify a read-only dataset"));
}

void TDataSet::CheckCanInsert() const {
    CheckCanModify();
    if (!CanInsert())
        throw EDatabaseError(TWriteBack::JoinInsertDeleteMessage());
}

void TDataSet::CheckCanDelete() const {
    CheckCanModify();
    if (!CanDelete())
        throw EDatabaseError(TWriteBack::JoinInsertDeleteMessage());
}

bool TDataSet::CanModify() const {
    return Active() && d->Writer && d->Writer->CanModify();
}

bool TDataSet::CanInsert() const {
    return CanModify() && !d->Writer->JoinsTables();
}

bool TDataSet::CanDelete() const {
    return CanModify() && !d->Writer->JoinsTables();
}

bool TDataSet::Modified() const {
    return Editing() && d->Modified;
}

bool TDataSet::UntouchedNewRow() const {
    return d->State == dsInsert && !d->Modified;
}

bool TDataSet::FieldModified(int field) const {
    return Modified() && d->Changed.value(field);
}

void TDataSet::RestoreFieldValue(int field, const QVariant& value, bool modified) {
    StoreFieldValue(field, value, modified);
}

void TDataSet::Edit() {
    const TInvariantCheck check(this);
    CheckActive();
    if (Editing())
        return;
    CheckCanModify();
    if (RecordCount() == 0) {
        Insert();
        return;
    }
    ResetBuffer();
    for (int i = 0; i < FieldCount(); ++i)
        d->Buffer.append(ValueAt(d->Cur, i));
    d->Changed = QVector<bool>(FieldCount(), false);
    d->State = dsEdit;
    NotifyDataSources(TDataEvent::StateChanged);
}

void TDataSet::BeginInsert(bool append) {
    const TInvariantCheck check(this);
    CheckActive();
    // Refused before the row being edited is left, so a refusal changes nothing.
    CheckCanInsert();
    CheckBrowseMode();
    const int base = int(d->BaseCount());
    d->InsertAt = append ? base : std::max(d->Cur, 0);
    ResetBuffer();
    for (int i = 0; i < FieldCount(); ++i)
        d->Buffer.append(QVariant(QMetaType(d->Types.at(i))));
    InitNewRow(d->Buffer);
    // Values a new row starts with (the master's key in a detail) do not make it modified.
    d->Changed = QVector<bool>(FieldCount(), false);
    d->State = dsInsert;
    const int old = d->Cur;
    d->Cur = d->InsertAt;
    d->Bof = d->Eof = false;
    NotifyDataSources(TDataEvent::StateChanged);
    NotifyDataSources(TDataEvent::RowsChanged, old);
}

void TDataSet::Insert() {
    BeginInsert(false);
}

void TDataSet::Append() {
    BeginInsert(true);
}

void TDataSet::Post() {
    const TInvariantCheck check(this);
    CheckActive();
    if (!Editing())
        return;
    UpdateRecord();
    WriteRow();
}

void TDataSet::WriteRow() {
    TDbConnection& db = Database();
    const char* written = nullptr;
    if (d->State == dsEdit) {
        const long stored = d->Stored(d->Cur);
        const char* before = d->Rows[size_t(stored)];
        if (d->Modified) {
            // A refusal throws here and leaves the data set editing with the typed values. The row
            // kept is the one the database read back, not the one typed.
            const QVector<QVariant> row = d->Writer->Update(db, RawRow(stored), d->Buffer, d->Changed);
            written = d->Store.AddValues(row, d->Types);
            d->Rows[size_t(stored)] = written;
        } else {
            written = d->Rows[size_t(stored)];
        }
        // The index value as the database holds it now (a trigger may have changed it too).
        const bool keyChanged =
            d->Order.Active() && TRowStore::Compare(TRowStore::Cell(before, d->Order.Field()),
                                                    TRowStore::Cell(written, d->Order.Field())) != 0;
        d->State = dsBrowse;
        ResetBuffer();
        if (keyChanged)
            Reorder(written);
    } else {
        const QVector<QVariant> row = d->Writer->Insert(db, d->Buffer);
        written = d->Store.AddValues(row, d->Types);
        PlaceInsertedRow(written);
        d->State = dsBrowse;
        ResetBuffer();
        d->InsertAt = -1;
        Reorder(written);
    }
    NotifyDataSources(TDataEvent::StateChanged);
    NotifyDataSources(TDataEvent::RowsChanged, d->Cur);
    NotifyDataSources(TDataEvent::Posted, d->Cur);
    AfterBrowse();
}

void TDataSet::PlaceInsertedRow(const char* row) {
    // Where the new row goes among all rows: before the stored row it was inserted in front of.
    size_t at;
    const int base = int(d->BaseCount());
    if (d->InsertAt >= base) {
        if (d->FilterActive)
            at = d->FilteredRows.empty() ? (d->Ranged ? d->RangeEnd : d->Rows.size())
                                         : size_t(d->FilteredRows.back()) + 1;
        else
            at = d->Ranged ? d->RangeEnd : d->Rows.size();
    } else {
        at = d->FilterActive ? size_t(d->FilteredRows[size_t(d->InsertAt)])
                             : (d->Ranged ? d->RangeBegin : 0) + size_t(d->InsertAt);
    }
    if (d->Order.Active())
        at = d->Order.InsertPosition(d->Rows, row);  // invariant 1: at its key's place
    d->Rows.insert(d->Rows.begin() + long(at), row);
    if (d->Ranged && at >= d->RangeBegin && at <= d->RangeEnd)
        ++d->RangeEnd;
    else if (d->Ranged && at < d->RangeBegin) {
        ++d->RangeBegin;
        ++d->RangeEnd;
    }
}

void TDataSet::Reorder(const char* row) {
    // After a write that may have moved the row (a new row, a changed index value): re-sort, narrow
    // again by the condition in force, and keep the row current when it is still visible.
    if (d->Order.Active()) {
        d->Order.Sort(d->Rows);
        if (d->Ranged)
            ApplyRangeKey(m_rangeKey);
    }
    ApplyFilter();
    const int count = RecordCount();
    int found = -1;
    for (int v = 0; v < count; ++v) {
        if (d->Rows[size_t(d->Stored(v))] == row) {
            found = v;
            break;
        }
    }
    d->Cur = count == 0 ? -1 : found >= 0 ? found : std::min(std::max(d->Cur, 0), count - 1);
    d->Bof = count == 0;
    d->Eof = count == 0;
}

void TDataSet::Cancel() {
    const TInvariantCheck check(this);
    if (!Editing())
        return;
    CancelEditing();
    AfterBrowse();
}

void TDataSet::CancelEditing() {
    const bool inserting = d->State == dsInsert;
    d->State = dsBrowse;
    ResetBuffer();
    const int old = d->Cur;
    if (inserting) {
        d->InsertAt = -1;
        const int count = RecordCount();
        d->Cur = count == 0 ? -1 : std::min(d->Cur, count - 1);
        d->Bof = d->Bof || count == 0;
        d->Eof = d->Eof || count == 0;
    }
    NotifyDataSources(TDataEvent::StateChanged);
    NotifyDataSources(TDataEvent::RowsChanged, old);
}

void TDataSet::Delete() {
    const TInvariantCheck check(this);
    CheckActive();
    if (d->State == dsInsert) {
        Cancel();
        return;
    }
    if (RecordCount() == 0)
        throw EInvalidOperation(Name() +
                                QStringLiteral(": Cannot perform this operation on an empty dataset"));
    CheckCanDelete();
    const long stored = d->Stored(d->Cur);
    // The row is deleted as it was read; what was typed into it goes with it. A refusal throws here
    // and the row stays, still being edited with what was typed when it was.
    d->Writer->Delete(Database(), RawRow(stored));
    const bool wasEditing = d->State == dsEdit;
    d->State = dsBrowse;
    ResetBuffer();
    d->Rows.erase(d->Rows.begin() + stored);
    if (d->Ranged) {
        // Invariant 2: the range shrinks by the erased row (which lay inside it).
        --d->RangeEnd;
    }
    ApplyFilter();
    const int count = RecordCount();
    const bool wasLast = d->Cur >= count;
    const int old = d->Cur;
    d->Cur = count == 0 ? -1 : std::min(d->Cur, count - 1);
    d->Bof = count == 0 || (d->Cur == 0 && d->Bof);
    d->Eof = count == 0 || wasLast;
    if (wasEditing)
        NotifyDataSources(TDataEvent::StateChanged);
    NotifyDataSources(TDataEvent::RowsChanged, old);
    AfterBrowse();
}

void TDataSet::CheckBrowseMode() {
    const TInvariantCheck check(this);
    if (!Editing())
        return;
    // What is on screen first: a cell text typed but not yet in its field makes the row modified,
    // and one that does not convert stops here with the row still being edited.
    UpdateRecord();
    if (d->Modified)
        WriteRow();
    else
        Cancel();
}

// ---- refresh -------------------------------------------------------------------------------

void TDataSet::Refresh() {
    const TInvariantCheck check(this);
    CheckActive();
    CheckBrowseMode();
    TDbConnection& db = Database();
    const QVector<int> key = d->Writer->KeyColumns(db);
    const int n = FieldCount();

    const auto keyOfRow = [&](const char* row) {
        QByteArray bytes;
        for (int k : key)
            TRowStore::AppendCell(bytes, TRowStore::Cell(row, k));
        return bytes;
    };
    // What identifies the current row afterwards: its key, or without one its whole record.
    QByteArray currentId;
    const int oldCur = d->Cur;
    if (d->Cur >= 0) {
        const char* row = d->Rows[size_t(d->Stored(d->Cur))];
        currentId = key.isEmpty() ? QByteArray(row, TRowStore::RecordSize(row, n)) : keyOfRow(row);
    }

    std::unique_ptr<TDbCursor> cursor = db.Select(SelectStatement());
    bool sameColumns = cursor->Columns().size() == n;
    for (int i = 0; sameColumns && i < n; ++i)
        sameColumns = cursor->Columns().at(i).Name == d->Fields[size_t(i)]->FieldName();
    if (!sameColumns) {
        // The result's shape changed under us: only a fresh open can describe it.
        cursor.reset();
        Close();
        Open();
        return;
    }

    TRowStore store;
    std::vector<const char*> rows;
    if (!key.isEmpty()) {
        // Resynchronise: re-read the values of the rows held, by key; rows added since the open
        // are not taken in, rows gone from the database drop out.
        QHash<QByteArray, size_t> held;
        held.reserve(int(d->Rows.size()));
        for (size_t i = 0; i < d->Rows.size(); ++i)
            held.insert(keyOfRow(d->Rows[i]), i);
        std::vector<const char*> fresh(d->Rows.size(), nullptr);
        QByteArray bytes;
        while (cursor->Next()) {
            bytes.clear();
            for (int k : key)
                TRowStore::AppendCell(bytes, cursor->Value(k));
            const auto it = held.constFind(bytes);
            if (it != held.constEnd())
                fresh[*it] = store.AddFromCursor(*cursor, n);
        }
        for (const char* row : fresh) {
            if (row)
                rows.push_back(row);
        }
    } else {
        // No key to resynchronise by: run the statement again and take its whole result.
        while (cursor->Next())
            rows.push_back(store.AddFromCursor(*cursor, n));
    }
    cursor.reset();
    d->Store = std::move(store);
    d->Rows = std::move(rows);
    if (d->Order.Active()) {
        d->Order.Sort(d->Rows);
        if (d->Ranged)
            ApplyRangeKey(m_rangeKey);  // a detail keeps its condition
    }
    ApplyFilter();

    const int count = RecordCount();
    int found = -1;
    if (!currentId.isEmpty()) {
        for (int v = 0; v < count && found < 0; ++v) {
            const char* row = d->Rows[size_t(d->Stored(v))];
            const QByteArray id =
                key.isEmpty() ? QByteArray(row, TRowStore::RecordSize(row, n)) : keyOfRow(row);
            if (id == currentId)
                found = v;
        }
    }
    if (count == 0)
        d->Cur = -1;
    else
        d->Cur = found >= 0 ? found : std::clamp(oldCur, 0, count - 1);
    d->Bof = count == 0 || (d->Cur == 0 && d->Bof);
    d->Eof = count == 0 || (d->Cur == count - 1 && d->Eof);
    NotifyDataSources(TDataEvent::RowsChanged, oldCur);
}

// ---- index order, range and filter ---------------------------------------------------------

void TDataSet::SortRows(int field) {
    const TInvariantCheck check(this);
    Q_ASSERT(field >= 0 && field < FieldCount());
    d->Order = TRowOrder(field, d->Types.at(field));
    d->Order.Sort(d->Rows);
    if (d->Ranged)
        ApplyRangeKey(m_rangeKey);
    ApplyFilter();
    MoveToFirstVisible();
}

bool TDataSet::SameKey(const QVariant& a, const QVariant& b) const {
    return d->Order.SameKey(a, b);
}

void TDataSet::ApplyRangeKey(const QVariant& key) {
    Q_ASSERT(d->Order.Active());
    const std::pair<size_t, size_t> range = d->Order.Range(d->Rows, key);
    d->Ranged = true;
    d->RangeBegin = range.first;
    d->RangeEnd = range.second;
}

void TDataSet::SetRange(const QVariant& key) {
    const TInvariantCheck check(this);
    m_rangeKey = key;
    ApplyRangeKey(key);
    ApplyFilter();
    MoveToFirstVisible();
}

void TDataSet::ClearRange() {
    const TInvariantCheck check(this);
    d->Ranged = false;
    m_rangeKey = QVariant();
    ApplyFilter();
    MoveToFirstVisible();
}

void TDataSet::ApplyFilter() {
    d->FilteredRows.clear();
    d->FilterActive = d->Filtered && !d->RowFilter.IsEmpty() && d->State != dsInactive;
    if (!d->FilterActive)
        return;
    d->RowFilter.Bind([this](const QString& column) { return FieldByName(column)->Index(); });
    const size_t begin = d->Ranged ? d->RangeBegin : 0;
    const size_t end = d->Ranged ? d->RangeEnd : d->Rows.size();
    for (size_t i = begin; i < end; ++i) {
        if (d->RowFilter.Matches(d->Rows[i]))
            d->FilteredRows.push_back(int(i));
    }
}

QString TDataSet::Filter() const {
    return d->Filter;
}

void TDataSet::SetFilter(const QString& filter) {
    const TInvariantCheck check(this);
    if (filter == d->Filter)
        return;
    TRowFilter parsed = TRowFilter::Parse(filter);
    if (Active() && d->Filtered)
        CheckBrowseMode();
    d->Filter = filter;
    d->RowFilter = std::move(parsed);
    if (Active() && d->Filtered) {
        ApplyFilter();
        MoveToFirstVisible();
        NotifyDataSources(TDataEvent::RowsChanged);
    }
}

bool TDataSet::Filtered() const {
    return d->Filtered;
}

void TDataSet::SetFiltered(bool filtered) {
    const TInvariantCheck check(this);
    if (filtered == d->Filtered)
        return;
    if (Active())
        CheckBrowseMode();
    d->Filtered = filtered;
    if (Active()) {
        ApplyFilter();
        MoveToFirstVisible();
        NotifyDataSources(TDataEvent::RowsChanged);
    }
}

// ---- data sources --------------------------------------------------------------------------

void TDataSet::DisableControls() {
    ++d->Disabled;
}

void TDataSet::EnableControls() {
    if (d->Disabled == 0)
        return;
    if (--d->Disabled > 0 || !d->PendingEvent)
        return;
    // What happened meanwhile is told as one change, as a reopen when the data set was opened
    // or closed in between.
    const bool reopen = d->PendingReopen;
    d->PendingEvent = d->PendingReopen = false;
    if (!Active())
        NotifyDataSources(TDataEvent::Closed);
    else
        NotifyDataSources(reopen ? TDataEvent::Opened : TDataEvent::RowsChanged);
}

bool TDataSet::ControlsDisabled() const {
    return d->Disabled > 0;
}

void TDataSet::AddDataSource(TDataSource* source) {
    if (!d->Sources.contains(source))
        d->Sources.append(source);
}

void TDataSet::RemoveDataSource(TDataSource* source) {
    d->Sources.removeAll(source);
}

void TDataSet::NotifyDataSources(TDataEvent event, int info) {
    if (d->Disabled > 0) {
        d->PendingEvent = true;
        if (event == TDataEvent::Opened || event == TDataEvent::Closed)
            d->PendingReopen = true;
        return;
    }
    ForEachSource([event, info](TDataSource* source) { source->Notify(event, info); });
}

void TDataSet::UpdateRecord() {
    // A request, not news: it reaches the controls even while they are held back.
    if (Editing())
        ForEachSource([](TDataSource* source) { source->UpdateRecord(); });
}

void TDataSet::ForEachSource(const std::function<void(TDataSource*)>& call) {
    // Every source is called, also after one failed; the first failure goes on afterwards.
    const QVector<TDataSource*> sources = d->Sources;
    std::exception_ptr failure;
    for (TDataSource* source : sources) {
        if (!d->Sources.contains(source))
            continue;
        try {
            call(source);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

size_t TDataSet::SnapshotBytes() const {
    return d->Store.BytesReserved() + d->Rows.capacity() * sizeof(const char*);
}
