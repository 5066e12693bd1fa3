// TForm4, the add window: its window with caption and stored geometry.
// Relies on TForm (platform/forms) for the common window look and behaviour.
#pragma once

#include "TForm.h"

class QCalendarWidget;

class TForm4 : public TForm {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    QCalendarWidget* MonthCalendar1;
};

extern TForm4* Form4;
