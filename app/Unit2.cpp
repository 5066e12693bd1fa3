// TForm2, the main window.
#include "Unit2.h"

#include <QCalendarWidget>
#include <QLocale>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Unit1.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("Form2"));
    SetCaption(QStringLiteral("База данных"));
    SetBounds(257, 181, 772, 508);
    OnClose = [this] { FormClose(); };

    // The page control fills the client area; a layout keeps it so and leaves room for a menu bar
    // (QLayout::setMenuBar) above it.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet1->setBackgroundRole(QPalette::Button);
    TabSheet1->setAutoFillBackground(true);
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet2->setBackgroundRole(QPalette::Button);
    TabSheet2->setAutoFillBackground(true);
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    TabSheet3->setBackgroundRole(QPalette::Button);
    TabSheet3->setAutoFillBackground(true);
    PageControl1->addTab(TabSheet1, QStringLiteral("Товары"));
    PageControl1->addTab(TabSheet2, QStringLiteral("История заказов"));
    PageControl1->addTab(TabSheet3, QStringLiteral("История продаж"));
    PageControl1->setCurrentWidget(TabSheet1);

    // Bound to nothing; the splash selects today in it during the hand-over.
    MonthCalendar1 = new QCalendarWidget(TabSheet1);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    // Russian month and day names like the rest of the program; no week numbers, which the small
    // stored size has no room for.
    MonthCalendar1->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthCalendar1->setGeometry(512, 240, 191, 154);
}

void TForm2::BindDataModule() {
    // The goods grid, its navigator and the history grids and charts are bound here once they exist.
}

void TForm2::FormClose() {
    // The main window's own closing only hides it; closing the main form ends the program.
    if (Form1)
        Form1->Close();
}
