// TForm9, the sale entry window.
#include "Unit9.h"

TForm9* Form9 = nullptr;

TForm9::TForm9(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form9"));
    SetCaption(QStringLiteral("Оформить продажу"));
    SetBounds(399, 124, 257, 283);
}
