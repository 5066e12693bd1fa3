// TForm4, the add window: a supplier, a manager, a ware and a ware's delivery period from a supplier,
// each sent by its tick button through its statement template; the discount levels edited in place.
// Relies on DataModule3 (templates, DataSource3..5) and on the pickers Form5 and Form6 for the choices.
#pragma once

#include "TForm.h"

class QCalendarWidget;
class QGroupBox;
class QLabel;
class QPushButton;
class TBitBtn;
class TDBGrid;
class TDBNavigator;
class TDBText;
class TLabeledEdit;

class TForm4 : public TForm {
    Q_OBJECT
public:
    // Binds to DataModule3, which the program creates before this window.
    explicit TForm4(QWidget* parent = nullptr);
    void BindDataModule() override;

    void FormActivate();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void Button1Click();
    void Button2Click();

    QGroupBox* GroupBox1;
    TLabeledEdit* LabeledEdit1;
    TLabeledEdit* LabeledEdit2;
    TLabeledEdit* LabeledEdit3;
    QLabel* Label1;
    TBitBtn* BitBtn1;
    QGroupBox* GroupBox2;
    TLabeledEdit* LabeledEdit4;
    TLabeledEdit* LabeledEdit5;
    TBitBtn* BitBtn2;
    QGroupBox* GroupBox3;
    TLabeledEdit* LabeledEdit6;
    TLabeledEdit* LabeledEdit7;
    TLabeledEdit* LabeledEdit8;
    TLabeledEdit* LabeledEdit9;
    QLabel* Label2;
    TBitBtn* BitBtn3;
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QGroupBox* GroupBox4;
    TDBText* DBText1;
    TDBText* DBText2;
    QPushButton* Button1;
    TDBText* DBText3;
    TDBText* DBText4;
    QPushButton* Button2;
    TLabeledEdit* LabeledEdit10;
    TBitBtn* BitBtn4;
    QCalendarWidget* MonthCalendar1;
    TBitBtn* BitBtn5;
};

extern TForm4* Form4;
