// The receiving end of a data source: a control, chart or detail data set registers a link and is
// called directly (no Qt signal, so an exception raised by a receiver reaches the caller's handler).
#pragma once

#include "TDataEvent.h"

class TDataSource;

class TDataLink {
public:
    virtual ~TDataLink();
    virtual void DataEvent(TDataEvent event, int info) = 0;
    // Asked before the data set posts or leaves an edited row: a control that holds a value not yet
    // in its field (a grid's open cell editor) writes it there now. A value the field refuses throws,
    // and the post does not happen.
    virtual void UpdateRecord() {}
    // Asked before the data set leaves its row or changes which row is current: a detail data set
    // leaves its own edited row first, so that a refused post there stops the move before it begins
    // and the detail never goes on showing the rows of a master row that is no longer current.
    virtual void CheckBrowseMode() {}

    // Binds to a data source (nullptr unbinds). The link is told Opened at once when the data set is open.
    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const { return m_source; }

private:
    friend class TDataSource;
    TDataSource* m_source = nullptr;
};
