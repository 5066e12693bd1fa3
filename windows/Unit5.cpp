// TForm5, the ware picker.
#include "Unit5.h"

#include "Unit3.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent)
    : TGridWindow(
          parent,
          {"Form5",
           QStringLiteral("Выбрать товар"),
           {443, 192, 571, 318},
           {563, 290},
           QStringLiteral("Товары"),
           {{QStringLiteral("Idwares")}, {QStringLiteral("name"), 179}, {QStringLiteral("description")}},
           {232, 224},
           QStringLiteral("Выбрать товар"),
           &TDataModule3::DataSource4}) {}
