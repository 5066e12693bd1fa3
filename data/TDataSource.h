// A data source links one data set to the controls bound to it and relays every change to them.
#pragma once

#include <QObject>
#include <QVector>

#include "TDataEvent.h"

class TDataLink;
class TDataSet;

class TDataSource : public QObject {
    Q_OBJECT
public:
    TDataSource(QObject* owner, const QString& name);
    ~TDataSource() override;

    TDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* dataSet);

    // Called by the data set; calls every link in binding order.
    void Notify(TDataEvent event, int info = 0);
    // Called by the data set before a post; asks every link to write what it holds into its field.
    void UpdateRecord();
    // Called by the data set before it leaves its row; asks every link to leave its own edited row.
    void CheckBrowseMode();

private:
    friend class TDataLink;
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);

    TDataSet* m_dataSet = nullptr;
    QVector<TDataLink*> m_links;
};
