// The grid's cell editor: a line edit over one cell that remembers the text, value and changed mark
// the cell opened with, so Esc can put them back and a post can take the whole text. Every write goes
// through TField's one conversion; the grid places the editor, gives it the focus and routes its keys.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QVariant>

class TField;

class TDBGridEditor : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBGridEditor(QWidget* viewport);

    // Opens on a cell of the row being shown with the field's display text, all of it selected; the
    // column's title names it for a screen reader.
    void Open(int row, int column, TField* field, const QString& columnTitle);
    void Close();
    // Open until closed, also while its window is hidden (closing a window leaves the cell as typed).
    bool IsOpen() const { return !isHidden(); }
    int Row() const { return m_row; }
    int Column() const { return m_column; }
    // The text differs from the one the cell opened with.
    bool Changed() const;
    // The whole text into the field, the row put into editing first; a text the field refuses throws
    // ("'x' is not a valid number") and the editor stays open with it.
    void Commit(TField* field);
    // Esc on a changed text: the cell's old text comes back, and the field its value and changed mark,
    // so a row nobody changed is left or cancelled without a write. False when nothing had changed.
    bool Revert(TField* field);

private:
    int m_row = -1;
    int m_column = -1;
    QString m_startText;
    QVariant m_startValue;
    bool m_startModified = false;
};
