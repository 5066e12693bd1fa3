// The embedded database beside another program: the file runs in WAL mode so that reads go on while
// that program writes; a file in another mode switches only when it is alone; a lock that stops a
// read or a write is reported in plain words, and a failed connection attempt is retried too. A file
// removed or replaced under an open connection is noticed before anything is read or written.
#include <QFile>
#include <QTest>
#include <sqlite3.h>

#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"

namespace {

// Another program's connection to the same file.
class TOtherProgram {
public:
    explicit TOtherProgram(const QString& file) { sqlite3_open(QFile::encodeName(file).constData(), &m_db); }
    ~TOtherProgram() { sqlite3_close(m_db); }
    QString Run(const char* sql) {
        char* error = nullptr;
        const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
        const QString text = rc == SQLITE_OK ? QString() : QString::fromUtf8(error);
        sqlite3_free(error);
        return text;
    }
    QString JournalMode() {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(m_db, "PRAGMA journal_mode", -1, &stmt, nullptr);
        QString mode;
        if (sqlite3_step(stmt) == SQLITE_ROW)
            mode = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        return mode;
    }

private:
    sqlite3* m_db = nullptr;
};

qint64 Count(TDbConnection& db, const QString& table) {
    auto cursor = db.Select(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    return cursor->Next() ? cursor->Value(0).Int : -1;
}

const QString kLocked = QStringLiteral("The database is in use by another program");

}  // namespace

class TstLocking : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aProvisionedFileRunsInWal() {
        TTestDatabase database(TTestDatabase::SchemaOnly);
        QCOMPARE(TOtherProgram(database.File()).JournalMode(), QStringLiteral("wal"));
    }

    void anExistingFileSwitchesToWalOnlyWhenAlone_data() {
        QTest::addColumn<bool>("otherReading");
        QTest::addColumn<QString>("mode");
        QTest::newRow("alone") << false << "wal";
        QTest::newRow("another program reading") << true << "delete";
    }
    void anExistingFileSwitchesToWalOnlyWhenAlone() {
        QFETCH(bool, otherReading);
        QFETCH(QString, mode);
        TTestDatabase database;
        TOtherProgram other(database.File());
        QCOMPARE(other.Run("PRAGMA journal_mode = DELETE"), QString());
        if (otherReading)
            QCOMPARE(other.Run("BEGIN; SELECT COUNT(*) FROM discount"), QString());
        {
            TDbConnection db(TTestDatabase::ConnectionString());
            QVERIFY(Count(db, QStringLiteral("discount")) > 0);  // reading works either way
        }
        other.Run("COMMIT");
        QCOMPARE(TOtherProgram(database.File()).JournalMode(), mode);
    }

    void readsGoOnWhileAnotherProgramWrites() {
        TTestDatabase database;
        TOtherProgram other(database.File());
        TDbConnection db(TTestDatabase::ConnectionString());
        const qint64 before = Count(db, QStringLiteral("discount"));
        QCOMPARE(other.Run("BEGIN EXCLUSIVE; INSERT INTO discount ([percent]) VALUES (42)"), QString());
        // A fresh connection too: its start reads the schema while the other program holds the lock.
        TDbConnection fresh(TTestDatabase::ConnectionString());
        QCOMPARE(Count(fresh, QStringLiteral("discount")), before);
        QCOMPARE(Count(db, QStringLiteral("discount")), before);
        other.Run("ROLLBACK");
    }

    void aWriteStoppedByALockSaysSoAndWritesNothing() {
        TTestDatabase database;
        TOtherProgram other(database.File());
        TDbConnection db(TTestDatabase::ConnectionString());
        const qint64 before = Count(db, QStringLiteral("discount"));
        QCOMPARE(other.Run("BEGIN IMMEDIATE"), QString());
        const QString message = TTestChecks::ThrownMessage(
            [&] { db.Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (7)")); });
        QVERIFY2(message.startsWith(kLocked), qPrintable(message));
        other.Run("ROLLBACK");
        QCOMPARE(Count(db, QStringLiteral("discount")), before);
        db.Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (7)"));  // free again: written
        QCOMPARE(Count(db, QStringLiteral("discount")), before + 1);
    }

    void aLockedStartSaysSoAtEveryAttempt() {
        // A file in the old journal mode, locked by another program before the program connects: no
        // read can get through, and every attempt says why. (The later attempts wait only briefly;
        // bench-locked-start measures it.)
        TTestDatabase database;
        TOtherProgram other(database.File());
        QCOMPARE(other.Run("PRAGMA journal_mode = DELETE"), QString());
        QCOMPARE(other.Run("BEGIN EXCLUSIVE; INSERT INTO discount ([percent]) VALUES (42)"), QString());
        TDbConnection db(TTestDatabase::ConnectionString());
        for (int attempt = 1; attempt <= 3; ++attempt) {
            const QString message = TTestChecks::ThrownMessage([&] { db.Open(); });
            QVERIFY2(message.contains(kLocked), qPrintable(QString::number(attempt) + ": " + message));
            QVERIFY(!db.Connected());
        }
        other.Run("ROLLBACK");
        db.Open();  // the lock gone, the next attempt connects
        QVERIFY(Count(db, QStringLiteral("discount")) > 0);
    }

    void aFileRemovedOrReplacedIsNoticed_data() {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("removed") << false;
        QTest::newRow("replaced by a copy") << true;
    }
    void aFileRemovedOrReplacedIsNoticed() {
        QFETCH(bool, replaced);
        TTestDatabase database;
        TDbConnection db(TTestDatabase::ConnectionString());
        const qint64 before = Count(db, QStringLiteral("discount"));
        if (replaced) {
            const QString copy = database.File() + QStringLiteral(".copy");
            QVERIFY(QFile::copy(database.File(), copy));
            QVERIFY(QFile::remove(database.File()));
            QVERIFY(QFile::rename(copy, database.File()));
        } else {
            database.MakeUnreachable();
        }
        const QString message = TTestChecks::ThrownMessage(
            [&] { db.Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (7)")); });
        QVERIFY2(message.contains(replaced ? QLatin1String("was replaced") : QLatin1String("was removed")),
                 qPrintable(message));
        QVERIFY(!db.Connected());
        if (!replaced)
            database.MakeReachable();
        // The file back at its place: the next statement connects to it and writes there.
        db.Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (7)"));
        TDbConnection fresh(TTestDatabase::ConnectionString());
        QCOMPARE(Count(fresh, QStringLiteral("discount")), before + 1);
    }
};

QTEST_MAIN(TstLocking)
#include "tst_locking.moc"
