// TForm10, the manager picker.
#include "Unit10.h"

#include "Unit3.h"

TForm10* Form10 = nullptr;

TForm10::TForm10(QWidget* parent)
    : TGridWindow(parent, {"Form10",
                           QStringLiteral("Выбор менеджера"),
                           {422, 442, 446, 329},
                           {438, 301},
                           QStringLiteral("Менеджеры"),
                           {{QStringLiteral("name")}, {QStringLiteral("phone")}},
                           {176, 256},
                           QStringLiteral("Выбрать менеджера"),
                           &TDataModule3::DataSource8}) {}
