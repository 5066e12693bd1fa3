// The grid's model: data set rows by visible index, announced to the view as they change.
#include "TDBGridModel.h"

#include "TDataSet.h"
#include "TDataSource.h"
#include "TField.h"

TDBGridModel::TDBGridModel(QObject* parent) : QAbstractTableModel(parent) {}

TDBGridModel::~TDBGridModel() = default;

TDataSet* TDBGridModel::DataSet() const {
    return DataSource() ? DataSource()->DataSet() : nullptr;
}

void TDBGridModel::SetColumnFields(const QStringList& fields, bool explicitList) {
    beginResetModel();
    m_explicit = explicitList;
    m_fieldNames = explicitList ? fields : QStringList();
    RebuildColumns();
    endResetModel();
    Q_EMIT Reopened();
}

void TDBGridModel::SetEditable(bool editable) {
    if (editable == m_editable)
        return;
    m_editable = editable;
    if (m_rowCount > 0 && !m_fields.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(m_rowCount - 1, int(m_fields.size()) - 1), {});
}

TField* TDBGridModel::ColumnField(int column) const {
    return column >= 0 && column < m_fields.size() ? m_fields.at(column) : nullptr;
}

QString TDBGridModel::ColumnFieldName(int column) const {
    return column >= 0 && column < m_fieldNames.size() ? m_fieldNames.at(column) : QString();
}

void TDBGridModel::RebuildColumns() {
    TDataSet* set = DataSet();
    const bool open = set && set->Active();
    if (!m_explicit) {
        m_fieldNames.clear();
        if (open)
            for (int i = 0; i < set->FieldCount(); ++i)
                m_fieldNames.append(set->Field(i)->FieldName());
    }
    m_fields.clear();
    // A listed column whose field is missing stays, with empty cells (no error).
    for (const QString& name : m_fieldNames)
        m_fields.append(open ? set->FindField(name) : nullptr);
    m_rowCount = open ? set->FetchedCount() : 0;
    m_current = open ? set->RecNo() : -1;
}

int TDBGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int TDBGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_fieldNames.size());
}

int TDBGridModel::SourceRow(int row) const {
    // During an announcement the view may still ask for the rows as they were.
    if (m_pending == Inserting && row >= m_pendingRow)
        return row + 1;
    if (m_pending == Removing) {
        if (row == m_pendingRow)
            return -1;
        if (row > m_pendingRow)
            return row - 1;
    }
    return row;
}

QVariant TDBGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rowCount || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    TField* field = ColumnField(index.column());
    TDataSet* set = DataSet();
    if (!field || !set || !set->Active())
        return QString();
    const int row = SourceRow(index.row());
    if (row < 0 || row >= set->FetchedCount())
        return QString();
    // The current row while editing shows the values being typed, not the stored ones.
    if (row == set->RecNo() && set->State() != dsBrowse)
        return field->DisplayText();
    return set->DisplayTextAt(row, field->Index());
}

QVariant TDBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_fieldNames.size())
        return {};
    // A field's display label; a column without a field is titled with its field name.
    TField* field = m_fields.value(section);
    return field ? field->DisplayLabel() : m_fieldNames.at(section);
}

Qt::ItemFlags TDBGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (m_editable && ColumnField(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

void TDBGridModel::DataEvent(TDataEvent event, int info) {
    switch (event) {
        case TDataEvent::Opened:
        case TDataEvent::Closed:
            beginResetModel();
            RebuildColumns();
            endResetModel();
            Q_EMIT Reopened();
            Q_EMIT CurrentChanged();
            break;
        case TDataEvent::Scrolled: {
            TDataSet* set = DataSet();
            const int old = m_current;
            m_current = set ? set->RecNo() : -1;
            if (old >= 0 && old < m_rowCount)
                Q_EMIT headerDataChanged(Qt::Vertical, old, old);
            if (m_current >= 0 && m_current < m_rowCount)
                Q_EMIT headerDataChanged(Qt::Vertical, m_current, m_current);
            Q_EMIT CurrentChanged();
            break;
        }
        case TDataEvent::RowsChanged:
            RowsChanged(info);
            Q_EMIT CurrentChanged();
            break;
        case TDataEvent::FieldChanged: {
            const int row = m_current;
            for (int c = 0; c < m_fields.size(); ++c)
                if (m_fields.at(c) && m_fields.at(c)->Index() == info && row >= 0 && row < m_rowCount)
                    Q_EMIT dataChanged(index(row, c), index(row, c), {Qt::DisplayRole, Qt::EditRole});
            Q_EMIT FieldChanged(info);
            break;
        }
        case TDataEvent::StateChanged:
            if (m_current >= 0 && m_current < m_rowCount)
                Q_EMIT headerDataChanged(Qt::Vertical, m_current, m_current);
            Q_EMIT StateChanged();
            break;
        case TDataEvent::Posted:
            break;
        case TDataEvent::RowsArrived: {
            // Rows read in the background: the grid grows as they come.
            TDataSet* set = DataSet();
            const int count = set && set->Active() ? set->FetchedCount() : 0;
            if (count > m_rowCount) {
                beginInsertRows(QModelIndex(), m_rowCount, count - 1);
                m_rowCount = count;
                endInsertRows();
            }
            break;
        }
    }
}

void TDBGridModel::UpdateRecord() {
    if (m_commitEditor)
        m_commitEditor();
}

void TDBGridModel::RowsChanged(int previousCurrent) {
    TDataSet* set = DataSet();
    const int count = set && set->Active() ? set->FetchedCount() : 0;
    const int current = set && set->Active() ? set->RecNo() : -1;
    if (count == m_rowCount + 1 && current >= 0 && current < count) {
        // A new row (insert or append) at the current position.
        m_pending = Inserting;
        m_pendingRow = current;
        beginInsertRows(QModelIndex(), current, current);
        m_pending = NoChange;
        m_rowCount = count;
        endInsertRows();
    } else if (count == m_rowCount - 1 && previousCurrent >= 0 && previousCurrent < m_rowCount) {
        // The row that was current went away (delete, or a new row cancelled).
        m_pending = Removing;
        m_pendingRow = previousCurrent;
        beginRemoveRows(QModelIndex(), previousCurrent, previousCurrent);
        m_pending = NoChange;
        m_rowCount = count;
        endRemoveRows();
    } else if (count != m_rowCount) {
        // Many rows at once (a refresh that re-ran its statement, a detail's new condition): all
        // rows go and the new ones come; the columns and their widths stay.
        if (m_rowCount > 0) {
            m_pending = Removing;
            m_pendingRow = 0;
            beginRemoveRows(QModelIndex(), 0, m_rowCount - 1);
            m_pending = NoChange;
            m_rowCount = 0;
            endRemoveRows();
        }
        if (count > 0) {
            beginInsertRows(QModelIndex(), 0, count - 1);
            m_rowCount = count;
            endInsertRows();
        }
    }
    m_current = current;
    if (m_rowCount > 0 && !m_fields.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(m_rowCount - 1, int(m_fields.size()) - 1),
                           {Qt::DisplayRole, Qt::EditRole});
    if (m_rowCount > 0)
        Q_EMIT headerDataChanged(Qt::Vertical, 0, m_rowCount - 1);
}
