// TForm14, the ware picker for order lines.
#include "Unit14.h"

#include "Unit3.h"

TForm14* Form14 = nullptr;

TForm14::TForm14(QWidget* parent)
    : TGridWindow(parent, {"Form14",
                           QStringLiteral("Выберите товар"),
                           {318, 278, 471, 228},
                           {463, 200},
                           QStringLiteral("Товары поставщика"),
                           {{QStringLiteral("name")}, {QStringLiteral("description")}},
                           {192, 152},
                           QStringLiteral("Выбрать товар"),
                           &TDataModule3::DataSource13}) {}
