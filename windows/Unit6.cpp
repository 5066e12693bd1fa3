// TForm6, the supplier picker.
#include "Unit6.h"

#include "Unit3.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent)
    : TGridWindow(parent, {"Form6",
                           QStringLiteral("Выбор поставщика"),
                           {477, 194, 244, 355},
                           {236, 327},
                           QStringLiteral("Поставщики"),
                           {{QStringLiteral("name")}},
                           {80, 256},
                           QStringLiteral("Выбрать поставщика"),
                           &TDataModule3::DataSource5}) {}
