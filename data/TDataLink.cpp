// The receiving end of a data source; binding and unbinding keep the source's link list exact.
#include "TDataLink.h"

#include "TDataSet.h"
#include "TDataSource.h"

TDataLink::~TDataLink() {
    if (m_source)
        m_source->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == m_source)
        return;
    if (m_source)
        m_source->RemoveLink(this);
    m_source = source;
    if (m_source) {
        m_source->AddLink(this);
        if (m_source->DataSet() && m_source->DataSet()->Active())
            DataEvent(TDataEvent::Opened, 0);
    }
}
