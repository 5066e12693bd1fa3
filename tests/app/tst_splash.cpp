// The splash: the bar's course tick by tick from the activation, the hand-over at tick 145 and on each
// tick to 164, the timer disabled at 164, a tick before the activation doing nothing; then the real
// timer's run to the main window, the ways out, and the program's instances in their order.
#include <QApplication>
#include <QCalendarWidget>
#include <QTest>
#include <QTimer>

#include "ProgramInstances.h"
#include "TApplication.h"
#include "TImage.h"
#include "TModalAnswerer.h"
#include "TProgressBar.h"
#include "TTimer.h"
#include "Unit1.h"
#include "Unit2.h"
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

}  // namespace

class TstSplash : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void InstancesInOrder();
    void Layout();
    void TickBeforeActivationDoesNothing();
    void Course();
    void RealTimerShowsMainWindow();
    void ClosingSplashEndsProgram();
    void MainWindowCloseBoxEndsProgram();

private:
    TApplication* m_application = nullptr;
};

void TstSplash::init() {
    SplashStage = 0.0;  // as when the program is loaded
    m_application = new TApplication;
    m_application->Initialize();
    CreateProgramInstances(m_application);
    QVERIFY(!m_application->CreationFailedFlag());
}

void TstSplash::cleanup() {
    delete m_application;
    m_application = nullptr;
    QCOMPARE(Form1, nullptr);
    QCOMPARE(Form15, nullptr);
}

void TstSplash::InstancesInOrder() {
    QStringList names;
    for (QObject* instance : m_application->Instances())
        names << instance->objectName();
    QCOMPARE(names, (QStringList{"Form1", "Form2", "Form4", "Form5", "Form6", "Form7", "Form8", "Form9",
                                 "Form10", "Form11", "Form12", "Form13", "Form14", "Form15"}));
    QCOMPARE(m_application->MainForm(), static_cast<TForm*>(Form1));
    for (QObject* instance : m_application->Instances())
        QVERIFY(!static_cast<QWidget*>(instance)->isVisible());
}

void TstSplash::Layout() {
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

void TstSplash::TickBeforeActivationDoesNothing() {
    Form1->Timer1Timer();
    QCOMPARE(SplashStage, 0.0);
    QCOMPARE(Form1->ProgressBar1->Position(), 0);
    QVERIFY(!Form2->isVisible());
    QVERIFY(Form1->Timer1->Enabled());
    QCOMPARE(Form1->Timer1->Interval(), 1000);
}

void TstSplash::Course() {
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
    QTest::qWait(50);
    QVERIFY(!Form1->Timer1->Running());
    QCOMPARE(Form2->MonthCalendar1->selectedDate(), picked);
}

void TstSplash::RealTimerShowsMainWindow() {
    bool splashSeen = false;
    bool handedOver = false;
    QTimer watcher;
    watcher.setInterval(2);
    connect(&watcher, &QTimer::timeout, this, [&] {
        if (Form1->isVisible() && SplashStage >= 1)
            splashSeen = true;
        if (!Form1->Timer1->Running() && Form2->isVisible()) {
            handedOver = !Form1->isVisible() && Form1->ProgressBar1->Position() == 100;
            watcher.stop();
            Form2->close();  // the main window's close box ends the program
        }
    });
    watcher.start();
    QTimer guard;  // a broken course must not hang the test
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, this, [] { Form1->Close(); });
    guard.start(60000);
    QCOMPARE(m_application->Run(), 0);
    QVERIFY(splashSeen);
    QVERIFY(handedOver);
    QCOMPARE(Form1, nullptr);  // the instances are gone
}

void TstSplash::ClosingSplashEndsProgram() {
    bool form2Seen = false;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(Form1->ProgressBar1->Position() > 0);
        form2Seen = Form2->isVisible();
        Form1->close();  // the splash's close box while the bar runs
    });
    QCOMPARE(m_application->Run(), 0);
    QVERIFY(!form2Seen);
}

void TstSplash::MainWindowCloseBoxEndsProgram() {
    // Straight to the main window, as after the hand-over; its close box closes Form1.
    QTimer::singleShot(0, this, [] {
        Form2->Show();
        Form1->Hide();
        Form2->close();
    });
    QCOMPARE(m_application->Run(), 0);
}

QTEST_MAIN(TstSplash)
#include "tst_splash.moc"
