// TForm5, the ware picker. Closing it, by the tick button or the close box, only hides it; the row current in
// its data source then is the choice, read by the caller's own labels on the same data source.
#include "Unit5.h"

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TFormBuilder.h"
#include "Unit3.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form5", QStringLiteral("Выбрать товар"), {443, 192, 571, 318});
    DBGrid1 = make.AlignClient(make.Grid(
        this, "DBGrid1", {0, 0, 563, 290}, TDBGridOptions::Default(), QStringLiteral("Товары"),
        {{QStringLiteral("Idwares")}, {QStringLiteral("name"), 179}, {QStringLiteral("description")}}));
    BitBtn1 = make.TickButton(this, "BitBtn1", {232, 224}, QStringLiteral("Выбрать товар"));
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TForm5::BindDataModule() {
    TFormBuilder(this).Bind(DBGrid1, DataModule3->DataSource4);
}

void TForm5::BitBtn1Click() {
    Close();
}
