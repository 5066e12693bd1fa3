// TForm2, the main window. The sort choices rewrite the ordering line (line 7) of ADOQuery1 and read
// the goods list again; the password "047" unlocks the editing functions for the rest of the run.
#include "Unit2.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

#include "TADOQuery.h"
#include "TADOTable.h"
#include "TBitBtn.h"
#include "TDBChart.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TFormBuilder.h"
#include "TLabeledEdit.h"
#include "TMessageBoxes.h"
#include "TRadioButton.h"
#include "TRvProject.h"
#include "TShellOpen.h"
#include "Unit1.h"
#include "Unit11.h"
#include "Unit12.h"
#include "Unit13.h"
#include "Unit15.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit7.h"
#include "Unit9.h"

TForm2* Form2 = nullptr;

namespace {

// The administrator password, fixed in the program.
const QString kPassword = QStringLiteral("047");
// The ordering line of the goods list's statement, counted from 0.
constexpr int kOrderingLine = 7;

}  // namespace

TForm2::TForm2(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form2", QStringLiteral("База данных"), {257, 181, 772, 508});
    OnClose = [this] { FormClose(); };

    MainMenu1 = make.MainMenu("MainMenu1");
    N1 = make.Menu(MainMenu1, "N1", QStringLiteral("Главная"));
    N2 = make.MenuItem(N1, "N2", QStringLiteral("Оформить продажу"), TStart::Hidden);
    N3 = make.MenuItem(N1, "N3", QStringLiteral("Оформить заказ"), TStart::Hidden);
    N4 = make.MenuItem(N1, "N4", QStringLiteral("Добавление"), TStart::Hidden);
    N6 = make.MenuItem(N1, "N6", QStringLiteral("Печать прайса"));
    N5 = make.MenuItem(N1, "N5", QStringLiteral("Выход"));
    N7 = make.MenuItem(MainMenu1, "N7", QStringLiteral("О программе"));  // on the bar: acts when clicked
    N11 = make.MenuItem(MainMenu1, "N11", QStringLiteral("Отчет"));
    PopupMenu1 = make.PopupMenu("PopupMenu1");
    N10 = make.MenuItem(PopupMenu1, "N10", QStringLiteral("Удаление данных"), TStart::Hidden);
    N9 = make.MenuItem(PopupMenu1, "N9", QStringLiteral("О программе"));
    N8 = make.MenuItem(PopupMenu1, "N8", QStringLiteral("Выход"));

    PageControl1 = make.PageControl(this, "PageControl1", QStringLiteral("Разделы"));
    TabSheet1 = make.TabSheet(PageControl1, "TabSheet1", QStringLiteral("Товары"));
    TabSheet2 = make.TabSheet(PageControl1, "TabSheet2", QStringLiteral("История заказов"));
    TabSheet3 = make.TabSheet(PageControl1, "TabSheet3", QStringLiteral("История продаж"));

    DBGrid1 = make.Grid(TabSheet1, "DBGrid1", {24, 8, 705, 193}, TDBGridOptions::ReadOnly(),
                        QStringLiteral("Список товаров"));
    DBNavigator1 = make.Navigator(TabSheet1, "DBNavigator1", {256, 200, 234, 25},
                                  TDBNavigator::AllButtons & ~(1u << TDBNavigator::nbDelete), TStart::Hidden);
    GroupBox1 = make.GroupBox(TabSheet1, "GroupBox1", {32, 240, 185, 177}, QStringLiteral("Сортировка"));
    CheckBox1 = make.CheckBox(GroupBox1, "CheckBox1", {40, 24, 97, 17}, QStringLiteral("По убыванию"));
    RadioButton1 =
        make.RadioButton(GroupBox1, "RadioButton1", {32, 56, 113, 17}, QStringLiteral("По наименованию"));
    RadioButton2 =
        make.RadioButton(GroupBox1, "RadioButton2", {32, 80, 113, 17}, QStringLiteral("По описанию"));
    RadioButton3 =
        make.RadioButton(GroupBox1, "RadioButton3", {32, 104, 113, 17}, QStringLiteral("По поставщику"));
    RadioButton4 =
        make.RadioButton(GroupBox1, "RadioButton4", {32, 128, 113, 17}, QStringLiteral("По цене продажи"));
    LabeledEdit1 =
        make.LabeledEdit(TabSheet1, "LabeledEdit1", {320, 352, 121, 21}, QStringLiteral("Поле для пароля:"));
    BitBtn1 = make.TickButton(TabSheet1, "BitBtn1", {344, 384}, QStringLiteral("Проверить пароль"));
    Button1 = make.Button(TabSheet1, "Button1", {312, 304, 131, 25}, QStringLiteral("Окно добавления"),
                          TStart::Hidden);
    Button2 = make.Button(TabSheet1, "Button2", {312, 272, 129, 25}, QStringLiteral("Оформить заказ"),
                          TStart::Hidden);
    Button3 = make.Button(TabSheet1, "Button3", {312, 240, 129, 25}, QStringLiteral("Оформить продажу"),
                          TStart::Hidden);
    Button4 = make.Button(TabSheet1, "Button4", {24, 208, 137, 25}, QStringLiteral("Распечатать прайс"));
    // Bound to nothing; the splash selects today in it during the hand-over.
    MonthCalendar1 = make.MonthCalendar(TabSheet1, "MonthCalendar1", {512, 240, 191, 154});

    // The histories: both views read once at start, each shown as a grid and as a chart.
    DBGrid2 = make.Grid(TabSheet2, "DBGrid2", {8, 8, 721, 201}, TDBGridOptions::ReadOnly(),
                        QStringLiteral("История заказов"));
    DBChart1 = make.Chart(TabSheet2, "DBChart1", {8, 224, 489, 194}, QStringLiteral("Диаграмма заказов"));
    Button5 =
        make.Button(TabSheet2, "Button5", {536, 232, 161, 25}, QStringLiteral("Информация о поставщиках"));
    Button6 = make.Button(TabSheet2, "Button6", {536, 264, 161, 25}, QStringLiteral("Сроки поставок"));
    DBGrid3 = make.Grid(TabSheet3, "DBGrid3", {8, 8, 713, 217}, TDBGridOptions::ReadOnly(),
                        QStringLiteral("История продаж"),
                        {{QStringLiteral("Менеджер")},
                         {QStringLiteral("Наименование")},
                         {QStringLiteral("Описание")},
                         {QStringLiteral("Количество")},
                         {QStringLiteral("Дата")}});
    DBChart2 = make.Chart(TabSheet3, "DBChart2", {168, 248, 432, 162}, QStringLiteral("Диаграмма продаж"));
    // The pie: no walls, axes or frame, marks free to leave the plot, no zooming, panning or legend.
    DBChart2->Walls = DBChart2->AxesVisible = DBChart2->FrameVisible = DBChart2->ClipPoints = false;
    DBChart2->AllowZoom = DBChart2->AllowPanning = DBChart2->LegendVisible = false;

    make.TabOrder(TabSheet1, {DBGrid1, DBNavigator1, GroupBox1, LabeledEdit1, BitBtn1, Button1, Button2,
                              Button3, Button4, MonthCalendar1});
    // On screen the supplier radio stands above the sale-price one; the stored order has them the other way.
    make.TabOrder(GroupBox1, {CheckBox1, RadioButton1, RadioButton2, RadioButton4, RadioButton3});
    make.TabOrder(TabSheet2, {DBGrid2, DBChart1, Button5, Button6});
    make.TabOrder(TabSheet3, {DBGrid3, DBChart2});

    make.OnToggle(CheckBox1, [this] { CheckBox1Click(); });
    make.OnClick(RadioButton1, [this] { RadioButton1Click(); });
    make.OnClick(RadioButton2, [this] { RadioButton2Click(); });
    make.OnClick(RadioButton3, [this] { RadioButton3Click(); });
    make.OnClick(RadioButton4, [this] { RadioButton4Click(); });
    make.OnClick(BitBtn1, [this] { BitBtn1Click(); });
    make.OnClick(Button1, [this] { Button1Click(); });
    make.OnClick(Button2, [this] { Button2Click(); });
    make.OnClick(Button3, [this] { Button3Click(); });
    make.OnClick(Button4, [this] { Button4Click(); });
    make.OnClick(Button5, [this] { Button5Click(); });
    make.OnClick(Button6, [this] { Button6Click(); });
    make.OnClick(N2, [this] { Button3Click(); });
    make.OnClick(N3, [this] { Button2Click(); });
    make.OnClick(N4, [this] { Button1Click(); });
    make.OnClick(N6, [this] { Button4Click(); });
    make.OnClick(N5, [this] { N5Click(); });
    make.OnClick(N7, [this] { N7Click(); });
    make.OnClick(N11, [this] { N11Click(); });
    make.OnClick(N10, [this] { N10Click(); });
    make.OnClick(N9, [this] { N7Click(); });
    make.OnClick(N8, [this] { N8Click(); });
}

