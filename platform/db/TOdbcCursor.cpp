// Fetching through QODBC; the statement handle from QSqlResult::handle() answers the base-column questions.
#include "TOdbcCursor.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>
#include <sql.h>
#include <sqlext.h>

#include "Exception.h"

namespace {

QMetaType::Type TypeOf(const QMetaType& type) {
    switch (type.id()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return QMetaType::LongLong;
        case QMetaType::Double:
        case QMetaType::Float:
            return QMetaType::Double;
        case QMetaType::QDateTime:
        case QMetaType::QDate:
            return QMetaType::QDateTime;
        default:
            return QMetaType::QString;
    }
}

QString Attribute(SQLHANDLE statement, int column, SQLUSMALLINT field) {
    SQLWCHAR buffer[256];
    SQLSMALLINT length = 0;
    const SQLRETURN rc =
        SQLColAttributeW(statement, SQLUSMALLINT(column + 1), field, buffer, sizeof buffer, &length, nullptr);
    if (!SQL_SUCCEEDED(rc) || length <= 0)
        return QString();
    // Some drivers give the length in bytes of UTF-8, not of the wide text: stop at the NUL.
    const int chars = qMin<int>(length / int(sizeof(SQLWCHAR)), int(std::size(buffer)) - 1);
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), chars);
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

}  // namespace

TOdbcCursor::TOdbcCursor(QSqlQuery query, const THasColumn& hasColumn) : m_query(std::move(query)) {
    const QSqlRecord record = m_query.record();
    SQLHANDLE statement = nullptr;
    const QVariant handle = m_query.result()->handle();
    if (handle.isValid() &&
        (qstrcmp(handle.typeName(), "SQLHANDLE") == 0 || qstrcmp(handle.typeName(), "void*") == 0))
        statement = *static_cast<const SQLHANDLE*>(handle.constData());
    m_columns.resize(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        TDbColumn& c = m_columns[i];
        // Some drivers (the SQLite ODBC driver among them) report a non-ASCII name's length in bytes,
        // so QODBC's name carries junk after a NUL.
        c.Name = field.name();
        const qsizetype nul = c.Name.indexOf(QChar(0));
        if (nul >= 0)
            c.Name.truncate(nul);
        c.Type = TypeOf(field.metaType());
        c.Size = c.Type == QMetaType::QString && field.length() > 0 ? field.length() : 0;
        if (statement) {
            c.BaseTable = Attribute(statement, i, SQL_DESC_BASE_TABLE_NAME);
            c.BaseColumn =
                c.BaseTable.isEmpty() ? QString() : Attribute(statement, i, SQL_DESC_BASE_COLUMN_NAME);
            if (c.BaseColumn.isEmpty() || !hasColumn(c.BaseTable, c.BaseColumn)) {
                c.BaseTable.clear();
                c.BaseColumn.clear();
            }
        }
    }
    m_cells.resize(record.count());
    m_text.resize(record.count());
}

bool TOdbcCursor::Next() {
    if (!m_query.next()) {
        if (m_query.lastError().isValid())
            throw EDatabaseError(m_query.lastError().text());
        return false;
    }
    for (int i = 0; i < m_cells.size(); ++i) {
        const QVariant v = m_query.value(i);
        TDbValue& cell = m_cells[i];
        cell = TDbValue();
        if (v.isNull())
            continue;
        switch (TypeOf(v.metaType())) {
            case QMetaType::LongLong:
                cell.Kind = TDbValue::Integer;
                cell.Int = v.toLongLong();
                continue;
            case QMetaType::Double:
                cell.Kind = TDbValue::Double;
                cell.Real = v.toDouble();
                continue;
            case QMetaType::QDateTime:
                // Date-time cells travel as text, as the embedded engine holds them.
                m_text[i] = v.typeId() == QMetaType::QDate
                                ? v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8()
                                : v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
                break;
            default:
                m_text[i] = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
                break;
        }
        cell.Kind = TDbValue::Text;
        cell.Utf8 = m_text[i].constData();
        cell.Length = int(m_text[i].size());
    }
    return true;
}
