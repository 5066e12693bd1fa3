// A table data set and its detail link. A detail keeps every row it read, sorted by its index
// column; following the master narrows the visible rows to one key's contiguous run, so no
// statement is sent and a move costs a binary search.
#include "TADOTable.h"

#include "TDataLink.h"
#include "TDataSource.h"
#include "TField.h"

class TADOTable::TMasterLink : public TDataLink {
public:
    explicit TMasterLink(TADOTable* table) : m_table(table) {}
    void DataEvent(TDataEvent event, int info) override { m_table->MasterEvent(event); }
    // The master is about to leave its row: this detail's edited row goes first, and a refusal
    // keeps the master where it is.
    void CheckBrowseMode() override {
        if (m_table->Active())
            m_table->CheckBrowseMode();
    }

private:
    TADOTable* m_table;
};

TADOTable::TADOTable(QObject* owner, const QString& name)
    : TDataSet(owner, name), m_masterLink(std::make_unique<TMasterLink>(this)) {}

TADOTable::~TADOTable() {
    m_masterLink->SetDataSource(nullptr);
}

void TADOTable::SetTableName(const QString& name) {
    if (name == m_tableName)
        return;
    Close();
    m_tableName = name;
}

void TADOTable::SetIndexFieldNames(const QString& names) {
    if (names == m_indexFieldNames)
        return;
    Close();
    m_indexFieldNames = names;
}

TDataSource* TADOTable::MasterSource() const {
    return m_masterLink->DataSource();
}

void TADOTable::SetMasterSource(TDataSource* master) {
    m_masterLink->SetDataSource(master);
}

void TADOTable::SetMasterFields(const QString& fields) {
    m_masterFields = fields;
    m_conditionActive = false;
    if (Active())
        Follow(true);
}

QString TADOTable::SelectStatement() const {
    // Passed as written: "[order]" keeps its brackets.
    return QStringLiteral("select * from ") + m_tableName;
}

QString TADOTable::WriteTable() const {
    return m_tableName;
}

void TADOTable::AfterOpen() {
    m_conditionActive = false;
    if (!m_indexFieldNames.isEmpty())
        SortRows(FieldByName(m_indexFieldNames)->Index());
    Follow(false);
}

void TADOTable::AfterClose() {
    m_conditionActive = false;
    m_followPending = false;
    m_key = QVariant();
}

bool TADOTable::IsDetail() const {
    return MasterSource() && !m_masterFields.isEmpty();
}

void TADOTable::InitNewRow(QVector<QVariant>& values) {
    // A new detail row belongs to the master's current row.
    if (!m_conditionActive || m_indexFieldNames.isEmpty())
        return;
    if (TField* field = FindField(m_indexFieldNames)) {
        if (!m_key.isNull())
            values[field->Index()] = m_key;
    }
}

void TADOTable::AfterBrowse() {
    if (!m_followPending)
        return;
    m_followPending = false;
    Follow(true);
}

void TADOTable::MasterEvent(TDataEvent event) {
    switch (event) {
        case TDataEvent::Closed:
            // The master closed: the detail drops its condition and shows all its rows.
            if (!Active() || !m_conditionActive)
                return;
            if (Editing()) {
                // A master going away (unbound, or being destroyed) is no moment to write: the row
                // stays in editing and the condition goes once it is posted or cancelled. A master
                // that merely closed posts the row first, as any move of the master does.
                if (!MasterSource()->DataSet()) {
                    m_followPending = true;
                    return;
                }
                try {
                    CheckBrowseMode();
                } catch (...) {
                    m_followPending = true;
                    throw;
                }
            }
            Release(true);
            return;
        case TDataEvent::StateChanged:
        case TDataEvent::RowsArrived:
            return;  // entering or leaving editing, or rows added after the last, change no value
        default:
            Follow(true);
            return;
    }
}

void TADOTable::Release(bool notify) {
    m_followPending = false;
    if (!m_conditionActive)
        return;
    ClearRange();
    m_conditionActive = false;
    m_key = QVariant();
    if (notify)
        NotifyDataSources(TDataEvent::RowsChanged);
}

void TADOTable::Follow(bool notify) {
    if (!Active() || !IsDetail())
        return;
    TDataSet* master = MasterSource()->DataSet();
    if (!master || !master->Active()) {
        Release(notify);  // a master closed or gone while a row of ours was being edited
        return;
    }
    if (m_indexFieldNames.isEmpty())
        return;
    // The master data set names the missing column: "ADOTable4: Field 'x' not found".
    TField* masterField = master->FieldByName(m_masterFields);
    const QVariant key = masterField->Value();  // null when the master has no current row
    if (m_conditionActive && SameKey(key, m_key) && key.isNull() == m_key.isNull())
        return;  // the condition already in force: the current row stays
    if (notify) {
        // An unposted change of the detail is posted first. When that is refused the detail keeps
        // the row being edited, and follows the master as soon as that row is posted or cancelled.
        try {
            CheckBrowseMode();
        } catch (...) {
            m_followPending = true;
            throw;
        }
    }
    m_followPending = false;
    SetRange(key);
    m_key = key;
    m_conditionActive = true;
    if (notify)
        NotifyDataSources(TDataEvent::RowsChanged);
}
