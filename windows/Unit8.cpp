// TForm8, the new-order list (nothing opens it).
#include "Unit8.h"

TForm8* Form8 = nullptr;

TForm8::TForm8(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form8"));
    SetCaption(QStringLiteral("База данных"));
    SetBounds(320, 424, 467, 282);
}
