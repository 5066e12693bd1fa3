// The data sources that carry one data set, and how its news reaches them: every source is called,
// also after one failed; while the controls are disabled news is held back and told as one change
// when they are enabled again. Relies on TDataSource only.
#pragma once

#include <QVector>
#include <functional>

#include "TDataEvent.h"

class TDataSource;

class TDataSourceList {
public:
    void Add(TDataSource* source);
    void Remove(TDataSource* source);
    const QVector<TDataSource*>& Sources() const { return m_sources; }

    void Disable() { ++m_disabled; }
    // Ends one Disable. The last one tells what happened meanwhile as one change: Closed when the
    // data set ended closed, a reopen when it was opened or closed in between, otherwise new rows.
    void Enable(bool active);
    bool Disabled() const { return m_disabled > 0; }

    void Notify(TDataEvent event, int info);  // held back while disabled
    // Calls every source bound when the call began and still bound; the first failure is rethrown
    // once all were called. Requests (not news) go this way even while disabled.
    void ForEach(const std::function<void(TDataSource*)>& call);

private:
    QVector<TDataSource*> m_sources;
    int m_disabled = 0;
    bool m_pendingEvent = false;
    bool m_pendingReopen = false;
};
