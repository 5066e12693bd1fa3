// TForm14, the ware picker for order lines.
#include "Unit14.h"

#include "TFormBuilder.h"

TForm14* Form14 = nullptr;

TForm14::TForm14(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form14", QStringLiteral("Выберите товар"), {318, 278, 471, 228});
}
