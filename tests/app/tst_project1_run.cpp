// The real program, started as a user starts it: under an X server (xvfb-run) it shows the splash and
// then the main window within a few seconds, and closing the main window ends it with exit code 0;
// the build with a damaged splash picture reports the error and exits with 1 instead of crashing.
// Without an X server the windows cannot be inspected: the runs only check that nothing crashes.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include "TXClient.h"

namespace {

// Processes still running the given program file, found through /proc.
int ProcessesRunning(const QString& program) {
    const QString wanted = QFileInfo(program).canonicalFilePath();
    int count = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        entry.toLongLong(&number);
        if (number && QFileInfo(QStringLiteral("/proc/%1/exe").arg(entry)).canonicalFilePath() == wanted)
            ++count;
    }
    return count;
}

// The application title, which captions the program's message boxes.
QString TitleOf(const QString& program) {
    const QString name = QFileInfo(program).fileName().section(QLatin1Char('.'), 0, 0);
    return name.left(1) + name.mid(1).toLower();
}

const QString Caption = QStringLiteral("База данных");
const QSize SplashSize(723, 451);
const QSize MainSize(772, 508);

}  // namespace

class TstProject1Run : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void showsMainWindowAndExitsWithZero();
    void damagedPictureDoesNotCrash();

private:
    QProcessEnvironment Environment() const;
    bool m_x = false;
    QTemporaryDir m_data;
    // Held for the whole run: Xvfb resets when its last client leaves, and a connection opened
    // during the reset fails.
    TXClient m_keepServer;
};

void TstProject1Run::initTestCase() {
    m_x = !qEnvironmentVariableIsEmpty("DISPLAY") && m_keepServer.Available();
    QVERIFY(m_data.isValid());
#ifdef PROVISION_PATH
    // The demo database, as scripts/provision makes it.
    QProcess provision;
    provision.start(
        QStringLiteral(PROVISION_PATH),
        {QStringLiteral("--schema"), QStringLiteral(SOURCE_DIR "/data/schema/zirt.sqlite.sql"),
         QStringLiteral("--demo"), QStringLiteral(SOURCE_DIR "/data/schema/demo-data.sql"),
         QStringLiteral("--database"), m_data.filePath(QStringLiteral("zirt/SQLEXPRESS/ZIRT.sqlite"))});
    QVERIFY(provision.waitForFinished(60000));
    QCOMPARE(provision.exitCode(), 0);
#endif
}

QProcessEnvironment TstProject1Run::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       m_x ? QStringLiteral("xcb") : QStringLiteral("offscreen"));
    return environment;
}

void TstProject1Run::showsMainWindowAndExitsWithZero() {
    // Someone else may be running the same build; only what this run leaves behind counts.
    const int runningBefore = ProcessesRunning(QStringLiteral(PROJECT1_PATH));
    QProcess program;
    program.setProcessEnvironment(Environment());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(PROJECT1_PATH), {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    if (!m_x) {
        QVERIFY(!program.waitForFinished(3000));  // still running: nothing crashed at start-up
        program.kill();
        program.waitForFinished();
        QSKIP("no X server: the windows cannot be inspected from outside");
    }
    TXClient x;
    bool splashSeen = false;
    int boxesAnswered = 0;
    TXWindow main;
    QElapsedTimer clock;
    clock.start();
    // A few seconds at most, counting any database error boxes to answer on the way.
    while (clock.elapsed() < 15000 && program.state() == QProcess::Running && !main.Id) {
        for (const TXWindow& window : x.WindowsOf(program.processId())) {
            if (!window.Viewable)
                continue;
            if (window.Name == Caption && window.Size == SplashSize)
                splashSeen = true;
            else if (window.Name == Caption && window.Size == MainSize)
                main = window;
            else if (window.Name == TitleOf(QStringLiteral(PROJECT1_PATH))) {
                x.Close(window.Id);  // a database error box: OK is also its escape answer
                ++boxesAnswered;
                QTest::qWait(100);
            }
        }
        QTest::qWait(10);
    }
    QVERIFY2(main.Id, "the main window was not shown");
    QVERIFY(splashSeen);
    qInfo("main window after %lld ms, %d box(es) answered", clock.elapsed(), boxesAnswered);
    // The splash is hidden once the main window is there.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const TXWindow& window : x.WindowsOf(program.processId()))
                if (window.Size == SplashSize && window.Viewable)
                    return false;
            return true;
        }(),
        5000);
    x.Close(main.Id);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(ProcessesRunning(QStringLiteral(PROJECT1_PATH)), runningBefore);  // nothing hidden stays behind
}

void TstProject1Run::damagedPictureDoesNotCrash() {
    QProcess program;
    program.setProcessEnvironment(Environment());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(PROJECT1_CORRUPT_PATH), {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    if (!m_x) {
        QVERIFY(!program.waitForFinished(3000));  // waiting in its error box, not crashed
        program.kill();
        program.waitForFinished();
        QSKIP("no X server: the error box cannot be answered from outside");
    }
    TXClient x;
    TXWindow box;
    bool windowShown = false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000 && program.state() == QProcess::Running && !box.Id) {
        for (const TXWindow& window : x.WindowsOf(program.processId())) {
            if (!window.Viewable)
                continue;
            if (window.Name == QStringLiteral("Application Error"))
                box = window;
            else if (window.Name == Caption)
                windowShown = true;
            else if (window.Name == TitleOf(QStringLiteral(PROJECT1_CORRUPT_PATH)))
                x.Close(window.Id);  // a database error box before the picture is decoded
        }
        QTest::qWait(10);
    }
    QVERIFY2(box.Id, "no \"Application Error\" box");
    QVERIFY(!windowShown);
    x.Close(box.Id);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(ProcessesRunning(QStringLiteral(PROJECT1_CORRUPT_PATH)), 0);
}

QTEST_GUILESS_MAIN(TstProject1Run)
#include "tst_project1_run.moc"
