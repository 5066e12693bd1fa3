// TForm8, the new-order list.
#include "Unit8.h"

#include "Unit3.h"

TForm8* Form8 = nullptr;

TForm8::TForm8(QWidget* parent)
    : TGridWindow(parent, {"Form8",
                           QStringLiteral("База данных"),
                           {320, 424, 467, 282},
                           {459, 254},
                           QStringLiteral("Товары со сроками поставки"),
                           {{QStringLiteral("name"), 87},
                            {QStringLiteral("Expr2"), 158},
                            {QStringLiteral("description")},
                            {QStringLiteral("day")}},
                           {184, 200},
                           QStringLiteral("Закрыть"),
                           &TDataModule3::DataSource6}) {}
