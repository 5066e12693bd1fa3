// A column of an open data set; reads and writes go to the data set's current row (its edit
// buffer while editing), so a field holds no value of its own.
#include "TField.h"

#include <QDateTime>
#include <cmath>

#include "Exception.h"
#include "TDataSet.h"

TField::TField(TDataSet* dataSet, int index, QString name, QMetaType::Type type, int size, QString baseTable,
               QString baseColumn)
    : m_dataSet(dataSet),
      m_index(index),
      m_name(std::move(name)),
      m_type(type),
      m_size(size),
      m_baseTable(std::move(baseTable)),
      m_baseColumn(std::move(baseColumn)) {}

int TField::DisplayWidth() const {
    switch (m_type) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            return 10;
        case QMetaType::Double:
            return 12;
        case QMetaType::QDateTime:
            return 18;
        default:
            // Text without a declared size gets a width that fits a typical name in a grid.
            return m_size > 0 ? std::min(m_size, 64) : 20;
    }
}

bool TField::IsNumeric() const {
    return m_type == QMetaType::LongLong || m_type == QMetaType::Int || m_type == QMetaType::Double;
}

bool TField::IsNull() const {
    return Value().isNull();
}

QVariant TField::Value() const {
    return m_dataSet->FieldValue(m_index);
}

QString TField::AsString() const {
    return DisplayText();
}

double TField::AsFloat() const {
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString)
        return ParseText(v.toString(), QMetaType::Double).toDouble();
    return v.toDouble();
}

qint64 TField::AsInteger() const {
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString)
        return ParseText(v.toString(), QMetaType::LongLong).toLongLong();
    return v.toLongLong();
}

QString TField::DisplayText() const {
    return FormatValue(Value(), m_type);
}

QString TField::FormatValue(const QVariant& value, QMetaType::Type type) {
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            return QString::number(value.toLongLong());
        case QMetaType::Double:
            return QString::number(value.toDouble(), 'g', 15);
        case QMetaType::QDateTime: {
            const QDateTime dt = value.toDateTime();
            if (dt.time() == QTime(0, 0))
                return dt.toString(QStringLiteral("dd.MM.yyyy"));
            return dt.toString(QStringLiteral("dd.MM.yyyy H:mm:ss"));
        }
        default:
            return value.toString();
    }
}

QVariant TField::ParseText(const QString& text, QMetaType::Type type) {
    if (type != QMetaType::LongLong && type != QMetaType::Int && type != QMetaType::Double &&
        type != QMetaType::QDateTime) {
        // Text columns keep what was typed, an emptied cell included: an empty text, not null.
        return QVariant(text);
    }
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QVariant(QMetaType(type));
    bool ok = false;
    if (type == QMetaType::QDateTime) {
        // As the grid shows a date ("01.02.2025", "01.02.2025 9:30:00") or as ISO. Anything else goes
        // to the database as written and is refused there with its own message.
        for (const char* format : {"d.M.yyyy H:mm:ss", "d.M.yyyy H:mm", "d.M.yyyy", "yyyy-MM-dd HH:mm:ss",
                                   "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
            const QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(format));
            if (dt.isValid())
                return QVariant(dt);
        }
        return QVariant(text);
    }
    if (type == QMetaType::Double) {
        // Either separator: the shop's users write "12,5" as often as "12.5". toDouble also reads
        // "inf" and "nan", which no database stores as typed (SQLite makes NaN a null), and overflows
        // to infinity: only a finite value is a number here.
        const double v = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (ok && std::isfinite(v))
            return QVariant(v);
    } else {
        const qint64 n = t.toLongLong(&ok);
        if (ok)
            return QVariant(n);
    }
    throw EDatabaseError(QStringLiteral("'%1' is not a valid number").arg(text));
}

void TField::SetValue(const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        m_dataSet->SetFieldValue(m_index, QVariant(QMetaType(m_type)));
        return;
    }
    if (value.typeId() == QMetaType::QString) {
        // Text given for a number or a date converts as typed text does.
        m_dataSet->SetFieldValue(m_index, ParseText(value.toString(), m_type));
        return;
    }
    if (value.typeId() == QMetaType::Double && !std::isfinite(value.toDouble()))
        // As for typed text: no database takes infinity or NaN as a value.
        throw EDatabaseError(
            QStringLiteral("'%1' is not a valid number").arg(QString::number(value.toDouble(), 'g', 15)));
    if (m_type == QMetaType::LongLong && value.typeId() == QMetaType::Double) {
        const double v = value.toDouble();
        if (v == double(qint64(v))) {
            m_dataSet->SetFieldValue(m_index, QVariant(qint64(v)));
            return;
        }
        throw EDatabaseError(QStringLiteral("'%1' is not a valid number").arg(QString::number(v, 'g', 15)));
    }
    m_dataSet->SetFieldValue(m_index, value);
}

void TField::SetAsString(const QString& text) {
    m_dataSet->SetFieldValue(m_index, ParseText(text, m_type));
}

void TField::Clear() {
    m_dataSet->SetFieldValue(m_index, QVariant(QMetaType(m_type)));
}

bool TField::IsValidChar(char32_t c) const {
    const bool digit = QChar::isDigit(c);
    switch (m_type) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            return digit || c == U'+' || c == U'-';
        case QMetaType::Double:
            return digit || c == U'+' || c == U'-' || c == U'.' || c == U',' || c == U'e' || c == U'E';
        default:
            return QChar::isPrint(c);
    }
}
