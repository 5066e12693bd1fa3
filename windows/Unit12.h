// TForm12, the supplier information list: a grid over DataSource11 filling the window and the tick button
// that closes it. Relies on the window toolkit for its controls and on DataModule3 for its data source; it
// shares ADOTable9 and its current row with the deletion window's supplier tab, not ADOTable4.
#pragma once

#include "TGridWindow.h"

class TForm12 : public TGridWindow {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);
};

extern TForm12* Form12;
