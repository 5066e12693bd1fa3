// The splash: the bar's course tick by tick from the activation, the hand-over at tick 145 and on each
// tick to 164, the timer disabled at 164, a tick before the activation doing nothing; then the real
// timer's run to the main window, the ways out, the program's instances in their order, and a start
// with the database unreachable (its error boxes first, then the splash and the main window).
#include <QApplication>
#include <QCalendarWidget>
#include <QTest>
#include <QTimer>

#include "ProgramInstances.h"
#include "TApplication.h"
#include "TImage.h"
#include "TModalAnswerer.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"
#include "TProgressBar.h"
#include "TTimer.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit15.h"
#include "Unit4.h"

namespace {

// The bar after each tick from the activation (index 0 = tick 1), as the course is laid down:
// 10 ... 90; 30 (tick 10); 60; 2 (tick 12); 4 ... 88; 1 (tick 56); 2 ... 89; 5 (tick 145); 10 ... 100.
QVector<int> ExpectedCourse() {
    QVector<int> course;
    for (int v = 10; v <= 90; v += 10)
        course << v;          // ticks 1-9
    course << 30 << 60 << 2;  // ticks 10-12
    for (int v = 4; v <= 88; v += 2)
        course << v;  // ticks 13-55
    course << 1;      // tick 56
    for (int v = 2; v <= 89; ++v)
        course << v;  // ticks 57-144
    for (int v = 5; v <= 100; v += 5)
        course << v;  // ticks 145-164
    return course;
}

// Counts the showing of our windows and how many boxes had been answered by the first one.
class TShowWatch : public QObject {
public:
    explicit TShowWatch(const TModalAnswerer* answer) : m_answer(answer) { qApp->installEventFilter(this); }
    int Shown = 0;
    int BoxesBeforeFirstWindow = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<TForm*>(watched)) {
            if (Shown++ == 0)
                BoxesBeforeFirstWindow = m_answer->Seen().size();
        }
        return false;
    }

private:
    const TModalAnswerer* m_answer;
};

// Runs the program until the main window has been shown after the splash, then closes it.
int RunToMainWindowAndClose(TApplication* application, bool* splashSeen) {
    QTimer watcher;
    watcher.setInterval(2);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (Form1->isVisible() && SplashStage >= 1)
            *splashSeen = true;
        if (!Form1->Timer1->Running() && Form2->isVisible() && !Form1->isVisible()) {
            watcher.stop();
            Form2->close();  // the main window's close box ends the program
        }
    });
    watcher.start();
    QTimer guard;  // a broken course must not hang the test
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { Form1->Close(); });
    guard.start(60000);
    return application->Run();
}

}  // namespace

class TstSplash : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void instancesInOrder();
    void layout();
    void tickBeforeActivationDoesNothing();
    void course();
    void realTimerShowsMainWindow();
    void closingSplashEndsProgram();
    void mainWindowCloseBoxEndsProgram();
    void databaseUnreachable();

private:
    TApplication* m_application = nullptr;
    TTestDatabase* m_database = nullptr;
    TModalAnswerer* m_boxes = nullptr;  // answers and records any box, so that none can hang a test
};

void TstSplash::init() {
    SplashStage = 0.0;  // as when the program is loaded
    m_database = new TTestDatabase;
    if (QByteArray(QTest::currentTestFunction()) == "databaseUnreachable")
        return;  // creates the instances itself
    m_boxes = new TModalAnswerer;
    m_application = new TApplication;
    m_application->Initialize();
    CreateProgramInstances(m_application);
    QVERIFY(!m_application->CreationFailedFlag());
    QCOMPARE(m_boxes->Texts(), QStringList());
}

void TstSplash::cleanup() {
    delete m_application;
    m_application = nullptr;
    delete m_database;
    m_database = nullptr;
    delete m_boxes;
    m_boxes = nullptr;
    QCOMPARE(DataModule3, nullptr);
    QCOMPARE(Form1, nullptr);
    QCOMPARE(Form15, nullptr);
}

void TstSplash::instancesInOrder() {
    QStringList names;
    for (QObject* instance : m_application->Instances())
        names << instance->objectName();
    QCOMPARE(names, (QStringList{"Form1", "Form2", "DataModule3", "Form4", "Form5", "Form6", "Form7", "Form8",
                                 "Form9", "Form10", "Form11", "Form12", "Form13", "Form14", "Form15"}));
    QCOMPARE(m_application->MainForm(), static_cast<TForm*>(Form1));
    QCOMPARE(m_application->Instances().at(2), static_cast<QObject*>(DataModule3));
    for (QObject* instance : m_application->Instances())
        if (instance->isWidgetType())
            QVERIFY(!static_cast<QWidget*>(instance)->isVisible());
}

void TstSplash::layout() {
    QCOMPARE(Form1->Caption(), QStringLiteral("База данных"));
    QCOMPARE(Form1->Bounds(), QRect(313, 239, 723, 451));
    QCOMPARE(Form1->Image1->Picture().size(), QSize(625, 435));
    QVERIFY(Form1->Image1->Stretch());
    QCOMPARE(Form1->ProgressBar1->geometry(), QRect(256, 232, 193, 33));
    QCOMPARE(Form1->ProgressBar1->minimum(), 0);
    QCOMPARE(Form1->ProgressBar1->maximum(), 100);
    QCOMPARE(Form1->ProgressBar1->Position(), 0);
    QVERIFY(Form1->Timer1->Enabled());
    QCOMPARE(Form1->Timer1->Interval(), 1000);
    // The picture fills the client area and follows a resize; the bar stays where it is and above it.
    Form1->Show();
    Form1->Timer1->SetEnabled(false);
    Form1->resize(900, 300);
    QCOMPARE(Form1->Image1->geometry(), QRect(0, 0, 900, 300));
    QCOMPARE(Form1->ProgressBar1->geometry(), QRect(256, 232, 193, 33));
    QCOMPARE(Form1->childAt(300, 240), static_cast<QWidget*>(Form1->ProgressBar1));
}

