// The window toolkit over the component kinds the windows still to come are made of: a window built
// from rows (page control and sheets, group boxes, labelled edits, labels, tick button, grid with a
// column list, navigator, field label, check box, radio buttons, calendar, menus) matches its rows and
// has a name on every control a user can reach, and Tab walks it in the order of its rows; handlers
// bound through the toolkit end in the error box when they throw, and the window goes on; the context
// menu opens by key at the focused control unless that control has a menu of its own.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "Exception.h"
#include "TBitBtn.h"
#include "TControlsFixture.h"
#include "TDBGrid.h"
#include "TDBGridModel.h"
#include "TDBText.h"
#include "TErrorBox.h"
#include "TForm.h"
#include "TFormBuilder.h"
#include "TLabeledEdit.h"
#include "TLayoutCheck.h"
#include "TModalAnswerer.h"
#include "TRadioButton.h"

namespace {

// Rows in the manner of the add and deletion windows, over the fixture's discount table.
struct TSampleWindow : TForm {
    Q_OBJECT

public:
    QMenuBar* MainMenu1;
    QMenu* N1;
    QAction* N2;
    QMenu* PopupMenu1;
    QAction* N3;
    QAction* N4;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QGroupBox* GroupBox1;
    TLabeledEdit* LabeledEdit1;
    TLabeledEdit* LabeledEdit2;
    QLabel* Label1;
    QLabel* Label2;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn5;
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    TDBText* DBText1;
    QPushButton* Button1;
    QCheckBox* CheckBox1;
    TRadioButton* RadioButton1;
    TRadioButton* RadioButton2;
    QCalendarWidget* MonthCalendar1;

    explicit TSampleWindow(TDataSource* source) {
        TFormBuilder make(this);
        make.Window("SampleWindow", QStringLiteral("Добавление"), {177, 158, 884, 640});
        MainMenu1 = make.MainMenu("MainMenu1");
        N1 = make.Menu(MainMenu1, "N1", QStringLiteral("Главная"));
        N2 = make.MenuItem(N1, "N2", QStringLiteral("Выход"), TStart::Hidden);
        PopupMenu1 = make.PopupMenu("PopupMenu1");
        N3 = make.MenuItem(PopupMenu1, "N3", QStringLiteral("О программе"));
        N4 = make.MenuItem(PopupMenu1, "N4", QStringLiteral("Выход"));
        PageControl1 = make.PageControl(this, "PageControl1", QStringLiteral("Разделы"));
        TabSheet1 = make.TabSheet(PageControl1, "TabSheet1", QStringLiteral("Удаление поставщиков"));
        TabSheet2 = make.TabSheet(PageControl1, "TabSheet2", QStringLiteral("Удалений менеджера"));
        GroupBox1 =
            make.GroupBox(TabSheet1, "GroupBox1", {24, 24, 257, 217}, QStringLiteral("Добавить поставщика"));
        LabeledEdit1 = make.LabeledEdit(GroupBox1, "LabeledEdit1", {32, 40, 121, 21},
                                        QStringLiteral("Наименование фирмы"));
        LabeledEdit2 =
            make.LabeledEdit(GroupBox1, "LabeledEdit2", {32, 80, 121, 21}, QStringLiteral("Телефон*"));
        LabeledEdit2->SetPurpose(QStringLiteral("Телефон поставщика"));
        Label1 = make.Label(GroupBox1, "Label1", {32, 110, 197, 20},
                            QStringLiteral("* В формате x-xxx-xxx-xx-xx"), lsPlain, 16);
        Label2 =
            make.Label(GroupBox1, "Label2", {32, 130, 113, 25},
                       QStringLiteral("** В табл справа из первого столбца"), lsWordWrap | lsTransparent);
        BitBtn1 = make.TickButton(GroupBox1, "BitBtn1", {88, 168}, QStringLiteral("Добавить поставщика"));
        BitBtn5 = make.BitBtn(TabSheet2, "BitBtn5", {400, 200, 75, 25}, QStringLiteral("Отмена"));
        DBGrid1 = make.Grid(TabSheet1, "DBGrid1", {300, 24, 241, 233}, TDBGridOptions::Default(),
                            QStringLiteral("Уровни скидок"),
                            {{QStringLiteral("Iddiscount"), 69}, {QStringLiteral("percent")}});
        DBNavigator1 = make.Navigator(TabSheet1, "DBNavigator1", {300, 256, 245, 25});
        DBText1 = make.FieldLabel(TabSheet1, "DBText1", {8, 300, 25, 17}, QStringLiteral("percent"),
                                  TStart::Hidden, lsWordWrap, Qt::white);
        Button1 = make.Button(TabSheet1, "Button1", {160, 300, 107, 25}, QStringLiteral("Выбрать товар"),
                              TStart::Hidden);
        CheckBox1 = make.CheckBox(TabSheet2, "CheckBox1", {40, 24, 97, 17}, QStringLiteral("По убыванию"));
        RadioButton1 =
            make.RadioButton(TabSheet2, "RadioButton1", {32, 56, 113, 17}, QStringLiteral("По наименованию"));
        RadioButton2 =
            make.RadioButton(TabSheet2, "RadioButton2", {32, 80, 113, 17}, QStringLiteral("По описанию"));
        MonthCalendar1 = make.MonthCalendar(TabSheet2, "MonthCalendar1", {208, 80, 177, 185});
        make.TabOrder(TabSheet1, {DBGrid1, GroupBox1, DBNavigator1, Button1});
        make.TabOrder(GroupBox1, {LabeledEdit2, LabeledEdit1, BitBtn1});
        make.TabOrder(TabSheet2, {RadioButton2, MonthCalendar1, CheckBox1, RadioButton1});
        make.Bind(DBGrid1, source);
        make.Bind(DBNavigator1, source);
        make.Bind(DBText1, source);
    }
};

}  // namespace

