// One row of a window's component table: the component's name and class as the designer gave them,
// its parent, stored bounds, caption, what it is bound to, whether it shows at start, and its place in
// its parent's tab order. The window toolkit records a row for each component it makes, so a window
// can be checked against its own table.
#pragma once

#include <QRect>
#include <QString>

struct TLayoutRow {
    enum TAlign { alNone, alClient };

    QString Name;
    QString Class;   // the designer's class: "TButton", "TDBGrid", "TForm2"
    QString Parent;  // the parent component's name; empty for the window itself
    QRect Bounds;    // left, top, width, height in the parent; null where the component has none
    TAlign Align = alNone;
    QString Caption;
    QString AccessibleName;
    QString Binding;  // "DataSource1", or "DataSource4.Idwares" for a field label
    bool Visible = true;
    int TabOrder = -1;  // place in the parent's stored tab order; -1 for none
};
