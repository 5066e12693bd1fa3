// A program killed (SIGKILL) while it records sales or orders leaves its database whole: the file
// passes the engine's integrity and foreign-key checks, every row the program had reported written
// is there, and every row there is complete. The program runs in a child process (entryrecorder);
// the file is read back through the program's own connection code, which has the text collation.
#include <QObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QTest>

#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TRowStore.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"

namespace {

QVariantList Column(TDbConnection& db, const QString& sql) {
    QVariantList values;
    auto cursor = db.Select(sql);
    while (cursor->Next())
        values << TRowStore::ToVariant(cursor->Value(0), QMetaType::UnknownType);
    return values;
}

int Count(TDbConnection& db, const QString& sql) {
    return Column(db, "select count(*) from " + sql).value(0).toInt();
}

}  // namespace

class TstKilledEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedWhileRecording_data();
    void killedWhileRecording();
};

void TstKilledEntry::killedWhileRecording_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("headers");  // the table of the headers
    // What every header the program writes holds: the first manager or supplier, a valid date.
    QTest::addColumn<QString>("headerRow");
    QTest::addColumn<QString>("lines");  // the table of the lines
    // What every line the program writes holds; no line of the demo data does.
    QTest::addColumn<QString>("lineRow");
    // Rows reported written before the kill comes near: ten openings of a header and three lines each,
    // and the first header of the next.
    QTest::addColumn<int>("reports");
    QTest::newRow("sales") << "sale"
                           << "sale"
                           << "idmanager = 1 and datetime(saledate) is saledate"
                           << "saleitem"
                           << "idwares = 1 and quantity = 2 and idsale in (select Idsale from sale where "
                              "idmanager = 1)"
                           << 41;
    QTest::newRow("orders") << "order"
                            << "[order]"
                            << "Idprovider = 1 and datetime(orderdate) is orderdate"
                            << "orderitem"
                            << "idorder = 1 and idwares = 8 and warescount = 3" << 44;
}

void TstKilledEntry::killedWhileRecording() {
    QFETCH(QString, mode);
    QFETCH(QString, headers);
    QFETCH(QString, headerRow);
    QFETCH(QString, lines);
    QFETCH(QString, lineRow);
    QFETCH(int, reports);
    TTestDatabase database;
    TDbConnection db(TTestDatabase::ConnectionString());
    db.Open();
    const int headersBefore = Count(db, headers);
    const int completeHeadersBefore = Count(db, headers + " where " + headerRow);
    const int linesBefore = Count(db, lines);
    QCOMPARE(Count(db, lines + " where " + lineRow), 0);
    db.Close();

    QProcess recorder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    recorder.setProcessEnvironment(environment);
    recorder.start(QStringLiteral(ENTRY_RECORDER_PATH), {mode});
    QVERIFY(recorder.waitForStarted());
    int headersReported = 0, linesReported = 0;
    const auto take = [&] {
        while (recorder.canReadLine()) {
            const QByteArray line = recorder.readLine().trimmed();
            headersReported += line == "header";
            linesReported += line == "line";
        }
    };
    while (headersReported + linesReported < reports &&
           (recorder.canReadLine() || recorder.waitForReadyRead(10000)))
        take();
    // Its warnings are told only when it stopped by itself (a refusal says which).
    QVERIFY2(headersReported + linesReported >= reports, recorder.readAllStandardError().constData());
    // Killed while it goes on, somewhere in the next few statements: a statement under way, or one the
    // database took before the program could report it.
    QThread::usleep(QRandomGenerator::global()->bounded(20000));
    recorder.kill();
    QVERIFY(recorder.waitForFinished(10000));
    QCOMPARE(recorder.exitStatus(), QProcess::CrashExit);
    take();

    db.Open();
    QCOMPARE(Column(db, "PRAGMA integrity_check"), QVariantList{"ok"});
    QCOMPARE(Column(db, "PRAGMA foreign_key_check"), QVariantList());
    // What was reported written is there; at most the statement under way at the kill went on too.
    const int headersAdded = Count(db, headers) - headersBefore;
    const int linesAdded = Count(db, lines) - linesBefore;
    QVERIFY2(headersAdded == headersReported || headersAdded == headersReported + 1,
             qPrintable(QString("%1 headers reported, %2 written").arg(headersReported).arg(headersAdded)));
    QVERIFY2(linesAdded == linesReported || linesAdded == linesReported + 1,
             qPrintable(QString("%1 lines reported, %2 written").arg(linesReported).arg(linesAdded)));
    // Every row written is whole.
    QCOMPARE(Count(db, headers + " where " + headerRow) - completeHeadersBefore, headersAdded);
    QCOMPARE(Count(db, lines + " where " + lineRow), linesAdded);
    // And the database takes writes again.
    QCOMPARE(db.Execute("delete from " + lines + " where " + lineRow), qint64(linesAdded));
}

QTEST_MAIN(TstKilledEntry)
#include "tst_killedentry.moc"
