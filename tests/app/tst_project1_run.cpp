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

#ifdef ZIRT_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

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

#ifdef ZIRT_HAVE_X11
struct TXWindow {
    Window Id = 0;
    QString Name;
    QSize Size;
    bool Viewable = false;
};

// The top-level windows of one client process, found by the _NET_WM_PID property Qt sets.
class TXClient {
public:
    TXClient() : m_display(XOpenDisplay(nullptr)) {}
    ~TXClient() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    bool Available() const { return m_display != nullptr; }

    QList<TXWindow> WindowsOf(qint64 pid) {
        QList<TXWindow> found;
        Window root = DefaultRootWindow(m_display), parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_display, root, &root, &parent, &children, &count))
            return found;
        const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", True);
        for (unsigned int i = 0; i < count; ++i) {
            if (Property(children[i], pidAtom, XA_CARDINAL) != pid)
                continue;
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(m_display, children[i], &attributes))
                continue;
            TXWindow window;
            window.Id = children[i];
            window.Name = Name(children[i]);
            window.Size = QSize(attributes.width, attributes.height);
            window.Viewable = attributes.map_state == IsViewable;
            found.append(window);
        }
        if (children)
            XFree(children);
        return found;
    }

    // What the title bar's close box sends.
    void Close(Window window) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_display, window, False, NoEventMask, &event);
        XFlush(m_display);
    }

private:
    long Property(Window window, Atom atom, Atom type) {
        if (atom == None)
            return -1;
        Atom actual = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        long value = -1;
        if (XGetWindowProperty(m_display, window, atom, 0, 1, False, type, &actual, &format, &items, &after,
                               &data) == Success &&
            data && items == 1 && format == 32)
            value = long(*reinterpret_cast<unsigned long*>(data));
        if (data)
            XFree(data);
        return value;
    }

    QString Name(Window window) {
        Atom actual = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        QString name;
        const Atom netName = XInternAtom(m_display, "_NET_WM_NAME", False);
        const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        if (XGetWindowProperty(m_display, window, netName, 0, 1024, False, utf8, &actual, &format, &items,
                               &after, &data) == Success &&
            data)
            name = QString::fromUtf8(reinterpret_cast<const char*>(data), int(items));
        if (data)
            XFree(data);
        return name;
    }

    Display* m_display;
};

#else
// Built without the X11 headers: the windows cannot be inspected.
struct TXWindow {
    unsigned long Id = 0;
    QString Name;
    QSize Size;
    bool Viewable = false;
};
class TXClient {
public:
    bool Available() const { return false; }
    QList<TXWindow> WindowsOf(qint64) { return {}; }
    void Close(unsigned long) {}
};
#endif

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
};

void TstProject1Run::initTestCase() {
    m_x = !qEnvironmentVariableIsEmpty("DISPLAY") && TXClient().Available();
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
