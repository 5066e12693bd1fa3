// What a key does in a data grid, as a value: the mapping from a key, its modifiers, its text and a
// little of the grid's state to one grid action, and which column a key moves to. Pure, so the key
// table is checked without a window; TDBGrid carries the action out.
#pragma once

#include <QObject>
#include <QString>

class QHeaderView;

namespace TDBGridKeys {
Q_NAMESPACE

enum class TAction {
    None,        // nothing happens
    EditorText,  // the key edits the text of the cell editor it came to
    PriorRow,
    NextRow,  // Down: appends a new row after the last one where the grid may
    PageBack,
    PageForward,
    FirstRow,
    LastRow,
    FirstVisibleRow,
    LastVisibleRow,
    PriorColumn,
    NextColumn,
    FirstColumn,
    LastColumn,
    TabForward,  // the next column; after the last one, the next row's first, as Down goes
    TabBack,
    NextControl,  // Ctrl+Tab: the way out of a grid that takes Tab for its columns
    PriorControl,
    InsertRow,
    DeleteRow,
    OpenEditor,
    LeaveCell,  // Enter on an open editor: its text into the field, the editor closed
    Escape,     // the editor's old text back, or the row's editing cancelled
    TypeText,   // a character that opens the editor with it (or goes on in the open one)
};
Q_ENUM_NS(TAction)

struct TContext {
    int ColumnCount = 0;
    bool EditorOpen = false;  // the cell editor is shown
    bool InEditor = false;    // the key came to the cell editor, not to the grid
    bool Tabs = false;        // dgTabs
};

TAction ActionFor(int key, Qt::KeyboardModifiers modifiers, const QString& text, const TContext& context);

// The printable character a key's text starts with, as a code point (an emoji or a CJK character of
// the supplementary planes is two UTF-16 units but one character); 0 when it starts with none.
char32_t TypedCharacter(const QString& text);

// The column next to one (step -1 or 1) or at an edge (side -1 first, 1 last) as the columns stand
// on screen: the user may have moved them; hidden ones are skipped. A column without a visible
// neighbour on that side is its own.
int NeighbourColumn(const QHeaderView& header, int column, int step);
int EdgeColumn(const QHeaderView& header, int side);

}  // namespace TDBGridKeys
