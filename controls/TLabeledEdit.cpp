// The labelled edit and its caption label.
#include "TLabeledEdit.h"

#include <QEvent>
#include <QLabel>
#include <QStringList>
#include <limits>

#include "TWindowFont.h"

TLabeledEdit::TLabeledEdit(QWidget* parent) : QLineEdit(parent), m_label(new QLabel(parent)) {
    // The columns behind the entry windows have no length limit; Qt's default of 32,767 characters
    // would cut a longer text (typed, pasted or set by a handler) without a word.
    setMaxLength(std::numeric_limits<int>::max());
    setFont(WindowFont());
    m_label->setFont(WindowFont());
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_label->setBuddy(this);
    PlaceLabel();
}

TLabeledEdit::~TLabeledEdit() {
    delete m_label.data();
}

void TLabeledEdit::SetLabelCaption(const QString& caption) {
    m_label->setText(caption);
    PlaceLabel();
}

QString TLabeledEdit::LabelCaption() const {
    return m_label->text();
}

void TLabeledEdit::SetPurpose(const QString& purpose) {
    m_purpose = purpose;
    Describe();
}

void TLabeledEdit::SetContext(const QString& context) {
    m_context = context;
    Describe();
}

void TLabeledEdit::Describe() {
    QStringList parts;
    for (const QString& part : {m_purpose, m_context})
        if (!part.isEmpty())
            parts << part;
    setAccessibleDescription(parts.join(QStringLiteral(". ")));
}

void TLabeledEdit::PlaceLabel() {
    if (!m_label)
        return;
    m_label->adjustSize();
    m_label->move(x(), y() - LabelSpacing - m_label->height());
}

void TLabeledEdit::setVisible(bool visible) {
    QLineEdit::setVisible(visible);
    if (m_label)
        m_label->setVisible(visible);
}

void TLabeledEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (!m_label)
        return;
    if (event->type() == QEvent::EnabledChange)
        m_label->setEnabled(isEnabled());
    if (event->type() == QEvent::ParentChange) {
        // The label lives beside the edit, on the same parent.
        m_label->setParent(parentWidget());
        m_label->setVisible(!isHidden());
        PlaceLabel();
    }
    if (event->type() == QEvent::FontChange)
        PlaceLabel();
}

void TLabeledEdit::moveEvent(QMoveEvent* event) {
    QLineEdit::moveEvent(event);
    PlaceLabel();
}

void TLabeledEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    PlaceLabel();
}
