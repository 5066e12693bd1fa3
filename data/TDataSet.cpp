// The data set's state machine: opening and closing, the fields, the edit buffer, write-back
// (TWriteBack), refresh and the notifications. The packed snapshot is a TRowStore; which of its rows
// are visible and which is current is kept by TVisibleRows. Relies on TADOConnection for the database.
//
// Invariants 1-3 are the visible rows' (TVisibleRows.cpp). These, checked by CheckInvariants()
// whenever a public operation that changes the data set returns or throws, are the state machine's:
//   4. The edit buffer holds one value and one changed flag per field exactly while editing or
//      inserting; otherwise it is empty and nothing is modified. Inserting exactly while the
//      visible rows hold a new row.
//   5. A closed data set holds no rows, fields, buffer or writer; an open one has its writer.
// The checks are compiled in wherever Q_ASSERT is: Debug builds and the test builds (ZIRT_ASSERTS).
// The row order, range, filter and Locate are in TDataSetRows.cpp, the background reading in
// TDataSetFetch.cpp.
#include "TDataSet.h"

#include <algorithm>

#include "Exception.h"
#include "TADOConnection.h"
#include "TDataSetPrivate.h"
#include "TDataSource.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TField.h"
#include "TRowReader.h"

void TDataSet::CheckInvariants() const {
#if !defined(QT_NO_DEBUG) || defined(QT_FORCE_ASSERTS)
    const TPrivate& p = *d;
    if (p.State == dsInactive) {
        Q_ASSERT_X(p.Visible.All().empty() && p.Fields.Count() == 0 && !p.Writer && p.Buffer.isEmpty() &&
                       p.Visible.Cur() == -1 && !p.Visible.HasNewRow(),
                   "TDataSet", "invariant 5: a closed data set holds nothing");
        return;
    }
    Q_ASSERT_X(p.Writer, "TDataSet", "invariant 5: an open data set has its writer");
    Q_ASSERT_X((p.State == dsInsert) == p.Visible.HasNewRow(), "TDataSet",
               "invariant 4: a new row among the visible rows exactly while inserting");
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
    const QVector<TDataSource*> sources = m_sources.Sources();
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
    QVector<TDbColumn> columns;
    TRowStore store;
    std::vector<const char*> rows;
    std::unique_ptr<TBackgroundFetch> fetch;
    if (m_fetchInBackground && db.ReadsBesideWriters()) {
        // Enough rows for a screen now, the rest on a thread of its own, taken by a timer as it comes.
        constexpr int kFirstRows = 100;
        fetch = std::make_unique<TBackgroundFetch>(db.ConnectionString(), SelectStatement(), kFirstRows);
        columns = fetch->WaitForStart();
        for (const std::vector<const char*>& piece : fetch->Take(false))
            rows.insert(rows.end(), piece.begin(), piece.end());
    } else {
        std::unique_ptr<TDbCursor> cursor = db.Select(SelectStatement());
        columns = cursor->Columns();
        rows = TRowReader({}, columns.size()).ReadAll(*cursor, store);
        cursor.reset();
        rows.shrink_to_fit();
    }
    // Asks the database what it can write; a failure here fails the open before anything changed.
    auto writer = std::make_unique<TWriteBack>(db, WriteTable(), TWriteBack::ColumnsOf(columns));

    d->Visible.Reset(std::move(rows));
    d->Store = std::move(store);
    d->Fetch = std::move(fetch);
    if (d->Fetch)
        StartFetchTimer();
    d->Writer = std::move(writer);
    d->Fields.Reset(this, columns);
    d->State = dsBrowse;
    ResetBuffer();
    try {
        if (d->Fetch && d->Fetch->Ended())
            CompleteFetch();  // all there already, or failed after the first rows
        ApplyFilter();  // a filter naming a column the result lacks fails the open
        AfterOpen();
    } catch (...) {
        // Opening that fails leaves the data set closed.
        ClearSnapshot();
        AfterClose();
        throw;
    }
    d->Visible.First();
    NotifyDataSources(TDataEvent::Opened);
}

