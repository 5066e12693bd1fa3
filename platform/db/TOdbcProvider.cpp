// Connecting through QODBC and finding the driver with the ODBC installer API; relies on TTsqlDialect
// only when the DBMS behind the driver is SQLite.
#include "TOdbcProvider.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sql.h>
#include <sqlext.h>

#include "Exception.h"
#include "TOdbcCursor.h"
#include "TTsqlDialect.h"

namespace {

QAtomicInt g_connectionSerial;

// ODBC connection string values with ';' or braces must be braced, a '}' doubled inside.
QString Braced(const QString& value) {
    QString v = value;
    v.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + v + QLatin1Char('}');
}

}  // namespace

TOdbcProvider::TOdbcProvider(TDbTarget target)
    : m_target(std::move(target)),
      m_qtName(QStringLiteral("zirt-odbc-%1").arg(g_connectionSerial.fetchAndAddRelaxed(1))) {}

TOdbcProvider::~TOdbcProvider() {
    Close();
}

QStringList TOdbcProvider::PreferredDrivers() {
    return {QStringLiteral("ODBC Driver 18 for SQL Server"), QStringLiteral("ODBC Driver 17 for SQL Server"),
            QStringLiteral("FreeTDS")};
}

QStringList TOdbcProvider::InstalledDrivers() {
    QStringList drivers;
    SQLHENV env = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return drivers;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLCHAR name[256];
    SQLCHAR attributes[1024];
    SQLSMALLINT nameLength = 0, attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDriversA(env, direction, name, sizeof name, &nameLength, attributes,
                                     sizeof attributes, &attributesLength))) {
        drivers << QString::fromUtf8(reinterpret_cast<const char*>(name), nameLength);
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return drivers;
}

QString TOdbcProvider::SqlServerConnectionString(const TDbTarget& target) {
    const QStringList installed = InstalledDrivers();
    QString driver;
    for (const QString& candidate : PreferredDrivers()) {
        if (installed.contains(candidate, Qt::CaseInsensitive)) {
            driver = candidate;
            break;
        }
    }
    if (driver.isEmpty())
        throw EDatabaseError(
            QStringLiteral("Cannot connect to %1\\%2: no SQL Server ODBC driver is installed "
                           "(looked for %3).")
                .arg(target.Computer, target.Instance, PreferredDrivers().join(QLatin1String(", "))));
    QString server = target.Computer;
    if (!target.Instance.isEmpty())
        server += QLatin1Char('\\') + target.Instance;
    QString cs = QStringLiteral("DRIVER=%1;SERVER=%2;DATABASE=%3;")
                     .arg(Braced(driver), Braced(server), Braced(target.Catalog));
    if (target.Trusted)
        cs += QStringLiteral("Trusted_Connection=yes;");
    else
        cs += QStringLiteral("UID=%1;PWD=%2;").arg(Braced(target.User), Braced(target.Password));
    return cs;
}

QSqlDatabase TOdbcProvider::Database() const {
    return QSqlDatabase::database(m_qtName, false);
}

void TOdbcProvider::Open() {
    if (m_open)
        return;
    const QString odbc =
        m_target.Kind == TDbTarget::OdbcDirect ? m_target.Odbc : SqlServerConnectionString(m_target);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::contains(m_qtName)
                              ? QSqlDatabase::database(m_qtName, false)
                              : QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_qtName);
        if (!db.isValid()) {
            failure = QStringLiteral("The ODBC database driver (QODBC) is not available: %1")
                          .arg(db.lastError().text());
        } else {
            db.setDatabaseName(odbc);
            db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1")
                                     .arg(m_pace.Wait(kLoginTimeoutSeconds, kQuickRetrySeconds)));
            if (!db.open()) {
                failure = db.lastError().text();
            } else {
                m_sqlite = false;
                const QVariant handle = db.driver()->handle();
                if (handle.isValid() && (qstrcmp(handle.typeName(), "SQLHANDLE") == 0 ||
                                         qstrcmp(handle.typeName(), "void*") == 0)) {
                    SQLHANDLE dbc = *static_cast<const SQLHANDLE*>(handle.constData());
                    SQLCHAR name[128] = {};
                    SQLSMALLINT length = 0;
                    if (SQL_SUCCEEDED(SQLGetInfoA(dbc, SQL_DBMS_NAME, name, sizeof name, &length)))
                        m_sqlite = QByteArray(reinterpret_cast<const char*>(name)).startsWith("SQLite");
                }
            }
        }
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(m_qtName);
        m_pace.Failed();
        const QString what = m_target.Kind == TDbTarget::OdbcDirect
                                 ? QStringLiteral("the ODBC data source")
                                 : QStringLiteral("database \"%1\" on %2\\%3")
                                       .arg(m_target.Catalog, m_target.Computer, m_target.Instance);
        throw EDatabaseError(QStringLiteral("Cannot open %1: %2").arg(what, failure));
    }
    m_pace.Succeeded();
    m_open = true;
}

void TOdbcProvider::Close() {
    if (!QSqlDatabase::contains(m_qtName))
        return;
    m_open = false;
    m_columns.clear();
    {
        QSqlDatabase db = Database();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_qtName);
}

QString TOdbcProvider::Dialect(const QString& statement) const {
    return m_sqlite ? TsqlToSqlite(statement) : statement;
}

void TOdbcProvider::Run(QSqlQuery& query, const QString& statement, const QVector<QVariant>& params) {
    query.setForwardOnly(true);
    bool ok;
    if (params.isEmpty()) {
        ok = query.exec(Dialect(statement));
    } else {
        ok = query.prepare(Dialect(statement));
        for (const QVariant& p : params)
            query.addBindValue(p);
        ok = ok && query.exec();
    }
    if (!ok)
        throw EDatabaseError(query.lastError().text());
}

