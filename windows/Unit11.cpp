// TForm11, the About window.
#include "Unit11.h"

#include "TFormBuilder.h"

TForm11* Form11 = nullptr;

TForm11::TForm11(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form11", QStringLiteral("О программе"), {373, 258, 558, 190});
}