void TDataSet::ClearSnapshot() {
    d->State = dsInactive;
    d->Visible.Clear();
    StopFetchTimer();
    d->Fetch.reset();  // stops a reading still running and waits for its thread
    d->Store.Clear();
    ResetBuffer();
    d->Writer.reset();
    d->Fields.Clear();
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

TDataSetState TDataSet::State() const {
    return d->State;
}

// ---- rows and moving -----------------------------------------------------------------------

int TDataSet::RecordCount() const {
    const_cast<TDataSet*>(this)->CompleteFetch();
    return FetchedCount();
}

int TDataSet::FetchedCount() const {
    return Active() ? d->Visible.Count() : 0;
}

int TDataSet::RecNo() const {
    return Active() ? d->Visible.Cur() : -1;
}

void TDataSet::SetRecNo(int index) {
    const TInvariantCheck check(this);
    if (!Active())
        return;
    // A row already there is reached without waiting for the rest.
    const int count = index < FetchedCount() ? FetchedCount() : RecordCount();
    if (count == 0)
        return;
    index = std::clamp(index, 0, count - 1);
    if (index != d->Visible.Cur())
        MoveBy(index - d->Visible.Cur());
}

bool TDataSet::Bof() const {
    return !Active() || d->Visible.Bof();
}

bool TDataSet::Eof() const {
    return !Active() || d->Visible.Eof();
}

void TDataSet::First() {
    const TInvariantCheck check(this);
    CheckActive();
    CheckBrowseMode();
    Scroll([](TVisibleRows& rows) {
        rows.First();
        return 0;
    });
}

void TDataSet::Last() {
    const TInvariantCheck check(this);
    CheckActive();
    CheckBrowseMode();
    CompleteFetch();
    Scroll([](TVisibleRows& rows) {
        rows.Last();
        return 0;
    });
}

int TDataSet::MoveBy(int distance) {
    const TInvariantCheck check(this);
    CheckActive();
    // Past the rows there so far: the rest first, so the move ends where it would on the whole result.
    if (Fetching() && distance > 0 && d->Visible.Cur() + distance >= d->Visible.Count())
        CompleteFetch();
    // Whether the row being left is untouched is known only once its open cell editor is in it.
    UpdateRecord();
    // The distance counts rows as they are shown before the move. An untouched new row is dropped
    // as the move leaves it, and the rows after it close up, so the target is found in the numbering
    // without it: Up from it lands on the row above, Down on the row that followed it.
    const bool dropsNewRow = UntouchedNewRow();
    const int from = d->Visible.Cur();
    CheckBrowseMode();
    if (dropsNewRow && distance != 0) {
        const int target = distance > 0 ? from + distance - 1 : from + distance;
        distance = target - d->Visible.Cur();
        if (distance == 0) {
            // Already there: the rows closed up onto the target (Up from a row appended at the end).
            NotifyDataSources(TDataEvent::Scrolled, from);
            return 0;
        }
    }
    return Scroll([distance](TVisibleRows& rows) { return rows.MoveBy(distance); });
}

int TDataSet::Scroll(const std::function<int(TVisibleRows&)>& move) {
    const TVisibleRows::TPosition old = d->Visible.Position();
    const int moved = move(d->Visible);
    if (d->Visible.Position() != old)
        NotifyDataSources(TDataEvent::Scrolled, old.Cur);
    return moved;
}

// ---- fields --------------------------------------------------------------------------------

int TDataSet::FieldCount() const {
    return d->Fields.Count();
}

TField* TDataSet::Field(int index) const {
    return d->Fields.At(index);
}

TField* TDataSet::FindField(const QString& name) const {
    return d->Fields.Find(name);
}

TField* TDataSet::FieldByName(const QString& name) const {
    if (TField* field = FindField(name))
        return field;
    throw EDatabaseError(FieldNotFoundMessage(Name(), name));
}

QVariant TDataSet::ValueAt(int row, int field) const {
    if (!Active() || field < 0 || field >= FieldCount() || row < 0 || row >= FetchedCount())
        return {};
    if (row == d->Visible.Cur() && Editing())
        return d->Buffer.at(field);
    const char* stored = d->Visible.At(row);
    if (!stored)
        return d->Fields.Null(field);  // the new row, before InitNewRow's values
    return TRowStore::Value(stored, field, d->Fields.Type(field));
}

QString TDataSet::DisplayTextAt(int row, int field) const {
    const QMetaType::Type type =
        field >= 0 && field < FieldCount() ? d->Fields.Type(field) : QMetaType::QString;
    return TField::FormatValue(ValueAt(row, field), type);
}

QVariant TDataSet::FieldValue(int field) const {
    if (!Active() || d->Visible.Cur() < 0)
        return field >= 0 && field < FieldCount() ? d->Fields.Null(field) : QVariant();
    return ValueAt(d->Visible.Cur(), field);
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

void TDataSet::CheckCanInsertOrDelete(bool insert) const {
    CheckCanModify();
    if (insert ? !CanInsert() : !CanDelete())
        throw EDatabaseError(d->Writer->InsertOrDeleteRefusal());
}

bool TDataSet::CanModify() const {
    return Active() && d->Writer && d->Writer->CanModify();
}

bool TDataSet::CanInsert() const {
    return CanModify() && d->Writer->TakesNewRows();
}

bool TDataSet::CanDelete() const {
    return CanModify() && !d->Writer->JoinsTables();
}

bool TDataSet::Modified() const {
    return Editing() && d->Modified;
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
        d->Buffer.append(ValueAt(d->Visible.Cur(), i));
    d->Changed = QVector<bool>(FieldCount(), false);
    d->State = dsEdit;
    NotifyDataSources(TDataEvent::StateChanged);
}

void TDataSet::BeginInsert(bool append) {
    const TInvariantCheck check(this);
    CheckActive();
    CompleteFetch();
    // Refused before the row being edited is left, so a refusal changes nothing.
    CheckCanInsertOrDelete(true);
    CheckBrowseMode();
    ResetBuffer();
    for (int i = 0; i < FieldCount(); ++i)
        d->Buffer.append(d->Fields.Null(i));
    InitNewRow(d->Buffer);
    // Values a new row starts with (the master's key in a detail) do not make it modified.
    d->Changed = QVector<bool>(FieldCount(), false);
    d->State = dsInsert;
    const int old = d->Visible.Cur();
    d->Visible.PlaceNewRow(append);
    NotifyDataSources(TDataEvent::StateChanged);
    NotifyDataSources(TDataEvent::RowsChanged, old);
}

void TDataSet::Post() {
    const TInvariantCheck check(this);
    CheckActive();
    if (!Editing())
        return;
    UpdateRecord();
    CheckDetailsBrowseMode();  // a changed key would move the details to other rows
    WriteRow();
}

void TDataSet::UpdateRecord() {
    // A request, not news: it reaches the controls even while they are held back.
    if (Editing())
        m_sources.ForEach([](TDataSource* source) { source->UpdateRecord(); });
}

void TDataSet::WriteRow() {
    TDbConnection& db = Database();
    if (d->State == dsEdit) {
        if (d->Modified) {
            // A refusal throws here and leaves the data set editing with the typed values. The row
            // kept is the one the database read back, not the one typed.
            const QVector<QVariant> row = d->Writer->Update(
                db, TRowStore::RawValues(d->Visible.Current(), FieldCount()), d->Buffer, d->Changed);
            d->Visible.ReplaceCurrent(d->Store.AddValues(row, d->Fields.Types()));
        }
        d->State = dsBrowse;
        ResetBuffer();
    } else {
        const QVector<QVariant> row = d->Writer->Insert(db, d->Buffer);
        d->Visible.StoreNewRow(d->Store.AddValues(row, d->Fields.Types()));
        d->State = dsBrowse;
        ResetBuffer();
    }
    const int cur = d->Visible.Cur();
    NotifyDataSources(TDataEvent::StateChanged);
    NotifyDataSources(TDataEvent::RowsChanged, cur);
    NotifyDataSources(TDataEvent::Posted, cur);
    AfterBrowse();
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
    const int old = d->Visible.Cur();
    if (inserting)
        d->Visible.DropNewRow();
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
    CheckCanInsertOrDelete(false);
    CheckDetailsBrowseMode();  // the row after this one becomes current, and the details follow it
    // The row is deleted as it was read; what was typed into it goes with it. A refusal throws here
    // and the row stays, still being edited with what was typed when it was.
    d->Writer->Delete(Database(), TRowStore::RawValues(d->Visible.Current(), FieldCount()));
    const bool wasEditing = d->State == dsEdit;
    d->State = dsBrowse;
    ResetBuffer();
    const int old = d->Visible.Cur();
    d->Visible.EraseCurrent();
    if (wasEditing)
        NotifyDataSources(TDataEvent::StateChanged);
    NotifyDataSources(TDataEvent::RowsChanged, old);
    AfterBrowse();
}

void TDataSet::CheckDetailsBrowseMode() {
    m_sources.ForEach([](TDataSource* source) { source->CheckBrowseMode(); });
}

void TDataSet::CheckBrowseMode() {
    const TInvariantCheck check(this);
    // The details' rows are left first: a refusal there leaves this data set as it was.
    CheckDetailsBrowseMode();
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
    CompleteFetch();
    CheckBrowseMode();
    TDbConnection& db = Database();
    const TRowReader reader(d->Writer->KeyColumns(db), FieldCount());
    std::unique_ptr<TDbCursor> cursor = db.Select(SelectStatement());
    if (!d->Fields.Describe(cursor->Columns())) {
        // The result's shape changed under us: only a fresh open can describe it.
        cursor.reset();
        Close();
        Open();
        return;
    }
    TRowStore store;
    std::vector<const char*> rows = reader.Resync(*cursor, d->Visible.All(), store);
    cursor.reset();
    const int oldCur = d->Visible.Cur();
    d->Visible.Replace(std::move(rows), reader.Finder(d->Visible.Current()));
    d->Store = std::move(store);
    NotifyDataSources(TDataEvent::RowsChanged, oldCur);
}

size_t TDataSet::SnapshotBytes() const {
    const_cast<TDataSet*>(this)->CompleteFetch();
    return d->Store.BytesReserved() + d->Visible.All().capacity() * sizeof(const char*);
}
