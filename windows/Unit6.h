// TForm6, the supplier picker: a grid over DataSource5 filling the window and the tick button that closes it.
// Relies on the window toolkit for its controls and on DataModule3 for its data source; the supplier chosen
// is the current row of ADOTable4, which also selects the orders of ADOTable6.
#pragma once

#include "TGridWindow.h"

class TForm6 : public TGridWindow {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
};

extern TForm6* Form6;
