// The field label: a static text showing one field of the current row of its data source. A caption
// written by a handler stands until the data source's next report. A screen reader hears the text as
// the label's name and what it shows as its description: the caption beside it in its window, or the
// field's display label. Relies on TDataLink for the reports.
#pragma once

#include <QColor>
#include <QLabel>

#include "TDataLink.h"

class TDataSet;

class TDBText : public QLabel, public TDataLink {
    Q_OBJECT
public:
    explicit TDBText(QWidget* parent = nullptr);

    // Binding fails with "<Name>: Field '<field>' not found" when the open data set lacks the field.
    void SetDataField(const QString& field);
    QString DataField() const { return m_dataField; }
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    bool WordWrap() const { return wordWrap(); }
    void SetWordWrap(bool wrap) { setWordWrap(wrap); }
    QColor Color() const;
    void SetColor(const QColor& color);
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }
    // The caption of a label beside this one, which says all; or of the box around it, shared with
    // the box's other labels and so followed by the field's display label.
    void SetCaptionBeside(const QString& caption);
    void SetBoxCaption(const QString& caption);

    void DataEvent(TDataEvent event, int info) override;

private:
    // A missing field fails only where asked: at binding and opening.
    void ShowField(bool failIfMissing = false);
    TDataSet* DataSet() const;
    void Describe();

    QString m_dataField;
    QString m_captionBeside;
    QString m_boxCaption;
};
