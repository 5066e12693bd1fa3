// A column of an open data set, found by name without regard to case. Reading a field reads the
// data set's current row; writing one needs the data set in editing or inserting.
#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

class TDataSet;

class TField {
public:
    TField(TDataSet* dataSet, int index, QString name, QMetaType::Type type, int size, QString baseTable,
           QString baseColumn);

    TDataSet* DataSet() const { return m_dataSet; }
    int Index() const { return m_index; }
    const QString& FieldName() const { return m_name; }
    QString DisplayLabel() const { return m_name; }
    int DisplayWidth() const;  // in characters, from the type and size
    QMetaType::Type DataType() const { return m_type; }
    int Size() const { return m_size; }
    const QString& BaseTable() const { return m_baseTable; }
    const QString& BaseColumn() const { return m_baseColumn; }
    bool IsNumeric() const;

    // The current row's value (the edited value while editing).
    bool IsNull() const;
    QVariant Value() const;
    QString AsString() const;
    double AsFloat() const;
    qint64 AsInteger() const;
    QString DisplayText() const;  // what a grid cell or field label shows

    // Needs editing or inserting; text converts to the field's type or throws EDatabaseError
    // ("'abc' is not a valid number").
    void SetValue(const QVariant& value);
    void SetAsString(const QString& text);
    void Clear();
    // Whether a typed character (a code point, so an emoji or a CJK character of the supplementary
    // planes counts as one) may start or extend the field's text (digits, sign, separator for numbers).
    bool IsValidChar(char32_t c) const;

    // The display text of a value of a column of this type (numbers without trailing zeros,
    // dates as dd.MM.yyyy with the time when there is one).
    static QString FormatValue(const QVariant& value, QMetaType::Type type);
    // Text typed for a column of this type as the value stored, the one conversion behind SetAsString
    // and the grid's editor: numbers with either decimal separator, dates as shown or as ISO; empty
    // text is null for a number or a date and an empty text for a text column. Throws EDatabaseError
    // for a number that does not convert ("'abc' is not a valid number"), infinity and NaN included.
    static QVariant ParseText(const QString& text, QMetaType::Type type);

private:
    TDataSet* m_dataSet;
    int m_index;
    QString m_name;
    QMetaType::Type m_type;
    int m_size;
    QString m_baseTable;
    QString m_baseColumn;
};
