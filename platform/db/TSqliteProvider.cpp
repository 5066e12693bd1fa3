// Opening goes through QSQLITE (URI mode "rw", so a missing file is never created); statements then
// run on the driver's sqlite3 handle. Relies on TTsqlDialect for the T-SQL forms and on
// TRussianCollation for the text order.
#include "TSqliteProvider.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <sqlite3.h>

#include <atomic>
#ifdef __linux__
#include <sys/vfs.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "Exception.h"
#include "TRussianCollation.h"
#include "TSqliteCursor.h"
#include "TTsqlDialect.h"

namespace {

std::atomic<bool> everyFileRemote{false};

QAtomicInt g_connectionSerial;

// True when only spaces and comments are left.
bool OnlyTrivia(const char* p) {
    for (;;) {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\f' || *p == '\v' || *p == ';')
            ++p;
        if (p[0] == '-' && p[1] == '-') {
            while (*p && *p != '\n')
                ++p;
        } else if (p[0] == '/' && p[1] == '*') {
            const char* end = std::strstr(p + 2, "*/");
            if (!end)
                return true;
            p = end + 2;
        } else {
            return *p == '\0';
        }
    }
}


}  // namespace

TSqliteProvider::TSqliteProvider(QString catalog, QString file)
    : m_catalog(std::move(catalog)),
      m_file(std::move(file)),
      m_qtName(QStringLiteral("zirt-sqlite-%1").arg(g_connectionSerial.fetchAndAddRelaxed(1))) {}

TSqliteProvider::~TSqliteProvider() {
    Close();
}

void TSqliteProvider::Open() {
    if (m_db)
        return;
    const QFileInfo info(m_file);
    if (!info.exists())
        throw EDatabaseError(
            QStringLiteral("Cannot open database \"%1\" requested by the login. The database "
                           "file \"%2\" does not exist.")
                .arg(m_catalog, m_file));
    if (!info.isFile())
        throw EDatabaseError(
            QStringLiteral("Cannot open database \"%1\" requested by the login. \"%2\" is not "
                           "a database file.")
                .arg(m_catalog, m_file));
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_qtName);
        if (!db.isValid()) {
            failure = QStringLiteral("The embedded database driver (QSQLITE) is not available: %1")
                          .arg(db.lastError().text());
        } else {
            // mode=rw: SQLite opens the file for reading and writing and fails when it is missing,
            // where a plain name would create an empty database.
            QUrl uri = QUrl::fromLocalFile(m_file);
            uri.setQuery(QStringLiteral("mode=rw"));
            db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1")
                                     .arg(m_pace.Wait(kBusyTimeoutMs, kQuickRetryMs)));
            if (!db.open()) {
                failure = db.lastError().text();
            } else {
                const QVariant handle = db.driver()->handle();
                if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
                    m_db = *static_cast<sqlite3* const*>(handle.constData());
                if (!m_db)
                    failure = QStringLiteral("The embedded database driver gave no connection handle.");
            }
        }
    }
    if (!failure.isEmpty()) {
        m_db = nullptr;
        QSqlDatabase::removeDatabase(m_qtName);
        m_pace.Failed();
        throw EDatabaseError(
            QStringLiteral("Cannot open database \"%1\" (file \"%2\"): %3").arg(m_catalog, m_file, failure));
    }
    try {
        RegisterRussianCollation(m_db);
        // The first read of the schema tells a file that is not a database (or is damaged) now, at connect.
        for (const char* sql : {"PRAGMA foreign_keys = ON", "SELECT count(*) FROM sqlite_schema"}) {
            char* error = nullptr;
            if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
                sqlite3_free(error);
                throw EDatabaseError(SqliteErrorMessage(m_db));
            }
        }
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        m_opened = IdentityOf(m_file);
        SuitJournalToDisk();
        m_pace.Succeeded();
    } catch (const EDatabaseError& e) {
        Close();
        m_pace.Failed();
        throw EDatabaseError(QStringLiteral("Cannot open database \"%1\" (file \"%2\"): %3")
                                 .arg(m_catalog, m_file, e.Message()));
    }
}

