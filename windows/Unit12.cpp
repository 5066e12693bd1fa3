// TForm12, the supplier information list.
#include "Unit12.h"

#include "Unit3.h"

TForm12* Form12 = nullptr;

TForm12::TForm12(QWidget* parent)
    : TGridWindow(parent,
                  {"Form12",
                   QStringLiteral("Информация о поставщиках"),
                   {409, 228, 428, 351},
                   {420, 323},
                   QStringLiteral("Поставщики"),
                   {{QStringLiteral("name")}, {QStringLiteral("agentname")}, {QStringLiteral("phone")}},
                   {152, 264},
                   QStringLiteral("Закрыть"),
                   &TDataModule3::DataSource11}) {}
