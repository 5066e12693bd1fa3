// TForm10, the manager picker.
#include "Unit10.h"

TForm10* Form10 = nullptr;

TForm10::TForm10(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form10"));
    SetCaption(QStringLiteral("Выбор менеджера"));
    SetBounds(422, 442, 446, 329);
}
