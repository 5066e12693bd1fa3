// A grid window from its row: the grid and the tick button made by the window toolkit; closing, by the
// tick button or the close box, only hides the window, and the row current in the data source is the
// choice a caller reads through its own labels on the same data source.
#include "TGridWindow.h"

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TFormBuilder.h"
#include "Unit3.h"

TGridWindow::TGridWindow(QWidget* parent, TRow row) : TForm(parent), m_source(row.Source) {
    TFormBuilder make(this);
    make.Window(row.Name, row.Caption, row.Bounds);
    DBGrid1 = make.AlignClient(make.Grid(this, "DBGrid1", QRect(QPoint(0, 0), row.ClientArea),
                                         TDBGridOptions::Default(), row.Lists, row.Columns));
    BitBtn1 = make.TickButton(this, "BitBtn1", row.TickAt, row.TickPurpose);
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TGridWindow::BindDataModule() {
    TFormBuilder(this).Bind(DBGrid1, DataModule3->*m_source);
}

void TGridWindow::BitBtn1Click() {
    Close();
}
