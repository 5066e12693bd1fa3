// TForm10, the manager picker: a grid over DataSource8 filling the window and the tick button that closes it.
// Relies on the window toolkit for its controls and on DataModule3 for its data source; the manager chosen is
// the current row of ADOTable7, which the sale entry window reads.
#pragma once

#include "TGridWindow.h"

class TForm10 : public TGridWindow {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);
};

extern TForm10* Form10;
