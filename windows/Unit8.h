// TForm8, the new-order list: a grid over DataSource6 filling the window and the tick button that closes it.
// Relies on the window toolkit for its controls and on DataModule3 for its data source; nothing in the
// program opens it.
#pragma once

#include "TForm.h"

class TBitBtn;
class TDBGrid;

class TForm8 : public TForm {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    void BindDataModule() override;
    void BitBtn1Click();

    TDBGrid* DBGrid1;
    TBitBtn* BitBtn1;
};

extern TForm8* Form8;
