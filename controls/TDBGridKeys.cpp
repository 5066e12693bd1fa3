// The grid's key table. Keys that move between rows, leave the cell or act on the row reach the grid
// even from the cell editor; the rest edit the editor's text there.
#include "TDBGridKeys.h"

#include <QHeaderView>

namespace TDBGridKeys {

TAction ActionFor(int key, Qt::KeyboardModifiers modifiers, const QString& text, const TContext& context) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    const TAction editing = context.InEditor ? TAction::EditorText : TAction::None;
    switch (key) {
        case Qt::Key_Up:
            return ctrl ? TAction::FirstVisibleRow : TAction::PriorRow;
        case Qt::Key_Down:
            return ctrl ? TAction::LastVisibleRow : TAction::NextRow;
        case Qt::Key_PageUp:
            return ctrl ? TAction::FirstVisibleRow : TAction::PageBack;
        case Qt::Key_PageDown:
            return ctrl ? TAction::LastVisibleRow : TAction::PageForward;
        case Qt::Key_Left:
            return context.InEditor ? editing : ctrl ? TAction::FirstColumn : TAction::PriorColumn;
        case Qt::Key_Right:
            return context.InEditor ? editing : ctrl ? TAction::LastColumn : TAction::NextColumn;
        case Qt::Key_Home:
            if (context.InEditor && !ctrl)
                return editing;
            // In a grid of one column Home and End go by rows.
            return ctrl || context.ColumnCount == 1 ? TAction::FirstRow : TAction::FirstColumn;
        case Qt::Key_End:
            if (context.InEditor && !ctrl)
                return editing;
            return ctrl || context.ColumnCount == 1 ? TAction::LastRow : TAction::LastColumn;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (alt)
                return TAction::None;
            if (ctrl)
                return key == Qt::Key_Backtab || shift ? TAction::PriorControl : TAction::NextControl;
            if (!context.Tabs)
                return TAction::None;
            return key == Qt::Key_Backtab || shift ? TAction::TabBack : TAction::TabForward;
        case Qt::Key_Insert:
            return TAction::InsertRow;
        case Qt::Key_Delete:
            return ctrl ? TAction::DeleteRow : editing;
        case Qt::Key_F2:
            return TAction::OpenEditor;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return context.EditorOpen ? TAction::LeaveCell : TAction::OpenEditor;
        case Qt::Key_Escape:
            return TAction::Escape;
        default:
            break;
    }
    if (context.InEditor)
        return TAction::EditorText;
    if (!ctrl && !alt && TypedCharacter(text) != 0)
        return TAction::TypeText;
    return TAction::None;
}

char32_t TypedCharacter(const QString& text) {
    if (text.isEmpty())
        return 0;
    const char32_t c = text.at(0).isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate()
                           ? QChar::surrogateToUcs4(text.at(0), text.at(1))
                           : text.at(0).unicode();
    return QChar::isPrint(c) ? c : 0;
}

int NeighbourColumn(const QHeaderView& header, int column, int step) {
    for (int v = header.visualIndex(column) + step; v >= 0 && v < header.count(); v += step) {
        const int logical = header.logicalIndex(v);
        if (!header.isSectionHidden(logical))
            return logical;
    }
    return column;
}

int EdgeColumn(const QHeaderView& header, int side) {
    const int count = header.count();
    for (int i = 0; i < count; ++i) {
        const int logical = header.logicalIndex(side < 0 ? i : count - 1 - i);
        if (!header.isSectionHidden(logical))
            return logical;
    }
    return 0;
}

}  // namespace TDBGridKeys
