// TForm6, the supplier picker. Closing it, by the tick button or the close box, only hides it; the row
// current in its data source then is the choice, read by the caller's own labels on the same data source.
#include "Unit6.h"

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TFormBuilder.h"
#include "Unit3.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form6", QStringLiteral("Выбор поставщика"), {477, 194, 244, 355});
    DBGrid1 = make.AlignClient(make.Grid(this, "DBGrid1", {0, 0, 236, 327}, TDBGridOptions::Default(),
                                         QStringLiteral("Поставщики"), {{QStringLiteral("name")}}));
    BitBtn1 = make.TickButton(this, "BitBtn1", {80, 256}, QStringLiteral("Выбрать поставщика"));
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TForm6::BindDataModule() {
    TFormBuilder(this).Bind(DBGrid1, DataModule3->DataSource5);
}

void TForm6::BitBtn1Click() {
    Close();
}
