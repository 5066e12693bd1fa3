// TForm12, the supplier information list. Closing it, by the tick button or the close box, only hides it; its
// current row is its data set's, shared with every window on it.
#include "Unit12.h"

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TFormBuilder.h"
#include "Unit3.h"

TForm12* Form12 = nullptr;

TForm12::TForm12(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form12", QStringLiteral("Информация о поставщиках"), {409, 228, 428, 351});
    DBGrid1 = make.AlignClient(
        make.Grid(this, "DBGrid1", {0, 0, 420, 323}, TDBGridOptions::Default(), QStringLiteral("Поставщики"),
                  {{QStringLiteral("name")}, {QStringLiteral("agentname")}, {QStringLiteral("phone")}}));
    BitBtn1 = make.TickButton(this, "BitBtn1", {152, 264}, QStringLiteral("Закрыть"));
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TForm12::BindDataModule() {
    TFormBuilder(this).Bind(DBGrid1, DataModule3->DataSource11);
}

void TForm12::BitBtn1Click() {
    Close();
}
