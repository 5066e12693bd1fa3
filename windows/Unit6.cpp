// TForm6, the supplier picker.
#include "Unit6.h"

#include "TFormBuilder.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form6", QStringLiteral("Выбор поставщика"), {477, 194, 244, 355});
}
