// TForm13, the delivery periods list. Closing it, by the tick button or the close box, only hides it; its
// current row is its data set's, shared with every window on it.
#include "Unit13.h"

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TFormBuilder.h"
#include "Unit3.h"

TForm13* Form13 = nullptr;

TForm13::TForm13(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form13", QStringLiteral("Сроки поставок"), {387, 385, 682, 332});
    DBGrid1 = make.AlignClient(make.Grid(this, "DBGrid1", {0, 0, 674, 304}, TDBGridOptions::Default(),
                                         QStringLiteral("Сроки поставок"),
                                         {{QStringLiteral("Фирма")},
                                          {QStringLiteral("Наименование товара")},
                                          {QStringLiteral("Описание товара")},
                                          {QStringLiteral("Срок ожидания")}}));
    BitBtn1 = make.TickButton(this, "BitBtn1", {288, 240}, QStringLiteral("Закрыть"));
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TForm13::BindDataModule() {
    TFormBuilder(this).Bind(DBGrid1, DataModule3->DataSource12);
}

void TForm13::BitBtn1Click() {
    Close();
}
