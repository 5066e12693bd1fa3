// The field label. Its text is plain (an ampersand is drawn as itself) and is cut at the label's box;
// the label never sizes itself.
#include "TDBText.h"

#include "Exception.h"
#include "TDataSet.h"
#include "TDataSource.h"
#include "TField.h"
#include "TWindowFont.h"

TDBText::TDBText(QWidget* parent) : QLabel(parent) {
    setFont(WindowFont());
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Not growing with the text: the box is the label's fixed geometry and the text is clipped there.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    setMinimumSize(0, 0);
}

TDataSet* TDBText::DataSet() const {
    return DataSource() ? DataSource()->DataSet() : nullptr;
}

void TDBText::SetDataField(const QString& field) {
    m_dataField = field;
    ShowField(true);
}

QColor TDBText::Color() const {
    return palette().color(QPalette::Window);
}

void TDBText::SetColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    // Our own role: a form paints itself in the button face and its children would inherit that.
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
}

void TDBText::ShowField(bool failIfMissing) {
    TDataSet* set = DataSet();
    if (!set || !set->Active() || m_dataField.isEmpty()) {
        setText(QString());
        return;
    }
    TField* field = set->FindField(m_dataField);
    if (!field) {
        setText(QString());
        // Told once, when bound or opened; the moves after it show the empty text without a box each.
        if (failIfMissing)
            throw EDatabaseError(TDataSet::FieldNotFoundMessage(objectName(), m_dataField));
        return;
    }
    setText(set->RecNo() >= 0 ? field->DisplayText() : QString());
}

void TDBText::DataEvent(TDataEvent event, int info) {
    switch (event) {
        case TDataEvent::Opened:
            ShowField(true);
            break;
        case TDataEvent::Closed:
        case TDataEvent::Scrolled:
        case TDataEvent::RowsChanged:
            ShowField();
            break;
        case TDataEvent::FieldChanged: {
            TDataSet* set = DataSet();
            TField* field = set ? set->FindField(m_dataField) : nullptr;
            if (field && field->Index() == info)
                ShowField();
            break;
        }
        case TDataEvent::StateChanged:
        case TDataEvent::Posted:
        case TDataEvent::RowsArrived:
            break;
    }
}
