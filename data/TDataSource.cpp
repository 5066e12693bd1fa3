// A data source: one data set, the links bound to it, and the relay between them.
#include "TDataSource.h"

#include <exception>

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
    ForEachLink([event, info](TDataLink* link) { link->DataEvent(event, info); });
}

void TDataSource::UpdateRecord() {
    ForEachLink([](TDataLink* link) { link->UpdateRecord(); });
}

void TDataSource::ForEachLink(const std::function<void(TDataLink*)>& call) {
    // A receiver may bind or unbind links while being told; only links still bound are called.
    // One receiver's failure (a label naming a missing column, a cell text that does not convert)
    // does not keep the others from being called; the first failure goes on to the caller afterwards.
    const QVector<TDataLink*> links = m_links;
    std::exception_ptr failure;
    for (TDataLink* link : links) {
        if (!m_links.contains(link))
            continue;
        try {
            call(link);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TDataSource::AddLink(TDataLink* link) {
    if (!m_links.contains(link))
        m_links.append(link);
}

void TDataSource::RemoveLink(TDataLink* link) {
    m_links.removeAll(link);
}
