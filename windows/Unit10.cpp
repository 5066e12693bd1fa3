// TForm10, the manager picker. Closing it, by the tick button or the close box, only hides it; the row
// current in its data source then is the choice, read by the caller's own labels on the same data source.
#include "Unit10.h"

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TFormBuilder.h"
#include "Unit3.h"

TForm10* Form10 = nullptr;

TForm10::TForm10(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form10", QStringLiteral("Выбор менеджера"), {422, 442, 446, 329});
    DBGrid1 = make.AlignClient(make.Grid(this, "DBGrid1", {0, 0, 438, 301}, TDBGridOptions::Default(),
                                         QStringLiteral("Менеджеры"),
                                         {{QStringLiteral("name")}, {QStringLiteral("phone")}}));
    BitBtn1 = make.TickButton(this, "BitBtn1", {176, 256}, QStringLiteral("Выбрать менеджера"));
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TForm10::BindDataModule() {
    TFormBuilder(this).Bind(DBGrid1, DataModule3->DataSource8);
}

void TForm10::BitBtn1Click() {
    Close();
}
