// TForm2, the main window: menu bar, context menu, three tabs; the goods tab with its sort choices and the
// password that unlocks the editing functions. Closing it closes Form1, which ends the program.
// Relies on DataModule3 (bound by BindDataModule), controls/ and the windows it opens modally.
#pragma once

#include "TForm.h"

class QAction;
class QCalendarWidget;
class QCheckBox;
class QGroupBox;
class QMenu;
class QMenuBar;
class QPushButton;
class QTabWidget;
class TBitBtn;
class TDBChart;
class TDBGrid;
class TDBNavigator;
class TLabeledEdit;
class TRadioButton;

class TForm2 : public TForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Binds the controls that name DataModule3's components, which is created after this window;
    // the program entry calls it right after creating the data module.
    void BindDataModule();

    void FormClose();
    void CheckBox1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void BitBtn1Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void N5Click();
    void N7Click();
    void N8Click();
    void N10Click();
    void N11Click();

    QMenuBar* MainMenu1;
    QMenu* N1;
    QAction* N2;
    QAction* N3;
    QAction* N4;
    QAction* N6;
    QAction* N5;
    QAction* N7;
    QAction* N11;
    QMenu* PopupMenu1;
    QAction* N10;
    QAction* N9;
    QAction* N8;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;

    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QGroupBox* GroupBox1;
    QCheckBox* CheckBox1;
    TRadioButton* RadioButton1;
    TRadioButton* RadioButton2;
    TRadioButton* RadioButton3;
    TRadioButton* RadioButton4;
    TLabeledEdit* LabeledEdit1;
    TBitBtn* BitBtn1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QCalendarWidget* MonthCalendar1;

    // The order history tab.
    TDBGrid* DBGrid2;
    TDBChart* DBChart1;
    QPushButton* Button5;
    QPushButton* Button6;
    // The sales history tab.
    TDBGrid* DBGrid3;
    TDBChart* DBChart2;

private:
    // The goods list read again in the order of the line for the check box's direction.
    void SortGoods(const QString& ascending, const QString& descending);
};

extern TForm2* Form2;
