// The data set engine: the packed snapshot (TRowStore), the visible rows (all rows, a range of the
// rows sorted by the index column, narrowed further by a filter), the current row, the edit
// buffer and write-back (TWriteBack). Relies on TADOConnection for the database.
//
// Invariants:
//   1. rows holds one pointer per row the snapshot holds; when indexField >= 0 the rows are sorted
//      ascending by that column (stable, so rows with one key keep the database's order).
//   2. Visible row v maps to rows[rangeBegin + v] when not filtered, rows[filtered[v]] when
//      filtered; while inserting, visible row insertAt is the buffer and later ones shift by one.
//   3. cur is -1 exactly when no row is visible; otherwise 0 <= cur < RecordCount().
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
#include "TRowStore.h"
#include "TWriteBack.h"

namespace {

struct TFilterTerm {
    int Field = -1;
    QString Column;
    QString Text;
    bool IsNull = false;
};

// "column = 'value' [AND column = value ...]"; a quote inside a quoted value is doubled.
QVector<TFilterTerm> ParseFilter(const QString& filter) {
    QVector<TFilterTerm> terms;
    int i = 0;
    const int n = filter.size();
    const auto skipSpace = [&] {
        while (i < n && filter.at(i).isSpace())
            ++i;
    };
    const auto fail = [&]() -> QVector<TFilterTerm> {
        throw EDatabaseError(QStringLiteral("Filter cannot be read: %1").arg(filter));
    };
    for (;;) {
        skipSpace();
        if (i >= n)
            break;
        TFilterTerm term;
        if (filter.at(i) == QLatin1Char('[')) {
            const int end = filter.indexOf(QLatin1Char(']'), i);
            if (end < 0)
                return fail();
            term.Column = filter.mid(i + 1, end - i - 1);
            i = end + 1;
        } else {
            const int start = i;
            while (i < n && !filter.at(i).isSpace() && filter.at(i) != QLatin1Char('='))
                ++i;
            term.Column = filter.mid(start, i - start);
        }
        skipSpace();
        if (i >= n || filter.at(i) != QLatin1Char('=') || term.Column.isEmpty())
            return fail();
        ++i;
        skipSpace();
        if (i < n && filter.at(i) == QLatin1Char('\'')) {
            ++i;
            for (;;) {
                if (i >= n)
                    return fail();
                if (filter.at(i) == QLatin1Char('\'')) {
                    if (i + 1 < n && filter.at(i + 1) == QLatin1Char('\'')) {
                        term.Text += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                term.Text += filter.at(i++);
            }
        } else {
            const int start = i;
            while (i < n && !filter.at(i).isSpace())
                ++i;
            term.Text = filter.mid(start, i - start);
            if (term.Text.isEmpty())
                return fail();
            term.IsNull = term.Text.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0;
        }
        terms.append(term);
        skipSpace();
        if (i >= n)
            break;
        if (filter.mid(i, 3).compare(QLatin1String("AND"), Qt::CaseInsensitive) != 0)
            return fail();
        i += 3;
    }
    return terms;
}

bool IsNumeric(QMetaType::Type type) {
    return type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::Double;
}

}  // namespace

struct TDataSet::TPrivate {
    TDataSetState State = dsInactive;
    std::vector<std::unique_ptr<TField>> Fields;
    QHash<QString, int> ByName;  // case-folded name -> field index
    QVector<QMetaType::Type> Types;
    TRowStore Store;
    std::vector<const char*> Rows;

    int IndexField = -1;
    bool Ranged = false;
    size_t RangeBegin = 0;
    size_t RangeEnd = 0;
    bool FilterActive = false;
    std::vector<int> FilteredRows;
    QVector<TFilterTerm> FilterTerms;
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

TDataSet::TDataSet(QObject* owner, const QString& name) : QObject(owner), d(std::make_unique<TPrivate>()) {
    setObjectName(name);
}

TDataSet::~TDataSet() {
    // Sources outlive nothing here but may be destroyed later; unbind them so none points at us.
    const QVector<TDataSource*> sources = d->Sources;
    d->Fields.clear();
    d->State = dsInactive;
    for (TDataSource* source : sources)
        source->SetDataSet(nullptr);
}

// ---- opening and closing -------------------------------------------------------------------

void TDataSet::Open() {
    if (Active())
        return;
    if (!m_connection)
        throw EInvalidOperation(Name() + QStringLiteral(": Missing Connection or ConnectionString"));
    TDbConnection& db = m_connection->Database();
    std::unique_ptr<TDbCursor> cursor = db.Select(SelectStatement());
    const QVector<TDbColumn> columns = cursor->Columns();
    const int n = columns.size();
    TRowStore store;
    std::vector<const char*> rows;
    while (cursor->Next())
        rows.push_back(store.AddFromCursor(*cursor, n));
    cursor.reset();
    rows.shrink_to_fit();

    d->Store = std::move(store);
    d->Rows = std::move(rows);
    d->Fields.clear();
    d->ByName.clear();
    d->Types.clear();
    QVector<TWriteBack::TColumn> writeColumns;
    for (int i = 0; i < n; ++i) {
        const TDbColumn& c = columns.at(i);
        d->Fields.push_back(
            std::make_unique<TField>(this, i, c.Name, c.Type, c.Size, c.BaseTable, c.BaseColumn));
        const QString key = c.Name.toCaseFolded();
        if (!d->ByName.contains(key))
            d->ByName.insert(key, i);
        d->Types.append(c.Type);
        writeColumns.append({c.Name, c.BaseTable, c.BaseColumn, c.Type});
    }
    d->Writer = std::make_unique<TWriteBack>(WriteTable(), writeColumns);
    d->IndexField = -1;
    d->Ranged = false;
    d->State = dsBrowse;
    d->InsertAt = -1;
    d->Buffer.clear();
    d->Modified = false;
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
    d->IndexField = -1;
    d->Cur = -1;
    d->Bof = d->Eof = true;
    d->Buffer.clear();
    d->Changed.clear();
    d->Modified = false;
    d->InsertAt = -1;
    d->Writer.reset();
    d->Fields.clear();
    d->ByName.clear();
    d->Types.clear();
}

void TDataSet::Close() {
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
    CheckActive();
    CheckBrowseMode();
    const int old = d->Cur;
    const bool oldBof = d->Bof, oldEof = d->Eof;
    MoveToFirstVisible();
    if (old != d->Cur || oldBof != d->Bof || oldEof != d->Eof)
        NotifyDataSources(TDataEvent::Scrolled, old);
}

void TDataSet::Last() {
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
    CheckActive();
    // The distance counts rows as they are shown before the move. An untouched new row is dropped
    // as the move leaves it, and the rows after it close up, so the target is found in the numbering
    // without it: Up from it lands on the row above, Down on the row that followed it.
    const bool dropsNewRow = d->State == dsInsert && !d->Modified;
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
    if (row == d->Cur && (d->State == dsEdit || d->State == dsInsert))
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
    CheckActive();
    if (d->State != dsEdit && d->State != dsInsert)
        throw EInvalidOperation(Name() + QStringLiteral(": Dataset not in edit or insert mode"));
    d->Buffer[field] = value;
    d->Changed[field] = true;
    d->Modified = true;
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

void TDataSet::CheckActive() const {
    if (!Active())
        throw EInvalidOperation(Name() +
                                QStringLiteral(": Cannot perform this operation on a closed dataset"));
}

void TDataSet::CheckCanModify() const {
    if (!CanModify())
        throw EInvalidOperation(Name() + QStringLiteral(": Cannot modify a read-only dataset"));
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
    return (d->State == dsEdit || d->State == dsInsert) && d->Modified;
}

bool TDataSet::FieldModified(int field) const {
    return Modified() && d->Changed.value(field);
}

void TDataSet::RestoreFieldValue(int field, const QVariant& value, bool modified) {
    CheckActive();
    if (d->State != dsEdit && d->State != dsInsert)
        throw EInvalidOperation(Name() + QStringLiteral(": Dataset not in edit or insert mode"));
    d->Buffer[field] = value;
    d->Changed[field] = modified;
    // Modified is set together with a changed mark and cleared with all of them.
    d->Modified = d->Changed.contains(true);
    NotifyDataSources(TDataEvent::FieldChanged, field);
}

void TDataSet::Edit() {
    CheckActive();
    if (d->State == dsEdit || d->State == dsInsert)
        return;
    CheckCanModify();
    if (RecordCount() == 0) {
        Insert();
        return;
    }
    d->Buffer.clear();
    for (int i = 0; i < FieldCount(); ++i)
        d->Buffer.append(ValueAt(d->Cur, i));
    d->Changed = QVector<bool>(FieldCount(), false);
    d->Modified = false;
    d->State = dsEdit;
    NotifyDataSources(TDataEvent::StateChanged);
}

void TDataSet::BeginInsert(bool append) {
    CheckActive();
    CheckBrowseMode();
    CheckCanModify();
    if (d->Writer->JoinsTables())
        throw EDatabaseError(TWriteBack::JoinInsertDeleteMessage());
    const int base = int(d->BaseCount());
    d->InsertAt = append ? base : std::max(d->Cur, 0);
    d->Buffer.clear();
    for (int i = 0; i < FieldCount(); ++i)
        d->Buffer.append(QVariant(QMetaType(d->Types.at(i))));
    InitNewRow(d->Buffer);
    d->Changed = QVector<bool>(FieldCount(), false);
    // Values a new row starts with (the master's key in a detail) do not make it modified.
    d->Modified = false;
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
    CheckActive();
    if (d->State != dsEdit && d->State != dsInsert)
        return;
    TDbConnection& db = m_connection->Database();
    const char* written = nullptr;
    if (d->State == dsEdit) {
        const long stored = d->Stored(d->Cur);
        if (d->Modified) {
            // A refusal throws here and leaves the data set editing with the typed values.
            d->Writer->Update(db, RawRow(stored), d->Buffer, d->Changed);
            written = d->Store.AddValues(d->Buffer, d->Types);
            d->Rows[size_t(stored)] = written;
        } else {
            written = d->Rows[size_t(stored)];
        }
        const bool keyChanged = d->IndexField >= 0 && d->Changed.value(d->IndexField);
        d->State = dsBrowse;
        d->Buffer.clear();
        d->Changed.clear();
        d->Modified = false;
        if (keyChanged)
            Reorder(written);
    } else {
        const QVector<QVariant> row = d->Writer->Insert(db, d->Buffer);
        written = d->Store.AddValues(row, d->Types);
        PlaceInsertedRow(written);
        d->State = dsBrowse;
        d->Buffer.clear();
        d->Changed.clear();
        d->Modified = false;
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
    if (d->IndexField >= 0) {
        // Keep invariant 1: a sorted snapshot takes the row at its key's place.
        const TDbValue key = TRowStore::Cell(row, d->IndexField);
        const int f = d->IndexField;
        const auto it =
            std::upper_bound(d->Rows.begin(), d->Rows.end(), key, [f](const TDbValue& k, const char* r) {
                return TRowStore::Compare(k, TRowStore::Cell(r, f)) < 0;
            });
        at = size_t(it - d->Rows.begin());
    }
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
    if (d->IndexField >= 0) {
        const int f = d->IndexField;
        std::stable_sort(d->Rows.begin(), d->Rows.end(), [f](const char* a, const char* b) {
            return TRowStore::Compare(TRowStore::Cell(a, f), TRowStore::Cell(b, f)) < 0;
        });
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
    if (d->State != dsEdit && d->State != dsInsert)
        return;
    CancelEditing();
    AfterBrowse();
}

void TDataSet::CancelEditing() {
    const bool inserting = d->State == dsInsert;
    d->State = dsBrowse;
    d->Buffer.clear();
    d->Changed.clear();
    d->Modified = false;
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
    CheckActive();
    if (d->State == dsInsert) {
        Cancel();
        return;
    }
    if (d->State == dsEdit)
        CancelEditing();  // the row shown stays the one deleted, whatever a detail would follow
    if (RecordCount() == 0)
        throw EInvalidOperation(Name() +
                                QStringLiteral(": Cannot perform this operation on an empty dataset"));
    CheckCanModify();
    const long stored = d->Stored(d->Cur);
    // A refusal throws here and the row stays.
    d->Writer->Delete(m_connection->Database(), RawRow(stored));
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
    NotifyDataSources(TDataEvent::RowsChanged, old);
    AfterBrowse();
}

void TDataSet::CheckBrowseMode() {
    if (d->State != dsEdit && d->State != dsInsert)
        return;
    if (d->Modified)
        Post();
    else
        Cancel();
}

// ---- refresh -------------------------------------------------------------------------------

void TDataSet::Refresh() {
    CheckActive();
    CheckBrowseMode();
    TDbConnection& db = m_connection->Database();
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
    if (d->IndexField >= 0) {
        const int f = d->IndexField;
        std::stable_sort(d->Rows.begin(), d->Rows.end(), [f](const char* a, const char* b) {
            return TRowStore::Compare(TRowStore::Cell(a, f), TRowStore::Cell(b, f)) < 0;
        });
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
    Q_ASSERT(field >= 0 && field < FieldCount());
    d->IndexField = field;
    std::stable_sort(d->Rows.begin(), d->Rows.end(), [field](const char* a, const char* b) {
        return TRowStore::Compare(TRowStore::Cell(a, field), TRowStore::Cell(b, field)) < 0;
    });
    if (d->Ranged)
        ApplyRangeKey(m_rangeKey);
    ApplyFilter();
}

TDbValue TDataSet::KeyCell(const QVariant& value, QByteArray& text) const {
    TDbValue key;
    if (value.isNull() || !value.isValid())
        return key;
    const QMetaType::Type type = d->IndexField >= 0 ? d->Types.at(d->IndexField) : QMetaType::QString;
    const int id = value.typeId();
    const bool numberGiven = id == QMetaType::LongLong || id == QMetaType::Int || id == QMetaType::Double ||
                             id == QMetaType::UInt || id == QMetaType::ULongLong;
    if (IsNumeric(type) || (numberGiven && type != QMetaType::QString)) {
        bool ok = false;
        const double real = value.toDouble(&ok);
        if (!ok) {
            // A value that is no number matches no row of a numeric column.
            text = value.toString().toUtf8();
            key.Kind = TDbValue::Text;
            key.Utf8 = text.constData();
            key.Length = int(text.size());
            return key;
        }
        if (real == double(qint64(real))) {
            key.Kind = TDbValue::Integer;
            key.Int = qint64(real);
        } else {
            key.Kind = TDbValue::Double;
            key.Real = real;
        }
        return key;
    }
    text = value.toString().toUtf8();
    key.Kind = TDbValue::Text;
    key.Utf8 = text.constData();
    key.Length = int(text.size());
    return key;
}

bool TDataSet::SameKey(const QVariant& a, const QVariant& b) const {
    QByteArray ta, tb;
    const TDbValue ka = KeyCell(a, ta), kb = KeyCell(b, tb);
    return ka.Kind == kb.Kind && TRowStore::Compare(ka, kb) == 0;
}

void TDataSet::ApplyRangeKey(const QVariant& value) {
    Q_ASSERT(d->IndexField >= 0);
    QByteArray text;
    const TDbValue key = KeyCell(value, text);
    const int f = d->IndexField;
    // Invariant 1 makes the matching rows one contiguous run; nulls sort first, so a null key
    // finds only null cells.
    const auto lower = std::lower_bound(
        d->Rows.begin(), d->Rows.end(), key,
        [f](const char* r, const TDbValue& k) { return TRowStore::Compare(TRowStore::Cell(r, f), k) < 0; });
    auto upper = lower;
    while (upper != d->Rows.end()) {
        // Equal keys are few per master row; a second binary search would cost more for them.
        const TDbValue cell = TRowStore::Cell(*upper, f);
        if (TRowStore::Compare(cell, key) != 0 ||
            (cell.Kind == TDbValue::Null) != (key.Kind == TDbValue::Null))
            break;
        ++upper;
    }
    if (upper - lower > 64) {
        upper = std::upper_bound(lower, d->Rows.end(), key, [f](const TDbValue& k, const char* r) {
            return TRowStore::Compare(k, TRowStore::Cell(r, f)) < 0;
        });
    }
    d->Ranged = true;
    d->RangeBegin = size_t(lower - d->Rows.begin());
    d->RangeEnd = size_t(upper - d->Rows.begin());
}

void TDataSet::SetRange(const QVariant& key) {
    m_rangeKey = key;
    ApplyRangeKey(key);
    ApplyFilter();
}

void TDataSet::ClearRange() {
    d->Ranged = false;
    m_rangeKey = QVariant();
    ApplyFilter();
}

void TDataSet::ApplyFilter() {
    d->FilteredRows.clear();
    d->FilterActive = d->Filtered && !d->FilterTerms.isEmpty() && d->State != dsInactive;
    if (!d->FilterActive)
        return;
    for (TFilterTerm& term : d->FilterTerms) {
        const TField* field = FieldByName(term.Column);
        term.Field = field->Index();
    }
    const size_t begin = d->Ranged ? d->RangeBegin : 0;
    const size_t end = d->Ranged ? d->RangeEnd : d->Rows.size();
    for (size_t i = begin; i < end; ++i) {
        bool pass = true;
        for (const TFilterTerm& term : d->FilterTerms) {
            const TDbValue cell = TRowStore::Cell(d->Rows[i], term.Field);
            if (term.IsNull) {
                pass = cell.Kind == TDbValue::Null;
            } else if (cell.Kind == TDbValue::Null) {
                pass = false;
            } else if (cell.Kind == TDbValue::Text) {
                pass = QString::fromUtf8(cell.Utf8, cell.Length).compare(term.Text, Qt::CaseInsensitive) == 0;
            } else {
                bool ok = false;
                const double want =
                    QString(term.Text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
                const double have = cell.Kind == TDbValue::Integer ? double(cell.Int) : cell.Real;
                pass = ok && want == have;
            }
            if (!pass)
                break;
        }
        if (pass)
            d->FilteredRows.push_back(int(i));
    }
}

QString TDataSet::Filter() const {
    return d->Filter;
}

void TDataSet::SetFilter(const QString& filter) {
    if (filter == d->Filter)
        return;
    const QVector<TFilterTerm> terms = ParseFilter(filter);
    if (Active() && d->Filtered)
        CheckBrowseMode();
    d->Filter = filter;
    d->FilterTerms = terms;
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
    const QVector<TDataSource*> sources = d->Sources;
    std::exception_ptr failure;
    for (TDataSource* source : sources) {
        if (!d->Sources.contains(source))
            continue;
        try {
            source->Notify(event, info);
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
