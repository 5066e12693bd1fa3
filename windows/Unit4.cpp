// TForm4, the add window.
#include "Unit4.h"

#include "TFormBuilder.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form4", QStringLiteral("Добавление"), {177, 158, 884, 640});

    // Shows today's date; set at start-up by the splash, read by nothing.
    MonthCalendar1 = make.MonthCalendar(this, "MonthCalendar1", {608, 280, 177, 185});
}
