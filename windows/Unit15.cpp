// TForm15, the deletion window. It opens on the goods tab the first time and on the tab last chosen
// afterwards, since the window is only hidden between openings. Relies on the window toolkit and on
// DataModule3's DataSource11 (ADOTable9), DataSource8 (ADOTable7) and DataSource4 (ADOTable3).
#include "Unit15.h"

#include <QLabel>
#include <QTabWidget>

#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TFormBuilder.h"
#include "Unit3.h"

TForm15* Form15 = nullptr;

namespace {

constexpr TDBNavigator::TButtonSet kButtons = 1u << TDBNavigator::nbPrior | 1u << TDBNavigator::nbNext |
                                              1u << TDBNavigator::nbDelete | 1u << TDBNavigator::nbRefresh;

QString Instructions() {
    return QStringLiteral(
        "Для удаления данных выберите удаляему строку и нажмите знак минуса в панели управления таблицей");
}

}  // namespace

TForm15::TForm15(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form15", QStringLiteral("Удаление"), {288, 268, 592, 302});
    PageControl1 = make.PageControl(this, "PageControl1", QStringLiteral("Таблицы"));

    TabSheet1 = make.TabSheet(PageControl1, "TabSheet1", QStringLiteral("Удаление поставщиков"));
    DBGrid1 = make.Grid(TabSheet1, "DBGrid1", {8, 16, 553, 145}, TDBGridOptions::Default(),
                        QStringLiteral("Поставщики"),
                        {{QStringLiteral("name")}, {QStringLiteral("agentname")}, {QStringLiteral("phone")}});
    DBNavigator1 = make.Navigator(TabSheet1, "DBNavigator1", {176, 160, 220, 25}, kButtons);
    Label1 = make.Label(TabSheet1, "Label1", {16, 200, 535, 13}, Instructions());

    TabSheet2 = make.TabSheet(PageControl1, "TabSheet2", QStringLiteral("Удалений менеджера"));
    DBGrid2 = make.Grid(TabSheet2, "DBGrid2", {8, 16, 553, 145}, TDBGridOptions::Default(),
                        QStringLiteral("Менеджеры"), {{QStringLiteral("name")}, {QStringLiteral("phone")}});
    DBNavigator2 = make.Navigator(TabSheet2, "DBNavigator2", {176, 160, 224, 25}, kButtons);
    Label2 = make.Label(TabSheet2, "Label2", {16, 200, 535, 13}, Instructions());

    TabSheet3 = make.TabSheet(PageControl1, "TabSheet3", QStringLiteral("Удаление товара"));
    DBGrid3 = make.Grid(TabSheet3, "DBGrid3", {16, 16, 537, 145}, TDBGridOptions::Default(),
                        QStringLiteral("Товары"),
                        {{QStringLiteral("name")},
                         {QStringLiteral("description")},
                         {QStringLiteral("orderprice")},
                         {QStringLiteral("saleprice")},
                         {QStringLiteral("Iddiscount")}});
    DBNavigator3 = make.Navigator(TabSheet3, "DBNavigator3", {176, 160, 224, 25}, kButtons);
    Label3 = make.Label(TabSheet3, "Label3", {16, 200, 535, 13}, Instructions());

    make.TabOrder(TabSheet1, {DBGrid1, DBNavigator1});
    make.TabOrder(TabSheet2, {DBGrid2, DBNavigator2});
    make.TabOrder(TabSheet3, {DBGrid3, DBNavigator3});
    // The stored active page; afterwards the page control keeps whichever tab the user chose last.
    PageControl1->setCurrentWidget(TabSheet3);
}

void TForm15::BindDataModule() {
    TFormBuilder make(this);
    make.Bind(DBGrid1, DataModule3->DataSource11);
    make.Bind(DBNavigator1, DataModule3->DataSource11);
    make.Bind(DBGrid2, DataModule3->DataSource8);
    make.Bind(DBNavigator2, DataModule3->DataSource8);
    make.Bind(DBGrid3, DataModule3->DataSource4);
    make.Bind(DBNavigator3, DataModule3->DataSource4);
}
