// What the window tests do as a user does: unlock the main window with the password, open a window
// through its opener and work in it while it is shown modally, close it by its tick button or its close
// box, pick a tab, click a row, type into a grid. Relies on TRunningProgram's box answerer, which is
// where a modal window's steps run, and on the program's window instances.
#pragma once

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QApplication>
#include <functional>

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBGridModel.h"
#include "TDBNavigator.h"
#include "TForm.h"
#include "TLabeledEdit.h"
#include "TModalAnswerer.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit12.h"
#include "Unit13.h"
#include "Unit14.h"
#include "Unit15.h"
#include "Unit2.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit8.h"
#include "TTestChecks.h"

namespace TWindowSteps {

enum class TCloseBy { TickButton, CloseBox };

inline void Unlock() {
    Form2->LabeledEdit1->setFocus();
    TTestChecks::TypeText(Form2->LabeledEdit1, QStringLiteral("047"));
    QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
}

// A button of the main window, clicked on its tab as the user would reach it.
inline void ClickOnItsTab(QPushButton* button) {
    for (int i = 0; i < Form2->PageControl1->count(); ++i)
        if (Form2->PageControl1->widget(i)->isAncestorOf(button))
            Form2->PageControl1->setCurrentIndex(i);
    QTest::mouseClick(button, Qt::LeftButton);
}

// What a user's first click on a window does under a window manager: the window becomes the active
// one, so the focus moves (and the grid's focus-out runs) as clicks and keys reach it. A synthetic
// click does not activate it, and where nothing else does (an X server without a window manager) the
// focus would change inside a window that never hears of it. A window that stays inactive fails the test.
inline void Activate(QWidget* window) {
    window->activateWindow();
    // Shown again where no window manager runs, the window system says nothing (Qt still counts it as
    // focused from its last showing): what the manager's activation would tell Qt is said directly.
    if (!window->isActiveWindow())
        QApplication::setActiveWindow(window);
    QVERIFY2(window->isActiveWindow(), qPrintable(window->objectName() + " never became active"));
}

inline void Close(TForm* window, TCloseBy by) {
    auto* tick = window->findChild<TBitBtn*>(QStringLiteral("BitBtn1"));
    if (by == TCloseBy::TickButton && tick)
        QTest::mouseClick(tick, Qt::LeftButton);
    else
        window->close();  // what the title bar's close box sends
}

// Runs open (the opener's click), and inside the window it shows modally the steps, then closes it.
// Returns the window once its opener has returned, nullptr when no window of ours was shown.
inline TForm* InModal(TModalAnswerer& boxes, const std::function<void()>& open,
                      const std::function<void(TForm*)>& steps, TCloseBy by = TCloseBy::TickButton) {
    TForm* shown = nullptr;
    boxes.Run([&](QWidget* w) {
        shown = qobject_cast<TForm*>(w);
        if (!shown) {
            w->close();
            return;
        }
        Activate(shown);
        if (!QTest::currentTestFailed())
            steps(shown);  // a failed check returns here, and the window is closed all the same
        Close(shown, by);
    });
    open();
    return shown;
}

inline void ChooseTab(QTabWidget* pages, int tab) {
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(tab).center());
}

inline void ClickCell(TDBGrid* grid, int row, int column) {
    const QRect cell = grid->visualRect(grid->Model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

inline void ClickButton(TDBNavigator* navigator, TDBNavigator::TNavigateBtn button) {
    QTest::mouseClick(navigator, Qt::LeftButton, {}, navigator->ButtonRect(button).center());
}

// Where keys go in a grid: its cell editor once open, the grid before.
inline QWidget* KeyTarget(TDBGrid* grid) {
    return grid->EditorMode() ? static_cast<QWidget*>(grid->InplaceEditor()) : grid;
}

inline void Key(TDBGrid* grid, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(KeyTarget(grid), key, modifiers);
}

inline void Type(TDBGrid* grid, const QString& text) {
    TTestChecks::TypeText(KeyTarget(grid), text);
}

// A place where a grid is shown: "Form5", or "Form15:2" for the deletion window's third tab.
struct TPlace {
    TForm* Window = nullptr;
    int Tab = -1;
};

inline TPlace PlaceOf(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    TPlace place;
    for (TForm* form :
         std::initializer_list<TForm*>{Form5, Form6, Form8, Form10, Form11, Form12, Form13, Form14, Form15})
        if (form->objectName() == parts.at(0))
            place.Window = form;
    place.Tab = parts.size() > 1 ? parts.at(1).toInt() : -1;
    return place;
}

inline TDBGrid* GridOf(const TPlace& place) {
    const QString name =
        place.Tab < 0 ? QStringLiteral("DBGrid1") : QStringLiteral("DBGrid%1").arg(place.Tab + 1);
    return place.Window->findChild<TDBGrid*>(name);
}

// The window's own opener where the main window has one; the others are opened by windows built
// elsewhere, so here by their ShowModal.
inline void Open(TForm* window) {
    if (window == Form12)
        ClickOnItsTab(Form2->Button5);
    else if (window == Form13)
        ClickOnItsTab(Form2->Button6);
    else if (window == Form15)
        Form2->N10->trigger();
    else if (window == Form11)
        Form2->N7->trigger();
    else
        window->ShowModal();
}

// Opens the place's window (on its tab) and runs the steps on its grid, focused; closes it after.
inline void InGrid(TModalAnswerer& boxes, const TPlace& place, const std::function<void(TDBGrid*)>& steps,
                   TCloseBy by = TCloseBy::TickButton) {
    const TForm* shown = InModal(
        boxes, [&] { Open(place.Window); },
        [&](TForm*) {
            if (place.Tab >= 0)
                ChooseTab(place.Window->findChild<QTabWidget*>(QStringLiteral("PageControl1")), place.Tab);
            TDBGrid* grid = GridOf(place);
            grid->setFocus();
            steps(grid);
        },
        by);
    QCOMPARE(shown, place.Window);
    QVERIFY(!place.Window->isVisible());
}

}  // namespace TWindowSteps
