// TForm9, the sale entry window.
#include "Unit9.h"

#include "TFormBuilder.h"

TForm9* Form9 = nullptr;

TForm9::TForm9(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form9", QStringLiteral("Оформить продажу"), {399, 124, 257, 283});
}
