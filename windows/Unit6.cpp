// TForm6, the supplier picker.
#include "Unit6.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form6"));
    SetCaption(QStringLiteral("Выбор поставщика"));
    SetBounds(477, 194, 244, 355);
}
