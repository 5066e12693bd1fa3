// TForm7, the order entry window: an order header for the supplier chosen in Form6, and order lines
// for the order current in its grid with the ware chosen in Form14 and a typed quantity.
// Relies on DataModule3 (created before this window) for the data sources and statement templates.
#pragma once

#include "TForm.h"

class QLabel;
class QPushButton;
class TBitBtn;
class TDBGrid;
class TDBText;
class TLabeledEdit;

class TForm7 : public TForm {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    void BindDataModule() override;

    void Button2Click();
    void BitBtn1Click();
    void Button1Click();
    void BitBtn2Click();

    QLabel* Label2;
    QPushButton* Button2;
    TDBText* DBText1;
    TDBText* DBText2;
    TBitBtn* BitBtn1;
    QLabel* Label1;
    TDBGrid* DBGrid1;
    TDBText* DBText5;
    QPushButton* Button1;
    TDBText* DBText3;
    TDBText* DBText4;
    TLabeledEdit* LabeledEdit1;
    TBitBtn* BitBtn2;
};

extern TForm7* Form7;