void TstSplash::tickBeforeActivationDoesNothing() {
    Form1->Timer1Timer();
    QCOMPARE(SplashStage, 0.0);
    QCOMPARE(Form1->ProgressBar1->Position(), 0);
    QVERIFY(!Form2->isVisible());
    QVERIFY(Form1->Timer1->Enabled());
    QCOMPARE(Form1->Timer1->Interval(), 1000);
}

void TstSplash::course() {
    const QVector<int> course = ExpectedCourse();
    QCOMPARE(course.size(), 164);
    const QDate today = QDate::currentDate();
    const QDate picked = today.addDays(-40);

    Form1->Show();  // activation: FormActivate runs
    QCOMPARE(SplashStage, 1.0);
    QCOMPARE(Form1->Timer1->Interval(), 10);
    // From here the ticks are driven by hand; the real timer must not interfere.
    Form1->Timer1->SetInterval(1000000);
    Form2->MonthCalendar1->setSelectedDate(picked);
    Form4->MonthCalendar1->setSelectedDate(picked);

    for (int tick = 1; tick <= 164; ++tick) {
        if (tick >= 145) {
            // A date picked during the hand-over is set back to today on every tick.
            Form2->MonthCalendar1->setSelectedDate(picked);
            Form4->MonthCalendar1->setSelectedDate(picked);
        }
        Form1->Timer1Timer();
        const QByteArray tag = "tick " + QByteArray::number(tick);
        const char* at = tag.constData();
        const QByteArray bar = tag + ": bar " + QByteArray::number(Form1->ProgressBar1->Position());
        QVERIFY2(Form1->ProgressBar1->Position() == course[tick - 1], bar.constData());
        const bool handedOver = tick >= 145;
        QVERIFY2(Form2->isVisible() == handedOver, at);
        QVERIFY2(Form1->isVisible() == !handedOver, at);
        const QDate expectedDate = handedOver ? today : picked;
        QVERIFY2(Form2->MonthCalendar1->selectedDate() == expectedDate, at);
        QVERIFY2(Form4->MonthCalendar1->selectedDate() == expectedDate, at);
        QVERIFY2(Form1->Timer1->Enabled() == (tick < 164), at);
        const double stage = tick < 10 ? 1 : tick < 12 ? 2 : tick < 56 ? 3 : tick < 145 ? 4 : 5;
        QVERIFY2(SplashStage == stage, at);
    }
    QCOMPARE(TForm::ActiveForm(), static_cast<TForm*>(Form2));
    // After the course the calendars keep what the user picks: no tick comes any more.
    Form2->MonthCalendar1->setSelectedDate(picked);
    TTestChecks::SettleEvents();
    QVERIFY(!Form1->Timer1->Running());
    QCOMPARE(Form2->MonthCalendar1->selectedDate(), picked);
}

void TstSplash::realTimerShowsMainWindow() {
    bool splashSeen = false;
    QCOMPARE(RunToMainWindowAndClose(m_application, &splashSeen), 0);
    QVERIFY(splashSeen);
    QCOMPARE(m_boxes->Texts(), QStringList());  // a reachable database: no box
    QCOMPARE(Form1, nullptr);                   // the instances are gone
}

void TstSplash::closingSplashEndsProgram() {
    bool form2Seen = false;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(Form1->ProgressBar1->Position() > 0);
        form2Seen = Form2->isVisible();
        Form1->close();  // the splash's close box while the bar runs
    });
    QCOMPARE(m_application->Run(), 0);
    QVERIFY(!form2Seen);
}

void TstSplash::mainWindowCloseBoxEndsProgram() {
    // Straight to the main window, as after the hand-over; its close box closes Form1.
    QTimer::singleShot(0, this, [] {
        Form2->Show();
        Form1->Hide();
        Form2->close();
    });
    QCOMPARE(m_application->Run(), 0);
}

void TstSplash::databaseUnreachable() {
    m_database->MakeUnreachable();
    TModalAnswerer answer;  // presses OK in every box
    TShowWatch watch(&answer);
    m_application = new TApplication;
    m_application->Initialize();
    CreateProgramInstances(m_application);
    QVERIFY(!m_application->CreationFailedFlag());  // a database failure does not stop start-up
    QVERIFY(DataModule3);
    QVERIFY(Form15);
    QVERIFY(answer.Seen().size() >= 1);
    for (const TSeenModal& box : answer.Seen())
        QCOMPARE(box.Caption, m_application->Title());
    const int boxes = answer.Seen().size();
    qInfo("%d database error box(es) before the first window: %s", boxes,
          qPrintable(answer.Texts().value(0)));
    bool splashSeen = false;
    QCOMPARE(RunToMainWindowAndClose(m_application, &splashSeen), 0);
    QVERIFY(splashSeen);
    QCOMPARE(watch.BoxesBeforeFirstWindow, boxes);
    QCOMPARE(answer.Seen().size(), boxes);
}

QTEST_MAIN(TstSplash)
#include "tst_splash.moc"
