// TForm7, the order entry window. Identifiers reach the statements through hidden field labels: the
// supplier's Idprovider (DBText1), the order's Idorder (DBText5) and the ware's Idwares (DBText4).
// The ware of a line is the row current in Form14's View_2 data source, which DBText3 and DBText4
// both follow, so the description shown is that of the ware the line records.
#include "Unit7.h"

#include <QLabel>
#include <QPushButton>

#include "TADOQuery.h"
#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBText.h"
#include "TFormBuilder.h"
#include "TLabeledEdit.h"
#include "TMessageBoxes.h"
#include "Unit14.h"
#include "Unit3.h"
#include "Unit6.h"

TForm7* Form7 = nullptr;

namespace {

// Between the values of an order line: no blank, unlike the add window's templates.
const QString kLineSeparator = QStringLiteral("','");

}  // namespace

TForm7::TForm7(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form7", QStringLiteral("База данных"), {281, 202, 714, 243});

    Label2 = make.Label(this, "Label2", {32, 48, 105, 13}, QStringLiteral("Добавление заказа "));
    Button2 = make.Button(this, "Button2", {32, 80, 121, 25}, QStringLiteral("Выбрать поставщика"));
    DBText1 =
        make.FieldLabel(this, "DBText1", {152, 80, 41, 17}, QStringLiteral("Idprovider"), TStart::Hidden);
    DBText2 = make.FieldLabel(this, "DBText2", {48, 112, 97, 17}, QStringLiteral("name"));
    BitBtn1 = make.TickButton(this, "BitBtn1", {64, 144}, QStringLiteral("Добавить заказ"));
    Label1 = make.Label(
        this, "Label1", {208, 32, 281, 26},
        QStringLiteral("Для добавления товаров в заказ выберите сам заказ затем заполните поля справа"),
        lsWordWrap);
    DBGrid1 = make.Grid(this, "DBGrid1", {200, 64, 320, 113}, TDBGridOptions::ReadOnly(),
                        QStringLiteral("Заказы поставщика"));
    DBText5 = make.FieldLabel(this, "DBText5", {680, 48, 65, 17}, QStringLiteral("Idorder"), TStart::Hidden);
    Button1 = make.Button(this, "Button1", {576, 32, 97, 25}, QStringLiteral("Выберите товар"));
    DBText3 = make.FieldLabel(this, "DBText3", {568, 72, 129, 17}, QStringLiteral("description"));
    DBText4 = make.FieldLabel(this, "DBText4", {672, 72, 65, 17}, QStringLiteral("Idwares"), TStart::Hidden);
    LabeledEdit1 = make.LabeledEdit(this, "LabeledEdit1", {568, 112, 121, 21}, QStringLiteral("Количество"));
    LabeledEdit1->SetPurpose(QStringLiteral("Количество выбранного товара в заказе"));
    BitBtn2 = make.TickButton(this, "BitBtn2", {584, 144}, QStringLiteral("Добавить товар в заказ"));

    make.TabOrder(this, {Button2, BitBtn1, DBGrid1, Button1, LabeledEdit1, BitBtn2});

    make.OnClick(Button2, [this] { Button2Click(); });
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
    make.OnClick(Button1, [this] { Button1Click(); });
    make.OnClick(BitBtn2, [this] { BitBtn2Click(); });
}

void TForm7::BindDataModule() {
    TFormBuilder make(this);
    make.Bind(DBText1, DataModule3->DataSource5);
    make.Bind(DBText2, DataModule3->DataSource5);
    make.Bind(DBGrid1, DataModule3->DataSource7);
    make.Bind(DBText5, DataModule3->DataSource7);
    make.Bind(DBText3, DataModule3->DataSource13);
    make.Bind(DBText4, DataModule3->DataSource13);
}

void TForm7::Button2Click() {
    Form6->ShowModal();
}

void TForm7::BitBtn1Click() {
    ExecuteTemplate(DataModule3->ADOQuery6, {DBText1->Caption()}, QString());
    LabeledEdit1->SetText(QStringLiteral(" "));
}

void TForm7::Button1Click() {
    Form14->ShowModal();
}

void TForm7::BitBtn2Click() {
    if (LabeledEdit1->Text().isEmpty()) {
        ShowMessage(QStringLiteral("Введите количество!"));
        return;
    }
    ExecuteTemplate(DataModule3->ADOQuery7, {DBText5->Caption(), DBText4->Caption(), LabeledEdit1->Text()},
                    kLineSeparator);
    LabeledEdit1->SetText(QStringLiteral(" "));
    ShowMessage(
        QStringLiteral("Для добавления еще товаров выберите другой товар и укажите заново количество."));
}