void TSqliteProvider::Close() {
    for (TSqliteCursor* cursor : std::as_const(m_cursors))
        cursor->Detach();
    m_cursors.clear();
    if (!m_db && !QSqlDatabase::contains(m_qtName))
        return;
    m_db = nullptr;
    {
        QSqlDatabase db = QSqlDatabase::database(m_qtName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_qtName);
}

sqlite3* TSqliteProvider::Handle() {
    Open();
    return m_db;
}

TSqliteProvider::TFileIdentity TSqliteProvider::IdentityOf(const QString& file) {
    TFileIdentity identity;
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) == 0)
        identity = {true, quint64(st.st_dev), quint64(st.st_ino)};
#else
    identity.Exists = QFileInfo::exists(file);
#endif
    return identity;
}

void TSqliteProvider::CheckFileStillThere() {
    // An open connection keeps the file it opened even after the file is deleted, moved or replaced;
    // what it then writes would be lost with the connection, and what it reads no longer what the
    // shop's database holds. So every statement first makes sure the file is still the one opened.
    const TFileIdentity now = IdentityOf(m_file);
    if (now.Exists && now.Device == m_opened.Device && now.Inode == m_opened.Inode)
        return;
    Close();
    m_pace.Failed();
    throw EDatabaseError(
        QStringLiteral("The database file \"%1\" was %2 while the program was using it; nothing "
                       "was read or written.")
            .arg(m_file, now.Exists ? QStringLiteral("replaced") : QStringLiteral("removed")));
}

void TSqliteProvider::Fail() const {
    throw EDatabaseError(SqliteErrorMessage(m_db));
}

bool TSqliteProvider::OnLocalDisk(const QString& file) {
    if (everyFileRemote)
        return false;
#ifdef __linux__
    struct statfs fs {};
    if (statfs(QFile::encodeName(file).constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
        case 0x6969:      // NFS
        case 0xFF534D42:  // CIFS
        case 0xFE534D42:  // SMB2
        case 0x517B:      // SMB
        case 0x65735546:  // FUSE (sshfs and the like)
            return false;
        default:
            return true;
    }
#else
    Q_UNUSED(file);
    return true;
#endif
}

void TSqliteProvider::TakeEveryFileAsRemote(bool remote) {
    everyFileRemote = remote;
}

void TSqliteProvider::SuitJournalToDisk() {
    const auto journalMode = [this] {
        TSqliteStatement mode;
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(m_db, "PRAGMA journal_mode", -1, &raw, nullptr) != SQLITE_OK)
            return QByteArray();
        mode = TSqliteStatement(raw);
        if (sqlite3_step(raw) != SQLITE_ROW)
            return QByteArray();
        return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0))).toLower();
    };
    const bool local = OnLocalDisk(m_file);
    if (journalMode() == (local ? "wal" : "delete"))
        return;
    // The switch needs the file alone for a moment: asked without waiting, it fails while another
    // program uses the file, and the file keeps its mode until a later start finds it alone.
    sqlite3_busy_timeout(m_db, 0);
    sqlite3_exec(m_db, local ? "PRAGMA journal_mode = WAL" : "PRAGMA journal_mode = DELETE", nullptr, nullptr,
                 nullptr);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
}

