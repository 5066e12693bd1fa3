// A data set: when open, a client-side snapshot of every row of its result with one current row.
// The snapshot is packed (TRowStore) so a 200,000-row goods list stays small; rows
// are addressed by their visible index, which is what grids, labels and charts read.
//
// States:
//
//            Open                 Edit / typing
//   Closed ---------> Browsing -----------------> Editing
//     ^                 |  ^  <------------------    |
//     |   Close         |  |   Post / Cancel         |
//     +-----------------+  |                         |
//     (from any state;     |   Post / Cancel         |
//      unposted change     +-------------------- Inserting <-- Insert / Append (from Browsing)
//      discarded)
//
// Which function makes each transition:
//   Closed -> Browsing                 Open, SetActive(true); a failed open stays Closed
//   any state -> Closed                Close, SetActive(false); an unposted change is discarded
//   Browsing -> Editing                Edit (a bound control calls it when the user types)
//   Browsing -> Inserting              Insert, Append; Edit on an empty data set
//   Editing -> Inserting               Insert, Append: the edited row is left first, as below
//   Editing / Inserting -> Browsing    Post, Cancel, CheckBrowseMode; leaving the row: First, Prior,
//                                      Next, Last, MoveBy, SetRecNo, Refresh, SetFilter, SetFiltered;
//                                      Delete (Editing: deletes the row as read; Inserting: cancels)
//
// Moving to another row while editing or inserting leaves the row as CheckBrowseMode does:
// a changed row is posted, an unchanged one cancelled. A refused post throws and leaves the
// data set in Editing / Inserting with the typed values; so does a refused delete.
// Post and every way of leaving the row begin with UpdateRecord: the bound controls write what they
// hold (a grid's open cell editor) into the row, and a text that does not convert stops it there.
// Leaving the row, posting it and deleting it first ask the detail data sets that follow this one
// to leave their edited rows: a detail's refused post stops the master's step before it begins.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

#include "TDataEvent.h"
#include "TDataSourceList.h"

class TADOConnection;
class TDataSource;
class TDbConnection;
class TField;
class TRowFilter;
class TVisibleRows;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TDataSet : public QObject {
    Q_OBJECT
public:
    TDataSet(QObject* owner, const QString& name);
    ~TDataSet() override;

    QString Name() const { return objectName(); }
    // Held weakly: the data module's connection is destroyed before its data sets.
    TADOConnection* Connection() const;
    void SetConnection(TADOConnection* connection);

    // Opening an open data set and closing a closed one do nothing. A failed open leaves it closed.
    void Open();
    void Close();
    bool Active() const;
    void SetActive(bool active) { active ? Open() : Close(); }
    TDataSetState State() const;

    // Visible rows (a detail shows only its master's rows); a row being inserted is counted. The whole
    // result: rows still being read in the background are waited for.
    int RecordCount() const;
    // The rows there so far, for controls that ask on every key or paint: never waits. An open returns
    // with its first rows, so a result with rows is never empty here.
    int FetchedCount() const;
    bool IsEmpty() const { return FetchedCount() == 0; }
    // Whether the rest of the result is still being read in the background (rows arrive meanwhile).
    bool Fetching() const;
    // Waits for the rest of the result. A reading that failed is an open that failed: the data set
    // closes and its message is thrown. Everything that needs the whole result does this first.
    void CompleteFetch();
    // Opens read their first rows and return; the rest is read on a thread with a connection of its
    // own, where the database lets readers run beside a writer. Off by default.
    void SetFetchInBackground(bool background) { m_fetchInBackground = background; }
    // Told whenever an operation starts and ends waiting for rows being read (the hourglass).
    static void SetWaitIndicator(std::function<void(bool waiting)> indicator);
    int RecNo() const;         // index of the current row, -1 when there is none
    void SetRecNo(int index);  // moves there (clamped), leaving an edited row first
    bool Bof() const;
    bool Eof() const;
    void First();
    void Prior() { MoveBy(-1); }
    void Next() { MoveBy(1); }
    void Last();
    int MoveBy(int distance);  // returns the distance actually moved

    int FieldCount() const;
    TField* Field(int index) const;
    TField* FindField(const QString& name) const;    // without regard to case; nullptr when absent
    TField* FieldByName(const QString& name) const;  // throws "<Name>: Field 'name' not found"
    // "<component>: Field '<field>' not found", for whoever looked the column up (a bound control).
    static QString FieldNotFoundMessage(const QString& component, const QString& field) {
        return component + QStringLiteral(": Field '") + field + QStringLiteral("' not found");
    }

    // Any visible row, for grids and charts that draw rows other than the current one.
    QVariant ValueAt(int row, int field) const;
    QString DisplayTextAt(int row, int field) const;
    bool IsNullAt(int row, int field) const { return ValueAt(row, field).isNull(); }

