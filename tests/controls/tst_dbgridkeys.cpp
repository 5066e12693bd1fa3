// The grid's key table without a window: each key with its modifiers, in the grid or in the cell
// editor, with or without dgTabs, in a grid of several columns or of one, gives the grid action the
// key rules name.
#include <QTest>

#include "TDBGridKeys.h"

using TDBGridKeys::TAction;
Q_DECLARE_METATYPE(Qt::Key)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class TstDBGridKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyGivesAction_data();
    void keyGivesAction();
};

void TstDBGridKeys::keyGivesAction_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where");  // "grid", "grid with editor open", "editor", "one column", "no tabs"
    QTest::addColumn<TAction>("action");
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier,
                                alt = Qt::AltModifier;
    const auto row = [](const char* name, Qt::Key key, Qt::KeyboardModifiers modifiers, const char* where,
                        TAction action, const QString& text = QString()) {
        QTest::newRow(name) << key << modifiers << text << QString::fromLatin1(where) << action;
    };
    row("Down", Qt::Key_Down, none, "grid", TAction::NextRow);
    row("Up", Qt::Key_Up, none, "grid", TAction::PriorRow);
    row("Right", Qt::Key_Right, none, "grid", TAction::NextColumn);
    row("Left", Qt::Key_Left, none, "grid", TAction::PriorColumn);
    row("End: last column", Qt::Key_End, none, "grid", TAction::LastColumn);
    row("Home: first column", Qt::Key_Home, none, "grid", TAction::FirstColumn);
    row("Ctrl+End: last row", Qt::Key_End, ctrl, "grid", TAction::LastRow);
    row("Ctrl+Home: first row", Qt::Key_Home, ctrl, "grid", TAction::FirstRow);
    row("End in a grid of one column: last row", Qt::Key_End, none, "one column", TAction::LastRow);
    row("Home in a grid of one column: first row", Qt::Key_Home, none, "one column", TAction::FirstRow);
    row("Ctrl+Right: last column", Qt::Key_Right, ctrl, "grid", TAction::LastColumn);
    row("Ctrl+Left: first column", Qt::Key_Left, ctrl, "grid", TAction::FirstColumn);
    row("PgDn", Qt::Key_PageDown, none, "grid", TAction::PageForward);
    row("PgUp", Qt::Key_PageUp, none, "grid", TAction::PageBack);
    row("Ctrl+PgUp: first visible", Qt::Key_PageUp, ctrl, "grid", TAction::FirstVisibleRow);
    row("Ctrl+PgDn: last visible", Qt::Key_PageDown, ctrl, "grid", TAction::LastVisibleRow);
    row("Ctrl+Down: last visible", Qt::Key_Down, ctrl, "grid", TAction::LastVisibleRow);
    row("Ctrl+Up: first visible", Qt::Key_Up, ctrl, "grid", TAction::FirstVisibleRow);
    row("Tab", Qt::Key_Tab, none, "grid", TAction::TabForward);
    row("Shift+Tab", Qt::Key_Backtab, shift, "grid", TAction::TabBack);
    row("Alt+Tab: nothing", Qt::Key_Tab, alt, "grid", TAction::None);
    row("Tab without dgTabs: nothing", Qt::Key_Tab, none, "no tabs", TAction::None);
    row("Ctrl+Tab: the next control", Qt::Key_Tab, ctrl, "grid", TAction::NextControl);
    row("Ctrl+Shift+Tab: the previous control", Qt::Key_Backtab, ctrl | shift, "grid", TAction::PriorControl);
    row("Ctrl+Tab without dgTabs", Qt::Key_Tab, ctrl, "no tabs", TAction::NextControl);
    row("Ctrl+Alt+Tab: nothing", Qt::Key_Tab, ctrl | alt, "grid", TAction::None);
    row("Insert", Qt::Key_Insert, none, "grid", TAction::InsertRow);
    row("Ctrl+Delete", Qt::Key_Delete, ctrl, "grid", TAction::DeleteRow);
    row("Delete alone: nothing", Qt::Key_Delete, none, "grid", TAction::None);
    row("F2", Qt::Key_F2, none, "grid", TAction::OpenEditor);
    row("Enter with the editor closed opens it", Qt::Key_Return, none, "grid", TAction::OpenEditor);
    row("Enter with the editor open leaves the cell", Qt::Key_Enter, none, "editor", TAction::LeaveCell);
    row("Esc", Qt::Key_Escape, none, "grid", TAction::Escape);
    row("a character opens the editor", Qt::Key_A, none, "grid", TAction::TypeText, "a");
    row("a character to the grid goes on in the open editor", Qt::Key_5, none, "grid with editor open",
        TAction::TypeText, "5");
    row("an emoji opens the editor", Qt::Key_unknown, none, "grid", TAction::TypeText,
        QStringLiteral("\U0001F600"));
    row("a CJK extension B character opens the editor", Qt::Key_unknown, none, "grid", TAction::TypeText,
        QStringLiteral("\U00020000"));
    row("Ctrl with a character: nothing", Qt::Key_A, ctrl, "grid", TAction::None, "\x01");
    // In the editor the keys that stay in the cell edit its text; rows, Tab, Esc and Enter still act.
    row("Left in the editor", Qt::Key_Left, none, "editor", TAction::EditorText);
    row("Home in the editor", Qt::Key_Home, none, "editor", TAction::EditorText);
    row("End in the editor", Qt::Key_End, none, "editor", TAction::EditorText);
    row("Delete in the editor", Qt::Key_Delete, none, "editor", TAction::EditorText);
    row("a character in the editor", Qt::Key_7, none, "editor", TAction::EditorText, "7");
    row("Ctrl+Home from the editor: first row", Qt::Key_Home, ctrl, "editor", TAction::FirstRow);
    row("Down from the editor", Qt::Key_Down, none, "editor", TAction::NextRow);
    row("Tab from the editor", Qt::Key_Tab, none, "editor", TAction::TabForward);
    row("Ctrl+Shift+Tab from the editor", Qt::Key_Backtab, ctrl | shift, "editor", TAction::PriorControl);
    row("the Menu key in the editor is its own", Qt::Key_Menu, none, "editor", TAction::EditorText);
    row("Ctrl+Delete from the editor", Qt::Key_Delete, ctrl, "editor", TAction::DeleteRow);
    row("Esc from the editor", Qt::Key_Escape, none, "editor", TAction::Escape);
}

void TstDBGridKeys::keyGivesAction() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, where);
    QFETCH(TAction, action);
    TDBGridKeys::TContext context;
    context.ColumnCount = where == "one column" ? 1 : 3;
    context.Tabs = where != "no tabs";
    context.InEditor = where == "editor";
    context.EditorOpen = context.InEditor || where == "grid with editor open";
    QCOMPARE(TDBGridKeys::ActionFor(key, modifiers, text, context), action);
}

QTEST_MAIN(TstDBGridKeys)
#include "tst_dbgridkeys.moc"
