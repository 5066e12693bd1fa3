// A program killed (SIGKILL) in the middle of its writes: a child process keeps updating a row of a
// join (one value in each of two tables, written as one change), inserting and deleting rows, and
// is killed at a random moment; the database it leaves must be whole: integrity and foreign keys
// clean, and the two halves of the join's change either both written or neither.
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TTestDatabase.h"
#include "TField.h"

namespace {

// The child's endless work; it never returns.
[[noreturn]] void WriteUntilKilled() {
    QObject owner;
    auto* connection = new TADOConnection(&owner, QStringLiteral("ADOConnection1"));
    connection->SetConnectionString(TTestDatabase::ConnectionString());
    // A ware and its discount level: a change of both columns is one change of the row.
    auto* join = new TADOQuery(&owner, QStringLiteral("ADOQuery1"));
    join->SetConnection(connection);
    join->SQL().Add(
        QStringLiteral("SELECT w.Idwares, w.description, d.Iddiscount, d.[percent] FROM wares w "
                       "INNER JOIN discount d ON d.Iddiscount = w.Iddiscount WHERE w.Idwares = 1"));
    auto* managers = new TADOTable(&owner, QStringLiteral("ADOTable7"));
    managers->SetConnection(connection);
    managers->SetTableName(QStringLiteral("manager"));
    try {
        join->Open();
        managers->Open();
        for (int k = 1;; ++k) {
            join->Edit();
            join->FieldByName(QStringLiteral("description"))->SetAsString(QString::number(k % 100));
            join->FieldByName(QStringLiteral("percent"))->SetAsString(QString::number(k % 100));
            join->Post();
            managers->Append();
            managers->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Временный %1").arg(k));
            managers->Post();
            if (k % 3 == 0) {
                managers->Last();
                managers->Delete();
            }
        }
    } catch (...) {
        _exit(3);  // a refusal would end the trial early; the parent sees it in the exit status
    }
    _exit(4);
}

}  // namespace

class TstKilled : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedWhileWritingLeavesTheDatabaseWhole() {
        TTestDatabase db;
        QRandomGenerator random(20261212);
        const int trials = 12;
        int killedWhileRunning = 0;
        for (int trial = 0; trial < trials; ++trial) {
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0)
                WriteUntilKilled();
            QTest::qSleep(40 + int(random.bounded(160)));
            kill(child, SIGKILL);
            int status = 0;
            waitpid(child, &status, 0);
            killedWhileRunning += WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
            QCOMPARE(db.Scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
            QCOMPARE(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM pragma_foreign_key_check")).toInt(), 0);
            const double description =
                db.Scalar(QStringLiteral("SELECT description FROM wares WHERE Idwares = 1"))
                    .toString()
                    .toDouble();
            const double percent =
                db.Scalar(QStringLiteral("SELECT d.[percent] FROM wares w INNER JOIN discount d "
                                         "ON d.Iddiscount = w.Iddiscount WHERE w.Idwares = 1"))
                    .toDouble();
            QCOMPARE(description, percent);
        }
        qInfo("kill trials: %d, %d killed in the middle of writing, 0 inconsistent databases", trials,
              killedWhileRunning);
        QCOMPARE(killedWhileRunning, trials);
        // And the children did write in between.
        QVERIFY(
            db.Scalar(QStringLiteral("SELECT COUNT(*) FROM manager WHERE name LIKE 'Временный%'")).toInt() >
            0);
    }
};

QTEST_GUILESS_MAIN(TstKilled)
#include "tst_killed.moc"