class TstFormBuilder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowMatchesItsRows();
    void handlerFailureEndsInTheErrorBox_data();
    void handlerFailureEndsInTheErrorBox();
    void contextMenuByKey_data();
    void contextMenuByKey();
    void menuBarByF10();
};

void TstFormBuilder::windowMatchesItsRows() {
    TControlsFixture f;
    TSampleWindow window(f.Source);
    f.Table->Open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TLayoutCheck::CheckAgainstRows(&window);
    if (QTest::currentTestFailed())
        return;
    TLayoutCheck::CheckTabWalk(&window);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(TLayoutCheck::UnnamedReachableControls(&window), QStringList());
    // An edit is told the window's word for it, its box, and the note its asterisk points to (made
    // after it).
    QCOMPARE(window.LabeledEdit1->accessibleDescription(), QStringLiteral("Добавить поставщика"));
    QCOMPARE(window.LabeledEdit2->accessibleDescription(),
             QStringLiteral("Телефон поставщика. Добавить поставщика. * В формате x-xxx-xxx-xx-xx"));
    // The column list with its stored width, and the navigator narrowed to whole buttons.
    QCOMPARE(window.DBGrid1->horizontalHeader()->sectionSize(0), 69);
    QCOMPARE(window.DBGrid1->Model()->columnCount(), 2);
    QCOMPARE(window.DBNavigator1->width(), 240);
    QCOMPARE(window.DBText1->Caption(), QStringLiteral("0"));
    QVERIFY(window.DBText1->WordWrap());
    QCOMPARE(window.DBText1->Color(), QColor(Qt::white));
    QCOMPARE(window.MonthCalendar1->locale().language(), QLocale::Russian);
    QVERIFY(window.BitBtn5->icon().isNull());
}

void TstFormBuilder::handlerFailureEndsInTheErrorBox_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("button") << "Button1";
    QTest::newRow("tick button") << "BitBtn1";
    QTest::newRow("check box") << "CheckBox1";
    QTest::newRow("radio button") << "RadioButton1";
    QTest::newRow("menu item") << "N2";
}

