// TForm10, the manager picker.
#include "Unit10.h"

#include "TFormBuilder.h"

TForm10* Form10 = nullptr;

TForm10::TForm10(QWidget* parent) : TForm(parent) {
    TFormBuilder(this).Window("Form10", QStringLiteral("Выбор менеджера"), {422, 442, 446, 329});
}
