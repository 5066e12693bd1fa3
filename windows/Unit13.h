// TForm13, the delivery periods list: a grid over DataSource12 filling the window and the tick button that
// closes it. Relies on the window toolkit for its controls and on DataModule3 for its data source; it shows
// the firms_periods view as read at start.
#pragma once

#include "TForm.h"

class TBitBtn;
class TDBGrid;

class TForm13 : public TForm {
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);

    void BindDataModule() override;
    void BitBtn1Click();

    TDBGrid* DBGrid1;
    TBitBtn* BitBtn1;
};

extern TForm13* Form13;
