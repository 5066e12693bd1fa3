// What the window tests do as a user does: unlock the main window with the password, open a window
// through its opener and work in it while it is shown modally, close it by its tick button or its close
// box, pick a tab, click a row, type into a grid. Relies on TRunningProgram's box answerer, which is
// where a modal window's steps run.
#pragma once

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>

#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBGridModel.h"
#include "TDBNavigator.h"
#include "TForm.h"
#include "TLabeledEdit.h"
#include "TModalAnswerer.h"
#include "Unit2.h"

namespace TWindowSteps {

enum class TCloseBy { TickButton, CloseBox };

inline void Unlock() {
    Form2->LabeledEdit1->setFocus();
    QTest::keyClicks(Form2->LabeledEdit1, QStringLiteral("047"));
    QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
}

// A button of the main window, clicked on its tab as the user would reach it.
inline void ClickOnItsTab(QPushButton* button) {
    for (int i = 0; i < Form2->PageControl1->count(); ++i)
        if (Form2->PageControl1->widget(i)->isAncestorOf(button))
            Form2->PageControl1->setCurrentIndex(i);
    QTest::mouseClick(button, Qt::LeftButton);
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

// Text typed as key presses carrying it (Cyrillic letters have no key code of their own).
inline void Type(TDBGrid* grid, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, KeyTarget(grid), Qt::Key_unknown, QString(c), Qt::NoModifier);
}

}  // namespace TWindowSteps
