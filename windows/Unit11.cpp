// TForm11, the About window.
#include "Unit11.h"

TForm11* Form11 = nullptr;

TForm11::TForm11(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form11"));
    SetCaption(QStringLiteral("О программе"));
    SetBounds(373, 258, 558, 190);
}
