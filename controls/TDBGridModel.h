// The grid's table model over a data source: one row per visible row of the data set, one column per
// grid column. Relies on TDataSet's addressing by visible index, so drawing a page reads only that page;
// the model never walks the rows.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>
#include <functional>

#include "TDataLink.h"

class TDataSet;
class TField;

class TDBGridModel : public QAbstractTableModel, public TDataLink {
    Q_OBJECT
public:
    explicit TDBGridModel(QObject* parent = nullptr);
    ~TDBGridModel() override;

    TDataSet* DataSet() const;
    // An explicit column list (field names in order); an empty list with explicit false means every
    // visible field of the data set, rebuilt each time it opens.
    void SetColumnFields(const QStringList& fields, bool explicitList);
    bool ExplicitColumns() const { return m_explicit; }
    // The field a column shows; nullptr for a column whose field the data set lacks.
    TField* ColumnField(int column) const;
    QString ColumnFieldName(int column) const;
    // Columns that accept typing: set by the grid from its options.
    void SetEditable(bool editable);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void DataEvent(TDataEvent event, int info) override;
    // The grid's open cell editor is written into its field when the data set asks for it.
    void UpdateRecord() override;
    void SetUpdateRecord(std::function<void()> commitEditor) { m_commitEditor = std::move(commitEditor); }

Q_SIGNALS:
    // The data set opened or closed: the columns are new (the grid lays them out again).
    void Reopened();
    // The current row moved, or rows changed under it: the grid follows RecNo.
    void CurrentChanged();
    // Editing or inserting began or ended (the indicator's marker).
    void StateChanged();
    // The value of a field of the current row changed (an editor open on it shows the new text).
    void FieldChanged(int field);

private:
    void RebuildColumns();
    void RowsChanged(int previousCurrent);
    int SourceRow(int row) const;

    std::function<void()> m_commitEditor;
    QStringList m_fieldNames;
    QVector<TField*> m_fields;
    bool m_explicit = false;
    bool m_editable = false;
    int m_rowCount = 0;
    int m_current = -1;
    // While rows are being announced as inserted or removed the data set has already changed;
    // the model answers with the rows as they were until the announcement ends.
    enum TPending { NoChange, Inserting, Removing } m_pending = NoChange;
    int m_pendingRow = -1;
};
