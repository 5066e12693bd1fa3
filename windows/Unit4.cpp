// TForm4, the add window. Each tick button checks its required texts for emptiness only, sends its
// values through its template (ExecuteTemplate quotes them) and empties its fields; a refusal by the
// database ends the handler in the error box with every field kept for correction.
#include "Unit4.h"

#include <QCalendarWidget>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "TADOQuery.h"
#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TDBText.h"
#include "TFormBuilder.h"
#include "TLabeledEdit.h"
#include "TMessageBoxes.h"
#include "Unit3.h"
#include "Unit5.h"
#include "Unit6.h"

TForm4* Form4 = nullptr;

namespace {

// The add window's four templates separate their values with apostrophe, comma, space, apostrophe.
const QString kSeparator = QStringLiteral("', '");

// Only a text without any character is missing; one of spaces is sent as it stands.
bool AllEntered(std::initializer_list<QString> texts) {
    for (const QString& text : texts) {
        if (text.isEmpty()) {
            ShowMessage(QStringLiteral("Введены не все данные!"));
            return false;
        }
    }
    return true;
}

}  // namespace

TForm4::TForm4(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form4", QStringLiteral("Добавление"), {177, 158, 884, 640});
    OnActivate = [this] { FormActivate(); };

    GroupBox1 = make.GroupBox(this, "GroupBox1", {24, 24, 257, 217}, QStringLiteral("Добавить поставщика"));
    LabeledEdit1 =
        make.LabeledEdit(GroupBox1, "LabeledEdit1", {32, 40, 121, 21}, QStringLiteral("Наименование фирмы"));
    LabeledEdit2 = make.LabeledEdit(GroupBox1, "LabeledEdit2", {32, 80, 121, 21},
                                    QStringLiteral("Ф.И.О. представителя"));
    LabeledEdit3 =
        make.LabeledEdit(GroupBox1, "LabeledEdit3", {32, 120, 121, 21}, QStringLiteral("Телефон*"));
    Label1 = make.Label(GroupBox1, "Label1", {32, 144, 197, 20},
                        QStringLiteral("* В формате x-xxx-xxx-xx-xx"), lsPlain, 16);
    BitBtn1 = make.TickButton(GroupBox1, "BitBtn1", {88, 168}, QStringLiteral("Добавить поставщика"));

    GroupBox2 = make.GroupBox(this, "GroupBox2", {304, 24, 193, 217}, QStringLiteral("Добавить менеджера"));
    LabeledEdit4 =
        make.LabeledEdit(GroupBox2, "LabeledEdit4", {24, 48, 121, 21}, QStringLiteral("Ф.И.О. менеджера"));
    LabeledEdit5 =
        make.LabeledEdit(GroupBox2, "LabeledEdit5", {24, 104, 121, 21}, QStringLiteral("Телефон*"));
    BitBtn2 = make.TickButton(GroupBox2, "BitBtn2", {72, 168}, QStringLiteral("Добавить менеджера"));

    GroupBox3 = make.GroupBox(this, "GroupBox3", {24, 272, 201, 265}, QStringLiteral("Добавить новый товар"));
    LabeledEdit6 =
        make.LabeledEdit(GroupBox3, "LabeledEdit6", {32, 32, 121, 21}, QStringLiteral("Наименование товара"));
    LabeledEdit7 = make.LabeledEdit(GroupBox3, "LabeledEdit7", {32, 72, 121, 21}, QStringLiteral("Описание"));
    LabeledEdit8 =
        make.LabeledEdit(GroupBox3, "LabeledEdit8", {32, 112, 121, 21}, QStringLiteral("Цена закупа"));
    LabeledEdit9 =
        make.LabeledEdit(GroupBox3, "LabeledEdit9", {32, 152, 121, 21}, QStringLiteral("Уровень скидок**"));
    Label2 = make.Label(GroupBox3, "Label2", {32, 184, 113, 25},
                        QStringLiteral("** В табл справа из первого столбца"), lsWordWrap | lsTransparent);
    BitBtn3 = make.TickButton(GroupBox3, "BitBtn3", {56, 216}, QStringLiteral("Добавить товар"));

    // The discount levels, edited in place; a level's id is what LabeledEdit9 takes.
    DBGrid1 = make.Grid(this, "DBGrid1", {264, 280, 241, 233}, TDBGridOptions::Default(),
                        QStringLiteral("Уровни скидок"),
                        {{QStringLiteral("Iddiscount"), 69}, {QStringLiteral("percent")}});
    DBNavigator1 = make.Navigator(this, "DBNavigator1", {264, 512, 240, 25});

    GroupBox4 = make.GroupBox(this, "GroupBox4", {528, 24, 313, 217},
                              QStringLiteral("Прикрепить товар к фирме и установить сроки поставки"));
    DBText1 = make.FieldLabel(GroupBox4, "DBText1", {8, 32, 25, 17}, QStringLiteral("Idwares"));
    DBText2 = make.FieldLabel(GroupBox4, "DBText2", {48, 32, 97, 17}, QStringLiteral("description"));
    Button1 = make.Button(GroupBox4, "Button1", {160, 24, 107, 25}, QStringLiteral("Выбрать товар"));
    DBText3 = make.FieldLabel(GroupBox4, "DBText3", {8, 64, 25, 17}, QStringLiteral("Idprovider"));
    DBText4 = make.FieldLabel(GroupBox4, "DBText4", {48, 64, 65, 17}, QStringLiteral("name"));
    Button2 = make.Button(GroupBox4, "Button2", {160, 64, 107, 25}, QStringLiteral("Выбрать фирму"));
    LabeledEdit10 = make.LabeledEdit(GroupBox4, "LabeledEdit10", {80, 120, 121, 21},
                                     QStringLiteral("Срок поставки товара"));
    BitBtn4 = make.TickButton(GroupBox4, "BitBtn4", {120, 168}, QStringLiteral("Добавить срок поставки"));

    // Shows today's date; set at start-up by the splash, read by nothing.
    MonthCalendar1 = make.MonthCalendar(this, "MonthCalendar1", {608, 280, 177, 185});
    BitBtn5 = make.BitBtn(this, "BitBtn5", {656, 504, 75, 25}, QStringLiteral("Отмена"));

    make.TabOrder(
        this, {GroupBox1, GroupBox2, GroupBox3, DBGrid1, DBNavigator1, GroupBox4, MonthCalendar1, BitBtn5});
    make.TabOrder(GroupBox1, {LabeledEdit1, LabeledEdit2, LabeledEdit3, BitBtn1});
    make.TabOrder(GroupBox2, {LabeledEdit4, LabeledEdit5, BitBtn2});
    make.TabOrder(GroupBox3, {LabeledEdit6, LabeledEdit7, LabeledEdit8, LabeledEdit9, BitBtn3});
    make.TabOrder(GroupBox4, {Button1, Button2, LabeledEdit10, BitBtn4});

    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
    make.OnClick(BitBtn2, [this] { BitBtn2Click(); });
    make.OnClick(BitBtn3, [this] { BitBtn3Click(); });
    make.OnClick(BitBtn4, [this] { BitBtn4Click(); });
    make.OnClick(BitBtn5, [this] { BitBtn5Click(); });
    make.OnClick(Button1, [this] { Button1Click(); });
    make.OnClick(Button2, [this] { Button2Click(); });
}

