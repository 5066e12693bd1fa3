// TForm12, the supplier information list.
#include "Unit12.h"

TForm12* Form12 = nullptr;

TForm12::TForm12(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form12"));
    SetCaption(QStringLiteral("Информация о поставщиках"));
    SetBounds(409, 228, 428, 351);
}
