// TForm14, the ware picker for order lines. Closing it, by the tick button or the close box, only hides it;
// the row current in its data source then is the choice, read by the caller's own labels on the same data
// source.
#include "Unit14.h"

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TFormBuilder.h"
#include "Unit3.h"

TForm14* Form14 = nullptr;

TForm14::TForm14(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form14", QStringLiteral("Выберите товар"), {318, 278, 471, 228});
    DBGrid1 = make.AlignClient(make.Grid(this, "DBGrid1", {0, 0, 463, 200}, TDBGridOptions::Default(),
                                         QStringLiteral("Товары поставщика"),
                                         {{QStringLiteral("name")}, {QStringLiteral("description")}}));
    BitBtn1 = make.TickButton(this, "BitBtn1", {192, 152}, QStringLiteral("Выбрать товар"));
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TForm14::BindDataModule() {
    TFormBuilder(this).Bind(DBGrid1, DataModule3->DataSource13);
}

void TForm14::BitBtn1Click() {
    Close();
}
