// TForm15, the deletion window.
#include "Unit15.h"

#include "TFormBuilder.h"

TForm15* Form15 = nullptr;

TForm15::TForm15(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form15", QStringLiteral("Удаление"), {288, 268, 592, 302});
}
