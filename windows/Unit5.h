// TForm5, the ware picker: a grid over DataSource4 filling the window and the tick button that closes it.
// Relies on the window toolkit for its controls and on DataModule3 for its data source; the ware chosen is
// the current row of ADOTable3, which the add and sale entry windows read.
#pragma once

#include "TGridWindow.h"

class TForm5 : public TGridWindow {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};

extern TForm5* Form5;
