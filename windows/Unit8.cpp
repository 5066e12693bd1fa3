// TForm8, the new-order list. Closing it, by the tick button or the close box, only hides it; its current row
// is its data set's, shared with every window on it.
#include "Unit8.h"

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TFormBuilder.h"
#include "Unit3.h"

TForm8* Form8 = nullptr;

TForm8::TForm8(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form8", QStringLiteral("База данных"), {320, 424, 467, 282});
    DBGrid1 = make.AlignClient(make.Grid(this, "DBGrid1", {0, 0, 459, 254}, TDBGridOptions::Default(),
                                         QStringLiteral("Товары со сроками поставки"),
                                         {{QStringLiteral("name"), 87},
                                          {QStringLiteral("Expr2"), 158},
                                          {QStringLiteral("description")},
                                          {QStringLiteral("day")}}));
    BitBtn1 = make.TickButton(this, "BitBtn1", {184, 200}, QStringLiteral("Закрыть"));
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TForm8::BindDataModule() {
    TFormBuilder(this).Bind(DBGrid1, DataModule3->DataSource6);
}

void TForm8::BitBtn1Click() {
    Close();
}