void TForm4::BindDataModule() {
    TFormBuilder make(this);
    make.Bind(DBGrid1, DataModule3->DataSource3);
    make.Bind(DBNavigator1, DataModule3->DataSource3);
    make.Bind(DBText1, DataModule3->DataSource4);
    make.Bind(DBText2, DataModule3->DataSource4);
    make.Bind(DBText3, DataModule3->DataSource5);
    make.Bind(DBText4, DataModule3->DataSource5);
}

// Every opening from the main window; a picker or a box closing gives the activation back silently.
// The labels show the blank until their data source's current row moves.
void TForm4::FormActivate() {
    DBText1->SetCaption(QStringLiteral(" "));
    DBText2->SetCaption(QStringLiteral(" "));
    DBText3->SetCaption(QStringLiteral(" "));
    DBText4->SetCaption(QStringLiteral(" "));
    LabeledEdit10->SetText(QStringLiteral(" "));
}

void TForm4::BitBtn1Click() {
    if (!AllEntered({LabeledEdit1->Text(), LabeledEdit2->Text(), LabeledEdit3->Text()}))
        return;
    ExecuteTemplate(DataModule3->ADOQuery2,
                    {LabeledEdit1->Text(), LabeledEdit2->Text(), LabeledEdit3->Text()}, kSeparator);
    LabeledEdit1->SetText(QString());
    LabeledEdit2->SetText(QString());
    LabeledEdit3->SetText(QString());
}

void TForm4::BitBtn2Click() {
    if (!AllEntered({LabeledEdit4->Text(), LabeledEdit5->Text()}))
        return;
    ExecuteTemplate(DataModule3->ADOQuery3, {LabeledEdit4->Text(), LabeledEdit5->Text()}, kSeparator);
    LabeledEdit4->SetText(QString());
    LabeledEdit5->SetText(QString());
}

void TForm4::BitBtn3Click() {
    if (!AllEntered({LabeledEdit6->Text(), LabeledEdit7->Text(), LabeledEdit8->Text(), LabeledEdit9->Text()}))
        return;
    ExecuteTemplate(DataModule3->ADOQuery4,
                    {LabeledEdit6->Text(), LabeledEdit7->Text(), LabeledEdit8->Text(), LabeledEdit9->Text()},
                    kSeparator);
    LabeledEdit6->SetText(QString());
    LabeledEdit7->SetText(QString());
    LabeledEdit8->SetText(QString());
    LabeledEdit9->SetText(QString());
}

// The supplier goes first, then the ware, then the period.
void TForm4::BitBtn4Click() {
    if (!AllEntered({DBText1->Caption(), DBText3->Caption(), LabeledEdit10->Text()}))
        return;
    ExecuteTemplate(DataModule3->ADOQuery5, {DBText3->Caption(), DBText1->Caption(), LabeledEdit10->Text()},
                    kSeparator);
    DBText1->SetCaption(QString());
    DBText2->SetCaption(QString());
    DBText3->SetCaption(QString());
    DBText4->SetCaption(QString());
    LabeledEdit10->SetText(QString());
}

void TForm4::BitBtn5Click() {
    Close();
}

void TForm4::Button1Click() {
    Form5->ShowModal();
}

void TForm4::Button2Click() {
    Form6->ShowModal();
}
