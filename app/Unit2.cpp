// TForm2, the main window. The sort choices rewrite the ordering line (line 7) of ADOQuery1 and read
// the goods list again; the password "047" unlocks the editing functions for the rest of the run.
#include "Unit2.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "TADOQuery.h"
#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "THandlerDispatch.h"
#include "TLabeledEdit.h"
#include "TMessageBoxes.h"
#include "TRadioButton.h"
#include "TRvProject.h"
#include "TShellOpen.h"
#include "Unit1.h"
#include "Unit11.h"
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

QWidget* MakeTabSheet(const char* name) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QLatin1String(name));
    sheet->setBackgroundRole(QPalette::Button);
    sheet->setAutoFillBackground(true);
    return sheet;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& bounds,
                        bool visible) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(bounds);
    button->setVisible(visible);
    return button;
}

TRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& caption, int top) {
    auto* radio = new TRadioButton(parent);
    radio->setObjectName(QLatin1String(name));
    radio->setText(caption);
    radio->SetBounds(32, top, 113, 17);
    return radio;
}

QAction* MakeItem(QObject* parent, const char* name, const QString& caption, bool visible) {
    auto* item = new QAction(caption, parent);
    item->setObjectName(QLatin1String(name));
    item->setVisible(visible);
    return item;
}

}  // namespace

