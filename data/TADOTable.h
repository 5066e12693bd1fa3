// A table data set: every row and column of a table or view, named as written ("[order]").
// A detail table follows a master data source by a column (MasterFields) and shows only the
// rows whose index column equals the master's; no statement is sent when the master moves.
#pragma once

#include "TDataSet.h"

class TDataSource;

class TADOTable : public TDataSet {
    Q_OBJECT
public:
    TADOTable(QObject* owner, const QString& name);
    ~TADOTable() override;

    QString TableName() const { return m_tableName; }
    void SetTableName(const QString& name);
    QString IndexFieldNames() const { return m_indexFieldNames; }
    void SetIndexFieldNames(const QString& names);
    TDataSource* MasterSource() const;
    void SetMasterSource(TDataSource* master);
    QString MasterFields() const { return m_masterFields; }
    void SetMasterFields(const QString& fields);

    bool IsDetail() const;

protected:
    QString SelectStatement() const override;
    QString WriteTable() const override;
    void AfterOpen() override;
    void AfterClose() override;
    void InitNewRow(QVector<QVariant>& values) override;
    void AfterBrowse() override;

private:
    class TMasterLink;
    void MasterEvent(TDataEvent event);
    // Puts the master's current key in force; notify is false while opening.
    void Follow(bool notify);
    // Drops the condition: every row shows (the master closed).
    void Release(bool notify);

    bool m_conditionActive = false;
    // The master moved or closed while a row of ours was being edited and could not be posted then.
    bool m_followPending = false;
    QVariant m_key;
    QString m_tableName;
    QString m_indexFieldNames;
    QString m_masterFields;
    std::unique_ptr<TMasterLink> m_masterLink;
};
