// TForm5, the ware picker.
#include "Unit5.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form5"));
    SetCaption(QStringLiteral("Выбрать товар"));
    SetBounds(443, 192, 571, 318);
}
