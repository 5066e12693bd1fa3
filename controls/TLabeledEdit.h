// A one-line edit with its caption label placed above it: the label's left edge is the edit's and its
// bottom lies 3 pixels above the edit's top. The label is a sibling that follows the edit's position,
// visibility and enabled state. A screen reader hears the caption as the edit's name and, as its
// description, what the edit takes where the caption alone does not say it: the window's word for it
// and the captions around it.
#pragma once

#include <QLabel>  // QPointer<QLabel> needs the whole class
#include <QLineEdit>
#include <QPointer>

class TLabeledEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int LabelSpacing = 3;

    explicit TLabeledEdit(QWidget* parent = nullptr);
    ~TLabeledEdit() override;

    QLabel* EditLabel() const { return m_label; }
    void SetLabelCaption(const QString& caption);
    QString LabelCaption() const;
    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }
    void SetBounds(int left, int top, int width, int height) {
        setGeometry(left, top, width, height);
        PlaceLabel();  // a hidden edit hears of its move only when shown
    }

    // What the edit takes, in the window's words; and the captions around it (its box, a note).
    void SetPurpose(const QString& purpose);
    void SetContext(const QString& context);

    void setVisible(bool visible) override;

protected:
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceLabel();
    void Describe();

    QPointer<QLabel> m_label;
    QString m_purpose;
    QString m_context;
};
