// TForm8, the new-order list (nothing opens it).
#include "Unit8.h"

#include "TFormBuilder.h"

TForm8* Form8 = nullptr;

TForm8::TForm8(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form8", QStringLiteral("База данных"), {320, 424, 467, 282});
}
