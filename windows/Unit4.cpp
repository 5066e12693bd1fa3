// TForm4, the add window.
#include "Unit4.h"

#include <QCalendarWidget>
#include <QLocale>

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form4"));
    SetCaption(QStringLiteral("Добавление"));
    SetBounds(177, 158, 884, 640);

    // Shows today's date; set at start-up by the splash, read by nothing.
    MonthCalendar1 = new QCalendarWidget(this);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    // Russian month and day names like the rest of the program; no week numbers, which the small
    // stored size has no room for.
    MonthCalendar1->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthCalendar1->setGeometry(608, 280, 177, 185);
}
