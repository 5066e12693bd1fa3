// TForm14, the ware picker for order lines: a grid over DataSource13 filling the window and the tick button
// that closes it. Relies on the window toolkit for its controls and on DataModule3 for its data source;
// ADOTable11 is a detail of the order current in DataSource7, so it lists only that supplier's wares.
#pragma once

#include "TForm.h"

class TBitBtn;
class TDBGrid;

class TForm14 : public TForm {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);

    void BindDataModule() override;
    void BitBtn1Click();

    TDBGrid* DBGrid1;
    TBitBtn* BitBtn1;
};

extern TForm14* Form14;
