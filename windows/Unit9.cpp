// TForm9, the sale entry window. Identifiers reach the statements through hidden field labels: the
// manager's Idmanager (DBText2), the ware's Idwares (DBText6) and the sale's Idsale (DBText3), which
// is the sale the header inserted, current in the sales (newest first) once they are read again.
#include "Unit9.h"

#include <QGroupBox>
#include <QPushButton>

#include "TADOQuery.h"
#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBText.h"
#include "TFormBuilder.h"
#include "TLabeledEdit.h"
#include "TMessageBoxes.h"
#include "Unit10.h"
#include "Unit3.h"
#include "Unit5.h"

TForm9* Form9 = nullptr;

namespace {

// Between the values of a sale line: no blank, unlike the add window's templates.
const QString kLineSeparator = QStringLiteral("','");

}  // namespace

TForm9::TForm9(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form9", QStringLiteral("Оформить продажу"), {399, 124, 257, 283});
    OnActivate = [this] { FormActivate(); };

    DBText3 = make.FieldLabel(this, "DBText3", {184, 0, 65, 17}, QStringLiteral("Idsale"), TStart::Hidden);
    GroupBox1 = make.GroupBox(this, "GroupBox1", {16, 24, 217, 177}, QStringLiteral("Шаг № 1"));
    Button1 = make.Button(GroupBox1, "Button1", {40, 48, 129, 25}, QStringLiteral("Выбрать менеджера"));
    DBText1 = make.FieldLabel(GroupBox1, "DBText1", {48, 88, 129, 17}, QStringLiteral("name"));
    DBText2 =
        make.FieldLabel(GroupBox1, "DBText2", {152, 16, 65, 17}, QStringLiteral("Idmanager"), TStart::Hidden);
    BitBtn1 = make.TickButton(GroupBox1, "BitBtn1", {64, 118}, QStringLiteral("Открыть продажу"));
    // Made after step 1, so it lies above it.
    GroupBox2 = make.GroupBox(this, "GroupBox2", {16, 24, 217, 217}, QStringLiteral("Шаг № 2"));
    Button2 = make.Button(GroupBox2, "Button2", {40, 24, 129, 25}, QStringLiteral("Выберите товар"));
    DBText6 =
        make.FieldLabel(GroupBox2, "DBText6", {8, 48, 25, 17}, QStringLiteral("Idwares"), TStart::Hidden);
    DBText4 = make.FieldLabel(GroupBox2, "DBText4", {56, 56, 97, 17}, QStringLiteral("name"));
    DBText5 = make.FieldLabel(GroupBox2, "DBText5", {32, 72, 153, 41}, QStringLiteral("description"),
                              TStart::Shown, lsWordWrap, Qt::white);
    LabeledEdit1 =
        make.LabeledEdit(GroupBox2, "LabeledEdit1", {40, 136, 121, 21}, QStringLiteral("Количество :"));
    LabeledEdit1->SetPurpose(QStringLiteral("Количество выбранного товара в продаже"));
    BitBtn2 = make.TickButton(GroupBox2, "BitBtn2", {64, 160}, QStringLiteral("Добавить товар в продажу"));
    DBGrid1 = make.Grid(this, "DBGrid1", {16, 240, 224, 120}, TDBGridOptions::Default(),
                        QStringLiteral("Продажи"), {}, TStart::Hidden);

    make.TabOrder(this, {GroupBox1, GroupBox2, DBGrid1});
    make.TabOrder(GroupBox1, {BitBtn1, Button1});
    make.TabOrder(GroupBox2, {Button2, LabeledEdit1, BitBtn2});

    make.OnClick(Button1, [this] { Button1Click(); });
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
    make.OnClick(Button2, [this] { Button2Click(); });
    make.OnClick(BitBtn2, [this] { BitBtn2Click(); });
}

void TForm9::BindDataModule() {
    TFormBuilder make(this);
    make.Bind(DBText3, DataModule3->DataSource9);
    make.Bind(DBText1, DataModule3->DataSource8);
    make.Bind(DBText2, DataModule3->DataSource8);
    make.Bind(DBText6, DataModule3->DataSource4);
    make.Bind(DBText4, DataModule3->DataSource4);
    make.Bind(DBText5, DataModule3->DataSource4);
    make.Bind(DBGrid1, DataModule3->DataSource9);
}

// Runs once per opening from the main window; a picker or a box closing gives the activation back
// without it, so the step shown stays.
void TForm9::FormActivate() {
    GroupBox1->setVisible(true);
    GroupBox2->setVisible(false);
}

void TForm9::Button1Click() {
    Form10->ShowModal();
}

void TForm9::BitBtn1Click() {
    const QVariant sale = ExecuteTemplate(DataModule3->ADOQuery8, {DBText2->Caption()}, QString());
    GroupBox1->setVisible(false);
    GroupBox2->setVisible(true);
    DataModule3->ReadSalesAgain(sale);
}

void TForm9::Button2Click() {
    Form5->ShowModal();
}

void TForm9::BitBtn2Click() {
    ExecuteTemplate(DataModule3->ADOQuery10, {DBText3->Caption(), DBText6->Caption(), LabeledEdit1->Text()},
                    kLineSeparator);
    GroupBox1->setVisible(false);
    GroupBox2->setVisible(true);
    LabeledEdit1->SetText(QString());
    ShowMessage(
        QStringLiteral("Для добавлния еще одного товара в данную покупку, выберите заново товар и укажите "
                       "новое количество "));
}
