// The form base class: look, stored geometry, closing, activation and modal showing.
#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "Exception.h"
#include "TForm.h"
#include "TModalAnswerer.h"
#include "TTestChecks.h"
#include "TProgressBar.h"
#include "TTimer.h"

namespace {

// A window that counts its activations and closings.
class TCountingForm : public TForm {
public:
    explicit TCountingForm(const QString& name) {
        setObjectName(name);
        SetCaption(name);
        OnActivate = [this] { ++Activations; };
        OnClose = [this] { ++Closings; };
    }
    int Activations = 0;
    int Closings = 0;
};

}  // namespace

class TstForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void look();
    void storedPlaceAndOuterSize();
    void closeBoxHides();
    void showModalOfVisibleWindowFails();
    void showModalSteps();
    void nestedModalGivesActivationBackSilently();
    void messageBoxDoesNotReactivate();
    void answererSeesModalWindow();
    void progressBarClamps_data();
    void progressBarClamps();
    void timerIntervalAndErrors();
};

void TstForm::cleanup() {
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TstForm::look() {
    TForm form;
    QCOMPARE(form.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(form.font().pixelSize(), 11);
    QCOMPARE(form.backgroundRole(), QPalette::Button);
    QVERIFY(form.autoFillBackground());
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags.testFlag(Qt::Window));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    QVERIFY(form.minimumSize() != form.maximumSize());  // sizeable
}

void TstForm::storedPlaceAndOuterSize() {
    TForm form;
    form.SetBounds(313, 239, 723, 451);
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.Bounds(), QRect(313, 239, 723, 451));
    // The frame's corner is the stored position; the outer size is the stored one whatever frame
    // the window system draws.
    QCOMPARE(form.frameGeometry().topLeft(), QPoint(313, 239));
    QTRY_COMPARE(form.frameGeometry().size(), QSize(723, 451));
    QCOMPARE(form.size(), QSize(723, 451).shrunkBy(TForm::FrameMargins()));
}

void TstForm::closeBoxHides() {
    TCountingForm form(QStringLiteral("A"));
    form.Show();
    QVERIFY(form.isVisible());
    QVERIFY(form.close() == false);  // the close event is taken over: the window hides itself
    QVERIFY(!form.isVisible());
    QCOMPARE(form.Closings, 1);
    form.Show();  // the same instance comes back
    QVERIFY(form.isVisible());
    form.Close();
    QVERIFY(!form.isVisible());
    QCOMPARE(form.Closings, 2);
}

void TstForm::showModalOfVisibleWindowFails() {
    TCountingForm form(QStringLiteral("A"));
    form.Show();
    QCOMPARE_THROWS(form.ShowModal(), "Cannot make a visible window modal");
    QVERIFY(!form.Modal());
    form.Hide();
}

void TstForm::showModalSteps() {
    TCountingForm main(QStringLiteral("Main"));
    TCountingForm other(QStringLiteral("Other"));
    TCountingForm hidden(QStringLiteral("Hidden"));
    TCountingForm modal(QStringLiteral("Modal"));
    auto* typing = new QLineEdit(&main);
    new QLineEdit(&main);
    main.Show();
    other.Show();
    main.Show();
    typing->setFocus();
    QCOMPARE(main.focusWidget(), typing);
    QCOMPARE(TForm::ActiveForm(), &main);
    const int mainActivations = main.Activations;

    TTimer ticker;
    ticker.SetInterval(5);
    int ticks = 0;
    ticker.OnTimer = [&] { ++ticks; };

    bool checked = false;
    QTimer::singleShot(0, &modal, [&] {
        // Step 2: the others are disabled, the window is shown, active and its handler has run.
        QVERIFY(modal.isVisible());
        QCOMPARE(QApplication::activeModalWidget(), &modal);
        QVERIFY(!main.isEnabled());
        QVERIFY(!other.isEnabled());
        QCOMPARE(TForm::ActiveForm(), &modal);
        QCOMPARE(modal.Activations, 1);
        // A reader hears it as a dialog, the others as windows.
        QCOMPARE(QAccessible::queryAccessibleInterface(&modal)->role(), QAccessible::Dialog);
        QCOMPARE(QAccessible::queryAccessibleInterface(&main)->role(), QAccessible::Window);
        // Step 3: timer ticks go on being dispatched in the nested loop.
        const int before = ticks;
        QTRY_VERIFY(ticks > before + 2);
        checked = true;
        // Step 4: the close box ends it.
        modal.close();
    });
    const int result = modal.ShowModal();

    QVERIFY(checked);
    QCOMPARE(result, int(TForm::mrCancel));
    QCOMPARE(QAccessible::queryAccessibleInterface(&modal)->role(), QAccessible::Window);
    QCOMPARE(modal.Closings, 1);
    // Step 5: hidden, not destroyed; the others enabled again; the previous window active again
    // without its activation handler running.
    QVERIFY(!modal.isVisible());
    QVERIFY(main.isEnabled());
    QVERIFY(other.isEnabled());
    QVERIFY(hidden.isEnabled());
    QCOMPARE(TForm::ActiveForm(), &main);
    QCOMPARE(main.focusWidget(), typing);  // the user goes on where they were
    TTestChecks::SettleEvents();
    QCOMPARE(main.Activations, mainActivations);
    QCOMPARE(modal.Activations, 1);

    // Opening it again runs its activation handler again, and Close() from a handler ends it too.
    QTimer::singleShot(0, &modal, [&] { modal.Close(); });
    QCOMPARE(modal.ShowModal(), int(TForm::mrCancel));
    QCOMPARE(modal.Activations, 2);
}