TSqliteStatement TSqliteProvider::Prepare(const QString& statement, const QVector<QVariant>& params) {
    sqlite3* db = Handle();
    CheckFileStillThere();
    const QByteArray sql = TsqlToSqlite(statement).toUtf8();
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int prepared = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()) + 1, &raw, &tail);
    TSqliteStatement owned(raw);
    if (prepared != SQLITE_OK)
        Fail();
    if (!owned)
        throw EDatabaseError(QStringLiteral("The statement is empty."));
    sqlite3_stmt* stmt = owned.Get();
    // One statement per call: a value can never smuggle in a second one.
    if (tail && !OnlyTrivia(tail)) {
        throw EDatabaseError(
            QStringLiteral("Only one statement can be run at a time; the text goes on after the "
                           "first: \"%1\"")
                .arg(QString::fromUtf8(tail).trimmed().left(60)));
    }
    if (params.size() != sqlite3_bind_parameter_count(stmt)) {
        throw EDatabaseError(QStringLiteral("The statement has %1 parameters, %2 values were given.")
                                 .arg(sqlite3_bind_parameter_count(stmt))
                                 .arg(params.size()));
    }
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        int rc;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, i + 1);
        } else {
            switch (v.typeId()) {
                case QMetaType::Bool:
                case QMetaType::Int:
                case QMetaType::UInt:
                case QMetaType::LongLong:
                case QMetaType::Short:
                case QMetaType::UShort:
                    rc = sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
                    break;
                case QMetaType::Double:
                case QMetaType::Float:
                    rc = sqlite3_bind_double(stmt, i + 1, v.toDouble());
                    break;
                case QMetaType::QByteArray: {
                    const QByteArray b = v.toByteArray();
                    rc = sqlite3_bind_blob(stmt, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                    break;
                }
                case QMetaType::QDateTime: {
                    const QByteArray t =
                        v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
                    rc = sqlite3_bind_text(stmt, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                    break;
                }
                default: {
                    const QByteArray t = v.toString().toUtf8();
                    rc = sqlite3_bind_text(stmt, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                    break;
                }
            }
        }
        if (rc != SQLITE_OK)
            Fail();
    }
    return owned;
}

std::unique_ptr<TDbCursor> TSqliteProvider::Select(const QString& statement,
                                                   const QVector<QVariant>& params) {
    // A cursor whose construction fails finalizes the statement it took as it unwinds.
    auto cursor = std::make_unique<TSqliteCursor>(this, Prepare(statement, params));
    m_cursors.insert(cursor.get());
    return cursor;
}

qint64 TSqliteProvider::Execute(const QString& statement, const QVector<QVariant>& params) {
    const TSqliteStatement stmt = Prepare(statement, params);
    const sqlite3_int64 totalBefore = sqlite3_total_changes64(m_db);
    int rc;
    while ((rc = sqlite3_step(stmt.Get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        Fail();
    if (sqlite3_stmt_readonly(stmt.Get()))
        return 0;
    // A write through a view changes no row itself: its INSTEAD OF trigger changes the base rows,
    // which only the connection's total counts. A statement that changed rows itself counts those
    // alone (an ordinary trigger's further writes are not its rows); one that matched no row fired
    // no trigger, so its total is 0 as well.
    const sqlite3_int64 own = sqlite3_changes64(m_db);
    return own != 0 ? own : sqlite3_total_changes64(m_db) - totalBefore;
}

TDbInserted TSqliteProvider::ExecuteInsert(const QString& statement, const QVector<QVariant>& params) {
    // The connection's last row id is its own (another connection's inserts never change it) and, once
    // a trigger has finished, the statement's: it goes back to what it was before the trigger ran.
    // An insert that wrote no row leaves it at an earlier insert's, which is not taken.
    TDbInserted inserted;
    inserted.Rows = Execute(statement, params);
    const sqlite3_int64 id = inserted.Rows > 0 ? sqlite3_last_insert_rowid(m_db) : 0;
    if (id)
        inserted.Id = qint64(id);
    return inserted;
}

void TSqliteProvider::BeginTransaction() {
    // IMMEDIATE takes the write lock at once: a transaction that reads first and writes later could
    // otherwise find, in WAL mode, that another writer got in between, which no busy wait mends.
    Execute(QStringLiteral("BEGIN IMMEDIATE TRANSACTION"), {});
}

void TSqliteProvider::CommitTransaction() {
    Execute(QStringLiteral("COMMIT TRANSACTION"), {});
}

void TSqliteProvider::RollbackTransaction() {
    // Some failures (a full disk, an I/O error) end the transaction themselves: nothing is left to undo.
    if (!m_db || sqlite3_get_autocommit(m_db))
        return;
    Execute(QStringLiteral("ROLLBACK TRANSACTION"), {});
}

bool TSqliteProvider::IsUpdatable(const QString& name) {
    // SQLite writes a view only through an INSTEAD OF UPDATE trigger, which the schema gives each of its
    // views (it writes the base row the view row came from, as the server does).
    const TDbObjectKind kind = ObjectKind(name);
    if (kind != TDbObjectKind::View)
        return kind == TDbObjectKind::Table;
    const std::unique_ptr<TDbCursor> c = Select(
        QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'trigger' AND tbl_name = ? COLLATE NOCASE "
                       "AND sql LIKE '%INSTEAD OF UPDATE%'"),
        {name});
    return c->Next();
}

bool TSqliteProvider::ReadsBesideWriters() {
    // In WAL a reader keeps its snapshot and never blocks a writer; with the rollback journal a
    // reading connection's shared lock would hold up every write until the reading ends.
    TSqliteStatement mode;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(Handle(), "PRAGMA journal_mode", -1, &raw, nullptr) != SQLITE_OK)
        return false;
    mode = TSqliteStatement(raw);
    return sqlite3_step(raw) == SQLITE_ROW &&
           qstricmp(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)), "wal") == 0;
}

