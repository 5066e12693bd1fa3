// TForm9, the sale entry window in two steps at one place: step 1 opens a sale for the manager chosen
// in Form10, step 2 adds its lines with the ware chosen in Form5 and a typed quantity.
// Relies on DataModule3 (created before this window) for the data sources and statement templates.
#pragma once

#include "TForm.h"

class QGroupBox;
class QPushButton;
class TBitBtn;
class TDBGrid;
class TDBText;
class TLabeledEdit;

class TForm9 : public TForm {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);
    void BindDataModule() override;

    void FormActivate();
    void Button1Click();
    void BitBtn1Click();
    void Button2Click();
    void BitBtn2Click();

    TDBText* DBText3;
    QGroupBox* GroupBox1;
    QPushButton* Button1;
    TDBText* DBText1;
    TDBText* DBText2;
    TBitBtn* BitBtn1;
    QGroupBox* GroupBox2;
    QPushButton* Button2;
    TDBText* DBText6;
    TDBText* DBText4;
    TDBText* DBText5;
    TLabeledEdit* LabeledEdit1;
    TBitBtn* BitBtn2;
    TDBGrid* DBGrid1;
};

extern TForm9* Form9;