void TstForm::nestedModalGivesActivationBackSilently() {
    // An entry window opens a picker; on the picker's return the entry window's activation handler
    // (which resets its fields) must not run again.
    TCountingForm main(QStringLiteral("Main"));
    TCountingForm entry(QStringLiteral("Entry"));
    TCountingForm picker(QStringLiteral("Picker"));
    main.Show();
    int entryActivationsAfterPicker = -1;
    bool mainDisabledDuringPicker = false;
    bool entryDisabledDuringPicker = false;
    QTimer::singleShot(0, &entry, [&] {
        QTimer::singleShot(0, &picker, [&] {
            mainDisabledDuringPicker = !main.isEnabled();
            entryDisabledDuringPicker = !entry.isEnabled();
            picker.Close();
        });
        picker.ShowModal();
        // Back in the entry window: it is active and enabled, main still disabled.
        QCOMPARE(TForm::ActiveForm(), &entry);
        QVERIFY(entry.isEnabled());
        QVERIFY(!main.isEnabled());
        TTestChecks::SettleEvents();
        entryActivationsAfterPicker = entry.Activations;
        entry.Close();
    });
    entry.ShowModal();
    QVERIFY(mainDisabledDuringPicker);
    QVERIFY(entryDisabledDuringPicker);
    QCOMPARE(entryActivationsAfterPicker, 1);
    QCOMPARE(picker.Activations, 1);
    QVERIFY(main.isEnabled());
    QCOMPARE(TForm::ActiveForm(), &main);
}

void TstForm::messageBoxDoesNotReactivate() {
    TCountingForm form(QStringLiteral("A"));
    form.Show();
    QCOMPARE(form.Activations, 1);
    TModalAnswerer answer;
    answer.Press("OK");
    QMessageBox::information(&form, QStringLiteral("t"), QStringLiteral("text"));
    TTestChecks::SettleEvents();
    form.activateWindow();
    TTestChecks::SettleEvents();
    QCOMPARE(form.Activations, 1);
    form.Hide();
}

void TstForm::answererSeesModalWindow() {
    // Tests of the windows open them with ShowModal and close them through the box-answering helper.
    TCountingForm modal(QStringLiteral("Выбор поставщика"));
    TModalAnswerer answer;
    answer.Close();
    QCOMPARE(modal.ShowModal(), int(TForm::mrCancel));
    QCOMPARE(answer.Seen().size(), 1);
    QCOMPARE(answer.Seen().at(0).Caption, QStringLiteral("Выбор поставщика"));
    QCOMPARE(modal.Closings, 1);
    QVERIFY(!modal.isVisible());
}

void TstForm::progressBarClamps_data() {
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("read");
    QTest::newRow("inside") << 42 << 42;
    QTest::newRow("maximum") << 100 << 100;
    QTest::newRow("above") << 105 << 100;
    QTest::newRow("below") << -3 << 0;
}

void TstForm::progressBarClamps() {
    QFETCH(int, written);
    QFETCH(int, read);
    TProgressBar bar;
    bar.SetPosition(50);
    bar.SetPosition(written);
    QCOMPARE(bar.Position(), read);
}

void TstForm::timerIntervalAndErrors() {
    TTimer timer;
    QVERIFY(timer.Enabled());
    QCOMPARE(timer.Interval(), 1000);
    int ticks = 0;
    TModalAnswerer answer;
    timer.OnTimer = [&] {
        ++ticks;
        if (ticks == 1)
            throw EInvalidOperation(QStringLiteral("tick failed"));
    };
    timer.SetInterval(5);     // restarts with the new interval
    QTRY_VERIFY(ticks >= 3);  // the failed tick was shown and the timer went on
    QCOMPARE(answer.Texts().value(0), QStringLiteral("tick failed."));
    timer.SetEnabled(false);
    QVERIFY(!timer.Running());
    const int stopped = ticks;
    QTest::qSleep(30);  // several intervals pass; a running timer would be due by now
    TTestChecks::SettleEvents();
    QCOMPARE(ticks, stopped);
}

QTEST_MAIN(TstForm)
#include "tst_form.moc"