std::unique_ptr<TDbCursor> TOdbcProvider::Select(const QString& statement, const QVector<QVariant>& params) {
    Open();
    QSqlQuery query(Database());
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    Run(query, statement, params);
    return std::make_unique<TOdbcCursor>(
        std::move(query),
        [this](const QString& table, const QString& column) { return HasColumn(table, column); });
}

qint64 TOdbcProvider::Execute(const QString& statement, const QVector<QVariant>& params) {
    Open();
    QSqlQuery query(Database());
    Run(query, statement, params);
    return query.numRowsAffected();
}

bool TOdbcProvider::HasColumn(const QString& table, const QString& column) {
    const QString key = table.toLower();
    auto it = m_columns.find(key);
    if (it == m_columns.end()) {
        QSet<QString> names;
        const QSqlRecord record = Database().record(table);
        for (int i = 0; i < record.count(); ++i)
            names.insert(record.fieldName(i).toLower());
        it = m_columns.insert(key, names);
    }
    return it->contains(column.toLower());
}

TDbInserted TOdbcProvider::ExecuteInsert(const QString& statement, const QVector<QVariant>& params) {
    Open();
    QSqlQuery query(Database());
    TDbInserted inserted;
    if (m_sqlite) {
        // The SQLite driver runs one statement at a time; its last row id is this connection's own.
        Run(query, statement, params);
        inserted.Rows = query.numRowsAffected();
        if (inserted.Rows > 0)
            inserted.Id = TakeIdentity(query, QStringLiteral("SELECT last_insert_rowid()"));
        return inserted;
    }
    // SQL Server: SCOPE_IDENTITY() in the same batch is the identity of this insert alone; @@IDENTITY
    // would also take one a trigger made, IDENT_CURRENT one another session made.
    Run(query, statement + QStringLiteral("\r\nSELECT CAST(SCOPE_IDENTITY() AS bigint)"), params);
    inserted.Rows = query.numRowsAffected();
    // A trigger's own row counts come as results of their own before the identity's row.
    while (!query.isSelect() && query.nextResult()) {
    }
    if (query.isSelect() && query.next() && !query.value(0).isNull())
        inserted.Id = query.value(0).toLongLong();
    return inserted;
}

QVariant TOdbcProvider::TakeIdentity(QSqlQuery& query, const QString& select) {
    if (!query.exec(select))
        throw EDatabaseError(query.lastError().text());
    if (!query.next())
        return QVariant();
    const QVariant id = query.value(0);
    return id.isNull() || id.toLongLong() == 0 ? QVariant() : QVariant(id.toLongLong());
}

// The driver's own transaction calls (autocommit off, then SQLEndTran), not statements: the same on
// SQL Server and on the SQLite ODBC driver, and the driver knows where the transaction stands.
void TOdbcProvider::BeginTransaction() {
    Open();
    QSqlDatabase db = Database();
    if (!db.transaction())
        throw EDatabaseError(db.lastError().text());
}

void TOdbcProvider::CommitTransaction() {
    QSqlDatabase db = Database();
    if (!db.commit())
        throw EDatabaseError(db.lastError().text());
}

void TOdbcProvider::RollbackTransaction() {
    QSqlDatabase db = Database();
    if (!db.rollback())
        throw EDatabaseError(db.lastError().text());
}

bool TOdbcProvider::IsUpdatable(const QString& name) {
    const TDbObjectKind kind = ObjectKind(name);
    if (kind != TDbObjectKind::View)
        return kind == TDbObjectKind::Table;
    // SQL Server does not say ahead whether a view takes a change (INFORMATION_SCHEMA.VIEWS always
    // answers NO); it takes one that touches a single base table and refuses others with its own
    // message, so its views are offered and the server decides. SQLite through ODBC reports no rows
    // for a change its view triggers make, so its views are not offered.
    return !m_sqlite;
}

bool TOdbcProvider::ReadsBesideWriters() {
    // A server's reading connection takes shared locks that can hold up the program's own writes.
    return false;
}

TDbObjectKind TOdbcProvider::ObjectKind(const QString& name) {
    Open();
    const auto has = [&name](const QStringList& names) {
        for (const QString& n : names) {
            if (BareObjectName(n).compare(name, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    };
    const QSqlDatabase db = Database();
    if (has(db.tables(QSql::Tables)))
        return TDbObjectKind::Table;
    if (has(db.tables(QSql::Views)))
        return TDbObjectKind::View;
    return TDbObjectKind::Missing;
}

QStringList TOdbcProvider::PrimaryKey(const QString& table) {
    Open();
    const QSqlIndex index = Database().primaryIndex(table);
    QStringList key;
    for (int i = 0; i < index.count(); ++i)
        key << index.fieldName(i);
    return key;
}

QVector<TDbColumn> TOdbcProvider::TableColumns(const QString& table) {
    Open();
    const QSqlRecord record = Database().record(table);
    if (record.isEmpty())
        throw EDatabaseError(QStringLiteral("Invalid object name '%1'.").arg(table));
    QVector<TDbColumn> columns;
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        TDbColumn c;
        c.Name = f.name();
        const int id = f.metaType().id();
        c.Type = (id == QMetaType::Int || id == QMetaType::LongLong || id == QMetaType::Short ||
                  id == QMetaType::Bool)
                     ? QMetaType::LongLong
                 : (id == QMetaType::Double || id == QMetaType::Float)    ? QMetaType::Double
                 : (id == QMetaType::QDateTime || id == QMetaType::QDate) ? QMetaType::QDateTime
                                                                          : QMetaType::QString;
        c.BaseTable = table;
        c.BaseColumn = f.name();
        columns << c;
    }
    return columns;
}
