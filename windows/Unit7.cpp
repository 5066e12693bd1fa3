// TForm7, the order entry window.
#include "Unit7.h"

#include "TFormBuilder.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form7", QStringLiteral("База данных"), {281, 202, 714, 243});
}
