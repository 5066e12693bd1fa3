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
    Describe();
    ShowField(true);
}

void TDBText::SetCaptionBeside(const QString& caption) {
    m_captionBeside = caption;
    Describe();
}

void TDBText::SetBoxCaption(const QString& caption) {
    m_boxCaption = caption;
    Describe();
}

void TDBText::Describe() {
    QString description = m_captionBeside;
    if (description.isEmpty()) {
        // The field's own display label once the data set has it; its name until then.
        TDataSet* set = DataSet();
        TField* field = set && set->Active() ? set->FindField(m_dataField) : nullptr;
        description = field ? field->DisplayLabel() : m_dataField;
        if (!m_boxCaption.isEmpty() && !description.isEmpty())
            description = m_boxCaption + QStringLiteral(": ") + description;
    }
    if (description != accessibleDescription())
        setAccessibleDescription(description);
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
            Describe();
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
