// TForm14, the ware picker for order lines: a grid over DataSource13 filling the window and the tick button
// that closes it. Relies on the window toolkit for its controls and on DataModule3 for its data source;
// ADOTable11 is a detail of the order current in DataSource7, so it lists only that supplier's wares.
#pragma once

#include "TGridWindow.h"

class TForm14 : public TGridWindow {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);
};

extern TForm14* Form14;
