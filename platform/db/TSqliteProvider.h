// The embedded engine: one existing SQLite file per catalog, opened through Qt's QSQLITE driver, whose
// sqlite3 handle then runs every statement directly (prepare, bind, step) so that rows reach the data
// set as UTF-8 without a QVariant per cell. Every connection gets foreign keys, a busy time-out and the
// Russian collation the schema declares.
#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include "TDbProvider.h"
#include "TRetryPace.h"
#include "TSqliteStatement.h"

struct sqlite3;
struct sqlite3_stmt;
class TSqliteCursor;

class TSqliteProvider : public TDbProvider {
public:
    TSqliteProvider(QString catalog, QString file);
    ~TSqliteProvider() override;

    void Open() override;
    void Close() override;
    bool Connected() const override { return m_db != nullptr; }
    std::unique_ptr<TDbCursor> Select(const QString& statement, const QVector<QVariant>& params) override;
    qint64 Execute(const QString& statement, const QVector<QVariant>& params) override;
    TDbInserted ExecuteInsert(const QString& statement, const QVector<QVariant>& params) override;
    void BeginTransaction() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;
    bool IsUpdatable(const QString& name) override;
    bool ReadsBesideWriters() override;
    TDbObjectKind ObjectKind(const QString& name) override;
    QStringList PrimaryKey(const QString& table) override;
    QVector<TDbColumn> TableColumns(const QString& table) override;

    // For the cursor: a text column whose default is the current date and time holds date-times.
    bool IsDateTimeColumn(const QString& table, const QString& column);
    void Forget(TSqliteCursor* cursor) { m_cursors.remove(cursor); }

    // How long a statement waits for a lock another process holds before it fails (ms), and how long
    // a connection attempt waits right after one failed.
    static constexpr int kBusyTimeoutMs = 5000;
    static constexpr int kQuickRetryMs = 250;

    // Every file opened afterwards is taken as lying on a network disk: it keeps its rollback journal
    // and is never switched to WAL. For running the program as it runs on such a disk.
    static void TakeEveryFileAsRemote(bool remote);
    // Whether the file lies on a local disk, where WAL is safe (false for NFS, SMB and FUSE mounts).
    static bool OnLocalDisk(const QString& file);

private:
    sqlite3* Handle();
    // Prepares exactly one statement (after the dialect rewrite) and binds the parameters.
    TSqliteStatement Prepare(const QString& statement, const QVector<QVariant>& params);
    [[noreturn]] void Fail() const;
    // Puts a file on a local disk into WAL, where readers never wait for a writer, and one on a network
    // disk back into the rollback journal, since WAL's shared-memory index cannot be shared there; only
    // when no other program holds the file just now.
    void SuitJournalToDisk();
    // Which file a path names: the program's own database, or another one put in its place.
    struct TFileIdentity {
        bool Exists = false;
        quint64 Device = 0;
        quint64 Inode = 0;
    };
    static TFileIdentity IdentityOf(const QString& file);
    // Throws (and drops the connection, so the next step connects again) when the file was removed
    // or replaced since it was opened.
    void CheckFileStillThere();

    QString m_catalog;
    QString m_file;
    QString m_qtName;  // the QSqlDatabase connection name, unique per provider
    sqlite3* m_db = nullptr;
    TRetryPace m_pace;
    TFileIdentity m_opened;
    QSet<TSqliteCursor*> m_cursors;  // finalized on Close, so no statement outlives its connection
    QHash<QString, QSet<QString>> m_dateColumns;  // lower-case table -> lower-case columns
};
