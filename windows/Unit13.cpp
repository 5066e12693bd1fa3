// TForm13, the delivery periods list.
#include "Unit13.h"

#include "TFormBuilder.h"

TForm13* Form13 = nullptr;

TForm13::TForm13(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form13", QStringLiteral("Сроки поставок"), {387, 385, 682, 332});
}