void TForm2::BindDataModule() {
    TFormBuilder make(this);
    make.Bind(DBGrid1, DataModule3->DataSource1);
    make.Bind(DBNavigator1, DataModule3->DataSource1);
    make.Bind(DBGrid2, DataModule3->DataSource2);
    make.Bind(DBGrid3, DataModule3->DataSource10);
    // Bars: the price over the quantity ordered; slices: the quantity sold, labelled with itself.
    make.BarSeries(DBChart1, QStringLiteral("Series1"), DataModule3->ADOTable1, QStringLiteral("Цена"),
                   QStringLiteral("Кол-во"));
    TChartSeries* slices = make.PieSeries(DBChart2, QStringLiteral("Series2"), DataModule3->ADOTable8,
                                          QStringLiteral("Количество"), QStringLiteral("Количество"));
    slices->MarkLineLength = 8;
    slices->InLegend = false;
}

void TForm2::FormClose() {
    // The main window's own closing only hides it; closing the main form ends the program.
    if (Form1)
        Form1->Close();
}

void TForm2::CheckBox1Click() {
    // The list keeps its order; the next radio selected reads the new direction.
    RadioButton1->SetChecked(false);
    RadioButton2->SetChecked(false);
    RadioButton3->SetChecked(false);
    RadioButton4->SetChecked(false);
}

