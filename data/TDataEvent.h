// The changes a data set reports to its data sources and through them to bound controls and charts.
#pragma once

enum class TDataEvent {
    Opened,        // the data set opened: columns and rows are new
    Closed,        // the data set closed: nothing to show
    Scrolled,      // the current row moved to another row; info = the previous row index
    RowsChanged,   // rows were added, removed or re-read (insert, post, cancel, delete, refresh, detail
                   // condition)
    FieldChanged,  // a value of the current row changed while editing; info = the field index
    StateChanged,  // editing or inserting began or ended
    Posted,        // a row was written to the database (after RowsChanged); charts refill on it
    RowsArrived,   // rows read in the background were added at the end (info = the first of them), or
                   // the reading ended (then Fetching() is false)
};
