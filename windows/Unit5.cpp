// TForm5, the ware picker.
#include "Unit5.h"

#include "TFormBuilder.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form5", QStringLiteral("Выбрать товар"), {443, 192, 571, 318});
}
