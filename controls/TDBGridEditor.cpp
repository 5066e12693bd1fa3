// The grid's cell editor and what it remembers of the cell it opened on.
#include "TDBGridEditor.h"

#include <limits>

#include "TDataSet.h"
#include "TField.h"

TDBGridEditor::TDBGridEditor(QWidget* viewport) : QLineEdit(viewport) {
    setObjectName(QStringLiteral("InplaceEditor"));
    setAccessibleName(QStringLiteral("Ячейка"));
    setFrame(false);
    // No limit of the editor's own: a limit below the stored text would cut it the moment the cell
    // opens (and mark it changed), and one at the column's size would cut a paste without a word.
    // What does not fit a sized column is refused by the database with its message.
    setMaxLength(std::numeric_limits<int>::max());
    hide();
}

void TDBGridEditor::Open(int row, int column, TField* field, const QString& columnTitle) {
    m_row = row;
    m_column = column;
    m_startText = field->DisplayText();
    m_startValue = field->Value();
    m_startModified = field->DataSet()->FieldModified(field->Index());
    setAccessibleName(columnTitle);
    setText(m_startText);
    selectAll();
    show();
}

void TDBGridEditor::Close() {
    hide();
    m_row = m_column = -1;
}

bool TDBGridEditor::Changed() const {
    return IsOpen() && text() != m_startText;
}

void TDBGridEditor::Commit(TField* field) {
    if (!Changed())
        return;
    TDataSet* set = field->DataSet();
    if (set->State() == dsBrowse)
        set->Edit();
    field->SetAsString(text());
}

bool TDBGridEditor::Revert(TField* field) {
    if (!Changed())
        return false;
    setText(m_startText);
    selectAll();
    if (field && field->DataSet()->State() != dsBrowse)
        field->DataSet()->RestoreFieldValue(field->Index(), m_startValue, m_startModified);
    return true;
}
