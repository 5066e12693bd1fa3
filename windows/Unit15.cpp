// TForm15, the deletion window.
#include "Unit15.h"

TForm15* Form15 = nullptr;

TForm15::TForm15(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form15"));
    SetCaption(QStringLiteral("Удаление"));
    SetBounds(288, 268, 592, 302);
}