    void Edit();
    void Insert() { BeginInsert(false); }  // a new empty row before the current one
    void Append() { BeginInsert(true); }   // a new empty row after the last one
    void Post();
    void Cancel();
    void Delete();  // deletes the current row in the database at once; inserting: only cancels
    void Refresh();
    void CheckBrowseMode();  // what leaving the row does: post when modified, otherwise cancel
    // Moves to the first visible row whose field holds the value; false (and no move) when none does.
    bool Locate(const QString& fieldName, const QVariant& value);
    // Asks the bound controls to write what they hold into the row being edited (the open cell
    // editor's text); a text its field refuses throws. Post and leaving the row do it first.
    void UpdateRecord();
    bool Modified() const;  // the row being edited or inserted has a changed value
    // A new row nobody has changed yet: leaving it removes it instead of posting it.
    bool UntouchedNewRow() const { return State() == dsInsert && !Modified(); }
    // One field of the row being edited or inserted: whether it was set since editing began, and
    // putting its value and that mark back as they were (a cell editor's Esc), so a row nobody
    // changed is unchanged again.
    bool FieldModified(int field) const;
    void RestoreFieldValue(int field, const QVariant& value, bool modified);
    bool CanModify() const;  // writable: open, and the result can be written back
    // Whether a new row or a deletion can be written back (a join updates its tables' columns but
    // takes no new rows and deletes none); controls offer no insert or delete they would see refused.
    bool CanInsert() const;
    bool CanDelete() const;

    // Holding back bound controls while walking the rows (charts, reports).
    void DisableControls() { m_sources.Disable(); }
    void EnableControls() { m_sources.Enable(Active()); }
    bool ControlsDisabled() const { return m_sources.Disabled(); }

    // A row filter "column = 'value' [AND column = 'value' ...]"; applied when Filtered.
    QString Filter() const;
    void SetFilter(const QString& filter);
    bool Filtered() const;
    void SetFiltered(bool filtered);

    // The data sources that carry this data set; they relay every change.
    void AddDataSource(TDataSource* source) { m_sources.Add(source); }
    void RemoveDataSource(TDataSource* source) { m_sources.Remove(source); }

    // Bytes the snapshot holds (packed rows and the row index), for benchmarks.
    size_t SnapshotBytes() const;

protected:
    // The statement that reads the data set's result, as T-SQL.
    virtual QString SelectStatement() const = 0;
    // The table or view that rows are written back to; empty when the result's own column
    // metadata says (queries).
    virtual QString WriteTable() const { return {}; }
    // Told after a successful open, before the first row becomes current and the controls hear of
    // it (tables apply their index and master condition here); a throw leaves the data set closed.
    virtual void AfterOpen() {}
    // Told after a close (a detail forgets its condition).
    virtual void AfterClose() {}
    // Fills a new row's values when inserting (a detail gives it its master's key).
    virtual void InitNewRow(QVector<QVariant>& values) {}
    // Told when a post, a cancel or a delete has ended editing, after the controls heard of it (a
    // detail whose post was refused while its master moved catches up with the master then).
    virtual void AfterBrowse() {}
    void NotifyDataSources(TDataEvent event, int info = 0) { m_sources.Notify(event, info); }
    bool Editing() const;  // editing or inserting

    // The rows sorted ascending by one column (stable); the order is kept by later writes. The first
    // visible row becomes current; nothing is told.
    void SortRows(int field);
    // Only the rows whose sorted column equals key are visible: a binary search over the sorted rows.
    // Both make the first visible row current and tell nothing; neither is for a row being edited.
    void SetRange(const QVariant& key);
    void ClearRange();
    // Whether two values are one key of the sorted column, compared as values of its type.
    bool SameKey(const QVariant& a, const QVariant& b) const;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    friend class TField;
    class TInvariantCheck;
    void CheckInvariants() const;  // invariants 4 and 5 of TDataSet.cpp; only where Q_ASSERT is on
    QVariant FieldValue(int field) const;
    void SetFieldValue(int field, const QVariant& value) { StoreFieldValue(field, value, true); }
    void StoreFieldValue(int field, const QVariant& value, bool changed);
    void ClearSnapshot();
    // The connection's database; throws when the data set has no connection (or it is gone).
    TDbConnection& Database() const;
    void WriteRow();     // the row being edited or inserted to the database, as it stands
    void ResetBuffer();  // forgets the edit buffer and its changes
    void CheckActive() const;
    void CheckCanModify() const;
    void CheckCanInsertOrDelete(bool insert) const;
    void CheckDetailsBrowseMode();  // asks the data sets that follow this one to leave their rows
    void BeginInsert(bool append);
    void CancelEditing();
    // Makes a move of the visible rows and tells the controls when the row or an edge changed.
    int Scroll(const std::function<int(TVisibleRows&)>& move);
    // The filter with its columns found; throws "<Name>: Field 'x' not found" for one the result lacks.
    TRowFilter BoundFilter(TRowFilter filter) const;
    void ApplyFilter();
    // The rows a background reading finished, added at the end and told; its end taken when it came.
    void TakeArrivedRows();
    void StartFetchTimer();
    void StopFetchTimer();
    void AppendArrivedRows(const std::vector<std::vector<const char*>>& pieces);
    void EndFetch();

    struct TPrivate;
    std::unique_ptr<TPrivate> d;
    QPointer<TADOConnection> m_connection;
    TDataSourceList m_sources;
    bool m_fetchInBackground = false;
};
