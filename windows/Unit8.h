// TForm8, the new-order list: a grid over DataSource6 filling the window and the tick button that closes it.
// Relies on the window toolkit for its controls and on DataModule3 for its data source; nothing in the
// program opens it.
#pragma once

#include "TGridWindow.h"

class TForm8 : public TGridWindow {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
};

extern TForm8* Form8;
