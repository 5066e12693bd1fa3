// TForm12, the supplier information list.
#include "Unit12.h"

#include "TFormBuilder.h"

TForm12* Form12 = nullptr;

TForm12::TForm12(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form12", QStringLiteral("Информация о поставщиках"), {409, 228, 428, 351});
}
