// TForm13, the delivery periods list.
#include "Unit13.h"

#include "Unit3.h"

TForm13* Form13 = nullptr;

TForm13::TForm13(QWidget* parent)
    : TGridWindow(parent, {"Form13",
                           QStringLiteral("Сроки поставок"),
                           {387, 385, 682, 332},
                           {674, 304},
                           QStringLiteral("Сроки поставок"),
                           {{QStringLiteral("Фирма")},
                            {QStringLiteral("Наименование товара")},
                            {QStringLiteral("Описание товара")},
                            {QStringLiteral("Срок ожидания")}},
                           {288, 240},
                           QStringLiteral("Закрыть"),
                           &TDataModule3::DataSource12}) {}
