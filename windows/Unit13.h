// TForm13, the delivery periods list: a grid over DataSource12 filling the window and the tick button that
// closes it. Relies on the window toolkit for its controls and on DataModule3 for its data source; it shows
// the firms_periods view as read at start.
#pragma once

#include "TGridWindow.h"

class TForm13 : public TGridWindow {
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);
};

extern TForm13* Form13;