TForm2::TForm2(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form2"));
    SetCaption(QStringLiteral("База данных"));
    SetBounds(257, 181, 772, 508);
    OnClose = [this] { FormClose(); };

    // The page control fills the client area below the menu bar; the layout keeps it so.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    layout->setMenuBar(MainMenu1);
    N1 = new QMenu(QStringLiteral("Главная"), MainMenu1);
    N1->setObjectName(QStringLiteral("N1"));
    N2 = MakeItem(N1, "N2", QStringLiteral("Оформить продажу"), false);
    N3 = MakeItem(N1, "N3", QStringLiteral("Оформить заказ"), false);
    N4 = MakeItem(N1, "N4", QStringLiteral("Добавление"), false);
    N6 = MakeItem(N1, "N6", QStringLiteral("Печать прайса"), true);
    N5 = MakeItem(N1, "N5", QStringLiteral("Выход"), true);
    N1->addActions({N2, N3, N4, N6, N5});
    MainMenu1->addMenu(N1);
    // Items on the bar itself act when clicked.
    N7 = MakeItem(MainMenu1, "N7", QStringLiteral("О программе"), true);
    N11 = MakeItem(MainMenu1, "N11", QStringLiteral("Отчет"), true);
    MainMenu1->addAction(N7);
    MainMenu1->addAction(N11);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N10 = MakeItem(PopupMenu1, "N10", QStringLiteral("Удаление данных"), false);
    N9 = MakeItem(PopupMenu1, "N9", QStringLiteral("О программе"), true);
    N8 = MakeItem(PopupMenu1, "N8", QStringLiteral("Выход"), true);
    PopupMenu1->addActions({N10, N9, N8});
    // A right click anywhere in the window that no control answers itself reaches the window.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { Dispatch([this, at] { PopupMenu1->popup(mapToGlobal(at)); }); });

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1);
    TabSheet1 = MakeTabSheet("TabSheet1");
    TabSheet2 = MakeTabSheet("TabSheet2");
    TabSheet3 = MakeTabSheet("TabSheet3");
    PageControl1->addTab(TabSheet1, QStringLiteral("Товары"));
    PageControl1->addTab(TabSheet2, QStringLiteral("История заказов"));
    PageControl1->addTab(TabSheet3, QStringLiteral("История продаж"));
    PageControl1->setCurrentWidget(TabSheet1);

    DBGrid1 = new TDBGrid(TabSheet1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetBounds(24, 8, 705, 193);
    DBGrid1->SetOptions(TDBGridOptions::ReadOnly());

    DBNavigator1 = new TDBNavigator(TabSheet1);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetVisibleButtons(TDBNavigator::AllButtons & ~(1u << TDBNavigator::nbDelete));
    DBNavigator1->SetBounds(256, 200, 234, 25);
    DBNavigator1->setVisible(false);

    GroupBox1 = new QGroupBox(QStringLiteral("Сортировка"), TabSheet1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(32, 240, 185, 177);
    CheckBox1 = new QCheckBox(QStringLiteral("По убыванию"), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(40, 24, 97, 17);
    RadioButton1 = MakeRadio(GroupBox1, "RadioButton1", QStringLiteral("По наименованию"), 56);
    RadioButton2 = MakeRadio(GroupBox1, "RadioButton2", QStringLiteral("По описанию"), 80);
    RadioButton3 = MakeRadio(GroupBox1, "RadioButton3", QStringLiteral("По поставщику"), 104);
    RadioButton4 = MakeRadio(GroupBox1, "RadioButton4", QStringLiteral("По цене продажи"), 128);

    LabeledEdit1 = new TLabeledEdit(TabSheet1);
    LabeledEdit1->setObjectName(QStringLiteral("LabeledEdit1"));
    LabeledEdit1->SetLabelCaption(QStringLiteral("Поле для пароля:"));
    LabeledEdit1->SetBounds(320, 352, 121, 21);

    BitBtn1 = new TBitBtn(TabSheet1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetBounds(344, 384, 75, 35);

    Button1 = MakeButton(TabSheet1, "Button1", QStringLiteral("Окно добавления"), {312, 304, 131, 25}, false);
    Button2 = MakeButton(TabSheet1, "Button2", QStringLiteral("Оформить заказ"), {312, 272, 129, 25}, false);
    Button3 =
        MakeButton(TabSheet1, "Button3", QStringLiteral("Оформить продажу"), {312, 240, 129, 25}, false);
    Button4 = MakeButton(TabSheet1, "Button4", QStringLiteral("Распечатать прайс"), {24, 208, 137, 25}, true);

    // Bound to nothing; the splash selects today in it during the hand-over.
    MonthCalendar1 = new QCalendarWidget(TabSheet1);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    // Russian month and day names like the rest of the program; no week numbers, which the small
    // stored size has no room for.
    MonthCalendar1->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthCalendar1->setGeometry(512, 240, 191, 154);

    // The stored tab order; inside the group box the sale-price radio comes before the supplier one.
    QWidget::setTabOrder(PageControl1, DBGrid1);
    const QList<QWidget*> order{DBGrid1,      DBNavigator1, CheckBox1,    RadioButton1,  RadioButton2,
                                RadioButton4, RadioButton3, LabeledEdit1, BitBtn1,       Button1,
                                Button2,      Button3,      Button4,      MonthCalendar1};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(CheckBox1, &QCheckBox::toggled, this, Handler([this] { CheckBox1Click(); }));
    RadioButton1->OnClick = [this] { RadioButton1Click(); };
    RadioButton2->OnClick = [this] { RadioButton2Click(); };
    RadioButton3->OnClick = [this] { RadioButton3Click(); };
    RadioButton4->OnClick = [this] { RadioButton4Click(); };
    connect(BitBtn1, &QPushButton::clicked, this, Handler([this] { BitBtn1Click(); }));
    connect(Button1, &QPushButton::clicked, this, Handler([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Handler([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, Handler([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, Handler([this] { Button4Click(); }));
    connect(N2, &QAction::triggered, this, Handler([this] { Button3Click(); }));
    connect(N3, &QAction::triggered, this, Handler([this] { Button2Click(); }));
    connect(N4, &QAction::triggered, this, Handler([this] { Button1Click(); }));
    connect(N6, &QAction::triggered, this, Handler([this] { Button4Click(); }));
    connect(N5, &QAction::triggered, this, Handler([this] { N5Click(); }));
    connect(N7, &QAction::triggered, this, Handler([this] { N7Click(); }));
    connect(N11, &QAction::triggered, this, Handler([this] { N11Click(); }));
    connect(N10, &QAction::triggered, this, Handler([this] { N10Click(); }));
    connect(N9, &QAction::triggered, this, Handler([this] { N7Click(); }));
    connect(N8, &QAction::triggered, this, Handler([this] { N8Click(); }));
}

void TForm2::BindDataModule() {
    DBGrid1->SetDataSource(DataModule3->DataSource1);
    DBNavigator1->SetDataSource(DataModule3->DataSource1);
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

// Each sort first posts a row being edited in the goods grid: closing would drop what was typed. A
// refused row stays in the grid with its text and the list keeps its order.
void TForm2::RadioButton1Click() {
    DataModule3->ADOQuery1->CheckBrowseMode();
    DataModule3->ADOQuery1->Close();
    if (CheckBox1->isChecked())
        DataModule3->ADOQuery1->SQL().SetStrings(kOrderingLine,
                                                 QStringLiteral("ORDER BY Наименование  DESC"));
    else
        DataModule3->ADOQuery1->SQL().SetStrings(kOrderingLine, QStringLiteral("ORDER BY Наименование ASC"));
    DataModule3->ADOQuery1->Open();
}

void TForm2::RadioButton2Click() {
    DataModule3->ADOQuery1->CheckBrowseMode();
    DataModule3->ADOQuery1->Close();
    if (CheckBox1->isChecked())
        DataModule3->ADOQuery1->SQL().SetStrings(kOrderingLine, QStringLiteral("ORDER BY description DESC"));
    else
        DataModule3->ADOQuery1->SQL().SetStrings(kOrderingLine, QStringLiteral("ORDER BY description ASC"));
    DataModule3->ADOQuery1->Open();
}

void TForm2::RadioButton3Click() {
    DataModule3->ADOQuery1->CheckBrowseMode();
    DataModule3->ADOQuery1->Close();
    if (CheckBox1->isChecked())
        DataModule3->ADOQuery1->SQL().SetStrings(kOrderingLine, QStringLiteral("ORDER BY  Поставщик DESC"));
    else
        DataModule3->ADOQuery1->SQL().SetStrings(kOrderingLine, QStringLiteral("ORDER BY  Поставщик  ASC"));
    DataModule3->ADOQuery1->Open();
}

void TForm2::RadioButton4Click() {
    DataModule3->ADOQuery1->CheckBrowseMode();
    DataModule3->ADOQuery1->Close();
    if (CheckBox1->isChecked())
        DataModule3->ADOQuery1->SQL().SetStrings(kOrderingLine, QStringLiteral("ORDER BY saleprice DESC"));
    else
        DataModule3->ADOQuery1->SQL().SetStrings(kOrderingLine, QStringLiteral("ORDER BY saleprice ASC"));
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
