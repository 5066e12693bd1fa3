// TForm2, the main window: caption, stored geometry, the page control with its three tabs and the
// goods tab's month calendar. Closing it closes the main form Form1, which ends the program.
// Relies on Form1 (Unit1); the controls bound to DataModule3 are bound by BindDataModule.
#pragma once

#include "TForm.h"

class QCalendarWidget;
class QTabWidget;

class TForm2 : public TForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Binds the controls that name DataModule3's components, which is created after this window;
    // the program entry calls it right after creating the data module.
    void BindDataModule();

    void FormClose();

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QCalendarWidget* MonthCalendar1;
};

extern TForm2* Form2;
