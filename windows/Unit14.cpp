// TForm14, the ware picker for order lines.
#include "Unit14.h"

TForm14* Form14 = nullptr;

TForm14::TForm14(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form14"));
    SetCaption(QStringLiteral("Выберите товар"));
    SetBounds(318, 278, 471, 228);
}
