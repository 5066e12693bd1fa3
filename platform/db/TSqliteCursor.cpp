// Stepping and column metadata of an embedded-engine result; relies on the provider for date columns.
#include "TSqliteCursor.h"

#include <sqlite3.h>

#include "Exception.h"
#include "TSqliteProvider.h"

namespace {

QMetaType::Type TypeOfDeclared(const char* declared) {
    // STRICT tables allow INTEGER, INT, REAL, TEXT, BLOB and ANY; affinity rules cover older files.
    const QByteArray d = QByteArray(declared).toUpper();
    if (d.contains("INT"))
        return QMetaType::LongLong;
    if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB") || d.contains("NUMERIC") ||
        d.contains("DECIMAL"))
        return QMetaType::Double;
    if (d.contains("DATE") || d.contains("TIME"))
        return QMetaType::QDateTime;
    return QMetaType::QString;
}

QMetaType::Type TypeOfValue(int sqliteType) {
    switch (sqliteType) {
        case SQLITE_INTEGER:
            return QMetaType::LongLong;
        case SQLITE_FLOAT:
            return QMetaType::Double;
        default:
            return QMetaType::QString;
    }
}

}  // namespace

TSqliteCursor::TSqliteCursor(TSqliteProvider* provider, TSqliteStatement owned)
    : m_provider(provider), m_statement(std::move(owned)) {
    sqlite3_stmt* statement = m_statement.Get();
    const int count = sqlite3_column_count(statement);
    m_columns.resize(count);
    bool needFirstRow = false;
    for (int i = 0; i < count; ++i) {
        TDbColumn& c = m_columns[i];
        c.Name = QString::fromUtf8(sqlite3_column_name(statement, i));
        c.BaseTable = QString::fromUtf8(sqlite3_column_table_name(statement, i));
        c.BaseColumn = QString::fromUtf8(sqlite3_column_origin_name(statement, i));
        const char* declared = sqlite3_column_decltype(statement, i);
        if (declared) {
            c.Type = TypeOfDeclared(declared);
            if (c.Type == QMetaType::QString && !c.BaseTable.isEmpty() &&
                m_provider->IsDateTimeColumn(c.BaseTable, c.BaseColumn))
                c.Type = QMetaType::QDateTime;
        } else {
            needFirstRow = true;
        }
    }
    if (needFirstRow) {
        m_firstHasRow = Step();
        m_firstPending = true;
        for (int i = 0; i < count; ++i) {
            if (!sqlite3_column_decltype(statement, i))
                m_columns[i].Type =
                    m_firstHasRow ? TypeOfValue(sqlite3_column_type(statement, i)) : QMetaType::QString;
        }
    }
}

TSqliteCursor::~TSqliteCursor() {
    if (m_statement)
        m_provider->Forget(this);
}

void TSqliteCursor::Detach() {
    m_statement.Finalize();
    m_done = true;
}

bool TSqliteCursor::Step() {
    if (m_done)
        return false;
    const int rc = sqlite3_step(m_statement.Get());
    if (rc == SQLITE_ROW)
        return true;
    m_done = true;
    if (rc == SQLITE_DONE)
        return false;
    throw EDatabaseError(SqliteErrorMessage(sqlite3_db_handle(m_statement.Get())));
}

bool TSqliteCursor::Next() {
    if (m_firstPending) {
        m_firstPending = false;
        return m_firstHasRow;
    }
    return Step();
}

TDbValue TSqliteCursor::Value(int column) const {
    // Read only after Next() returned true, which a cursor detached by its closed connection never
    // does; columns are those Columns() listed.
    Q_ASSERT_X(m_statement && column >= 0 && column < m_columns.size(), "TSqliteCursor",
               "a cell of the row Next() moved to");
    sqlite3_stmt* const statement = m_statement.Get();
    TDbValue v;
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            v.Kind = TDbValue::Integer;
            v.Int = sqlite3_column_int64(statement, column);
            break;
        case SQLITE_FLOAT:
            v.Kind = TDbValue::Double;
            v.Real = sqlite3_column_double(statement, column);
            break;
        case SQLITE_TEXT:
            v.Kind = TDbValue::Text;
            v.Utf8 = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            v.Length = sqlite3_column_bytes(statement, column);
            break;
        case SQLITE_BLOB:
            v.Kind = TDbValue::Text;
            v.Utf8 = static_cast<const char*>(sqlite3_column_blob(statement, column));
            v.Length = sqlite3_column_bytes(statement, column);
            break;
        default:
            break;
    }
    return v;
}
