// TForm7, the order entry window.
#include "Unit7.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form7"));
    SetCaption(QStringLiteral("База данных"));
    SetBounds(281, 202, 714, 243);
}
