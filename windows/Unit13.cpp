// TForm13, the delivery periods list.
#include "Unit13.h"

TForm13* Form13 = nullptr;

TForm13::TForm13(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form13"));
    SetCaption(QStringLiteral("Сроки поставок"));
    SetBounds(387, 385, 682, 332);
}
