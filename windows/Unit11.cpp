// TForm11, the About window, opened from the main window's menu bar and context menu.
#include "Unit11.h"

#include <QLabel>

#include "TBitBtn.h"
#include "TFormBuilder.h"

TForm11* Form11 = nullptr;

TForm11::TForm11(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form11", QStringLiteral("О программе"), {373, 258, 558, 190});
    Label1 =
        make.Label(this, "Label1", {48, 48, 449, 39},
                   QStringLiteral("Программа предназначена для ведения базы данных магазина электроники и "
                                  "бытовой техники. Имеется возможность добавления удаления и редактировния "
                                  "данных, а так же печать полного прайса всех реализующихся товаров."),
                   lsWordWrap);
    BitBtn1 = make.TickButton(this, "BitBtn1", {232, 112}, QStringLiteral("Закрыть"));
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TForm11::BitBtn1Click() {
    Close();
}
