// TForm5, the ware picker: a grid over DataSource4 filling the window and the tick button that closes it.
// Relies on the window toolkit for its controls and on DataModule3 for its data source; the ware chosen is
// the current row of ADOTable3, which the add and sale entry windows read.
#pragma once

#include "TForm.h"

class TBitBtn;
class TDBGrid;

class TForm5 : public TForm {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    void BindDataModule() override;
    void BitBtn1Click();

    TDBGrid* DBGrid1;
    TBitBtn* BitBtn1;
};

extern TForm5* Form5;