void TForm2::RadioButton1Click() {
    SortGoods(QStringLiteral("ORDER BY Наименование ASC"), QStringLiteral("ORDER BY Наименование  DESC"));
}

void TForm2::RadioButton2Click() {
    SortGoods(QStringLiteral("ORDER BY description ASC"), QStringLiteral("ORDER BY description DESC"));
}

void TForm2::RadioButton3Click() {
    SortGoods(QStringLiteral("ORDER BY  Поставщик  ASC"), QStringLiteral("ORDER BY  Поставщик DESC"));
}

void TForm2::RadioButton4Click() {
    SortGoods(QStringLiteral("ORDER BY saleprice ASC"), QStringLiteral("ORDER BY saleprice DESC"));
}

// Each sort first posts a row being edited in the goods grid: closing would drop what was typed. A
// refused row stays in the grid with its text and the list keeps its order.
void TForm2::SortGoods(const QString& ascending, const QString& descending) {
    DataModule3->ADOQuery1->CheckBrowseMode();
    DataModule3->ADOQuery1->Close();
    DataModule3->ADOQuery1->SQL().SetStrings(kOrderingLine, CheckBox1->isChecked() ? descending : ascending);
    DataModule3->ADOQuery1->Open();
}

void TForm2::BitBtn1Click() {
    if (LabeledEdit1->Text() == kPassword) {
        LabeledEdit1->setVisible(false);
        BitBtn1->setVisible(false);
        DBNavigator1->setVisible(true);
        N2->setVisible(true);
        N3->setVisible(true);
        N4->setVisible(true);
        N10->setVisible(true);
        Button1->setVisible(true);
        Button2->setVisible(true);
        Button3->setVisible(true);
        DBGrid1->SetOptions(TDBGridOptions::ReadOnly() + dgEditing);
    } else {
        ShowMessage(QStringLiteral("Не правильный пароль!"));
        LabeledEdit1->SetText(QString());
    }
}

void TForm2::Button1Click() {
    Form4->ShowModal();
}

void TForm2::Button2Click() {
    Form7->ShowModal();
}

void TForm2::Button3Click() {
    Form9->ShowModal();
}

void TForm2::Button4Click() {
    DataModule3->RvProject1->Open();
    DataModule3->RvProject1->Close();
    DataModule3->RvProject1->Execute();
}

void TForm2::Button5Click() {
    Form12->ShowModal();
}

void TForm2::Button6Click() {
    Form13->ShowModal();
}

void TForm2::N5Click() {
    Form1->Close();
}

void TForm2::N7Click() {
    Form11->ShowModal();
}

void TForm2::N8Click() {
    Form1->Close();
}

void TForm2::N10Click() {
    Form15->ShowModal();
}

void TForm2::N11Click() {
    // The document opens in the desktop's application for its type; any message is the desktop's.
    ShellOpen(this, QStringLiteral("C:\\ZIRT\\kelvor\\Курсовая по ВМИП.doc"));
}
