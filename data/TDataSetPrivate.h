// What the data set's own files share: its state (TDataSet::TPrivate) and the check of its invariants
// when an operation ends (TDataSet::TInvariantCheck). Not for any other file.
#pragma once

#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

#include "TBackgroundFetch.h"
#include "TDataSet.h"
#include "TFieldList.h"
#include "TRowFilter.h"
#include "TRowStore.h"
#include "TVisibleRows.h"
#include "TWriteBack.h"

struct TDataSet::TPrivate {
    TDataSetState State = dsInactive;
    TFieldList Fields;
    TRowStore Store;
    TVisibleRows Visible;  // points into Store

    TRowFilter RowFilter;  // as parsed; the visible rows hold it bound while it is in force
    QString Filter;
    bool Filtered = false;

    QVector<QVariant> Buffer;  // the row being edited or inserted
    QVector<bool> Changed;     // which buffer values were set since editing began
    bool Modified = false;

    std::unique_ptr<TWriteBack> Writer;

    // While the result is still being read: the reading, whose store holds the rows until it ends,
    // and the timer that takes its finished rows between events.
    std::unique_ptr<TBackgroundFetch> Fetch;
    int FetchTimer = 0;
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
