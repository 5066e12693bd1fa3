// A data source: one data set, the links bound to it, and the relay between them.
#include "TDataSource.h"

#include "TCallEach.h"
#include "TDataLink.h"
#include "TDataSet.h"

TDataSource::TDataSource(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

TDataSource::~TDataSource() {
    if (m_dataSet)
        m_dataSet->RemoveDataSource(this);
    // Links outlive their source at exit (windows are destroyed after the data module); they must
    // not point at it afterwards.
    for (TDataLink* link : m_links)
        link->m_source = nullptr;
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->RemoveDataSource(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->AddDataSource(this);
    Notify(m_dataSet && m_dataSet->Active() ? TDataEvent::Opened : TDataEvent::Closed);
}

void TDataSource::Notify(TDataEvent event, int info) {
    CallEach(m_links, [event, info](TDataLink* link) { link->DataEvent(event, info); });
}

void TDataSource::UpdateRecord() {
    CallEach(m_links, [](TDataLink* link) { link->UpdateRecord(); });
}

void TDataSource::CheckBrowseMode() {
    CallEach(m_links, [](TDataLink* link) { link->CheckBrowseMode(); });
}

void TDataSource::AddLink(TDataLink* link) {
    if (!m_links.contains(link))
        m_links.append(link);
}

void TDataSource::RemoveLink(TDataLink* link) {
    m_links.removeAll(link);
}
