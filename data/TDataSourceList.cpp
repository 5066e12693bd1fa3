// Relaying a data set's news to its data sources. A source may unbind itself (or another) while
// being told, so each call walks a copy of the list and skips the sources gone meanwhile.
#include "TDataSourceList.h"

#include "TCallEach.h"
#include "TDataSource.h"

void TDataSourceList::Add(TDataSource* source) {
    if (!m_sources.contains(source))
        m_sources.append(source);
}

void TDataSourceList::Remove(TDataSource* source) {
    m_sources.removeAll(source);
}

void TDataSourceList::Enable(bool active) {
    if (m_disabled == 0)
        return;
    if (--m_disabled > 0 || !m_pendingEvent)
        return;
    const bool reopen = m_pendingReopen;
    m_pendingEvent = m_pendingReopen = false;
    if (!active)
        Notify(TDataEvent::Closed, 0);
    else
        Notify(reopen ? TDataEvent::Opened : TDataEvent::RowsChanged, 0);
}

void TDataSourceList::Notify(TDataEvent event, int info) {
    if (m_disabled > 0) {
        m_pendingEvent = true;
        if (event == TDataEvent::Opened || event == TDataEvent::Closed)
            m_pendingReopen = true;
        return;
    }
    CallEach(m_sources, [event, info](TDataSource* source) { source->Notify(event, info); });
}

void TDataSourceList::ForEach(const std::function<void(TDataSource*)>& call) {
    CallEach(m_sources, call);
}