TDbObjectKind TSqliteProvider::ObjectKind(const QString& name) {
    const std::unique_ptr<TDbCursor> c = Select(
        QStringLiteral(
            "SELECT type FROM sqlite_schema WHERE type IN ('table', 'view') AND name = ? COLLATE NOCASE"),
        {name});
    if (!c->Next())
        return TDbObjectKind::Missing;
    const TDbValue v = c->Value(0);
    return QByteArray(v.Utf8, v.Length) == "view" ? TDbObjectKind::View : TDbObjectKind::Table;
}

QStringList TSqliteProvider::PrimaryKey(const QString& table) {
    QStringList key;
    if (ObjectKind(table) != TDbObjectKind::Table)
        return key;
    const std::unique_ptr<TDbCursor> c =
        Select(QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk"), {table});
    while (c->Next()) {
        const TDbValue v = c->Value(0);
        key << QString::fromUtf8(v.Utf8, v.Length);
    }
    return key;
}

QVector<TDbColumn> TSqliteProvider::TableColumns(const QString& table) {
    QString quoted = table;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    const std::unique_ptr<TDbCursor> c =
        Select(QStringLiteral("SELECT * FROM \"%1\" LIMIT 1").arg(quoted), {});
    return c->Columns();
}

bool TSqliteProvider::IsDateTimeColumn(const QString& table, const QString& column) {
    const QString key = table.toLower();
    auto it = m_dateColumns.find(key);
    if (it == m_dateColumns.end()) {
        QSet<QString> columns;
        sqlite3_stmt* raw = nullptr;
        const int prepared =
            sqlite3_prepare_v2(m_db, "SELECT name, dflt_value FROM pragma_table_info(?1)", -1, &raw, nullptr);
        const TSqliteStatement stmt(raw);
        if (prepared == SQLITE_OK) {
            const QByteArray t = table.toUtf8();
            sqlite3_bind_text(raw, 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            while (sqlite3_step(raw) == SQLITE_ROW) {
                const QByteArray dflt =
                    QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(raw, 1))).toLower();
                if (dflt.contains("current_timestamp") || dflt.contains("datetime("))
                    columns.insert(
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)))
                            .toLower());
            }
        }
        it = m_dateColumns.insert(key, columns);
    }
    return it->contains(column.toLower());
}