void TstFormBuilder::handlerFailureEndsInTheErrorBox() {
    QFETCH(QString, control);
    TControlsFixture f;
    TSampleWindow window(f.Source);
    TFormBuilder make(&window);
    int runs = 0;
    const auto refuse = [&runs] {
        ++runs;
        throw EDatabaseError(QStringLiteral("Запись отклонена"));
    };
    make.OnClick(window.Button1, refuse);
    make.OnClick(window.BitBtn1, refuse);
    make.OnToggle(window.CheckBox1, refuse);
    make.OnClick(window.RadioButton1, refuse);
    make.OnClick(window.N2, refuse);
    TModalAnswerer answer;
    window.Button1->show();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.PageControl1->setCurrentWidget(
        control.startsWith("Button") || control == "BitBtn1" ? window.TabSheet1 : window.TabSheet2);
    if (control == "N2")
        window.N2->trigger();
    else
        QTest::mouseClick(window.findChild<QAbstractButton*>(control), Qt::LeftButton);
    QVERIFY(answer.WaitAllAnswered());
    QCOMPARE(runs, 1);
    QCOMPARE(answer.Texts(), QStringList{ErrorBoxText(QStringLiteral("Запись отклонена"))});
    // The window goes on: the same control runs its handler again.
    answer.ClearSeen();
    if (control == "N2")
        window.N2->trigger();
    else if (control != "RadioButton1")  // a selected radio's handler runs only on a new selection
        QTest::mouseClick(window.findChild<QAbstractButton*>(control), Qt::LeftButton);
    QVERIFY(answer.WaitAllAnswered());
    QCOMPARE(runs, control == "RadioButton1" ? 1 : 2);
}

void TstFormBuilder::contextMenuByKey_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("shiftF10");
    QTest::newRow("tick button, Menu key") << "BitBtn1" << false;
    QTest::newRow("tick button, Shift+F10") << "BitBtn1" << true;
    QTest::newRow("grid, Menu key") << "DBGrid1" << false;
    QTest::newRow("grid's cell editor: its own menu") << "InplaceEditor" << true;
}

void TstFormBuilder::contextMenuByKey() {
    QFETCH(QString, control);
    QFETCH(bool, shiftF10);
    TControlsFixture f;
    TSampleWindow window(f.Source);
    f.Table->Open();
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget* focused = window.findChild<QWidget*>(control);
    QVERIFY(focused);
    if (control == "InplaceEditor")
        QTest::keyClick(window.DBGrid1, Qt::Key_F2);
    else
        focused->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), focused);
    if (shiftF10)
        QTest::keyClick(focused, Qt::Key_F10, Qt::ShiftModifier);
    else
        QTest::keyClick(focused, Qt::Key_Menu);
    if (control == "InplaceEditor") {
        QTRY_VERIFY(QApplication::activePopupWidget());
        QWidget* ownMenu = QApplication::activePopupWidget();
        QVERIFY(ownMenu != window.PopupMenu1);
        ownMenu->close();
        QVERIFY(window.DBGrid1->EditorMode());
        return;
    }
    QTRY_VERIFY(window.PopupMenu1->isVisible());
    QVERIFY(QRect(focused->mapToGlobal(QPoint(0, 0)), focused->size()).contains(window.PopupMenu1->pos()));
    // In the accessibility tree with its items, as any menu of the toolkit.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window.PopupMenu1);
    QVERIFY(face);
    QStringList items;
    for (int i = 0; i < face->childCount(); ++i)
        items << face->child(i)->text(QAccessible::Name);
    QCOMPARE(items, (QStringList{QStringLiteral("О программе"), QStringLiteral("Выход")}));
    window.PopupMenu1->close();
}

void TstFormBuilder::menuBarByF10() {
    TControlsFixture f;
    TSampleWindow window(f.Source);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.BitBtn1->setFocus();
    QTest::keyClick(window.BitBtn1, Qt::Key_F10);
    QTRY_VERIFY(window.N1->isVisible());
    QCOMPARE(window.MainMenu1->activeAction(), window.N1->menuAction());
    window.N1->close();
}

QTEST_MAIN(TstFormBuilder)
#include "tst_formbuilder.moc"
