// The application object: creation order, the main form, reverse destruction, creation failures and
// the end of the message loop when the main form closes.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "Exception.h"
#include "TApplication.h"
#include "TForm.h"
#include "TModalAnswerer.h"

namespace {

QStringList g_log;
int g_shown = 0;

class TLoggedForm : public TForm {
public:
    explicit TLoggedForm(QWidget* parent, const QString& name) : TForm(parent) {
        setObjectName(name);
        g_log.append(QStringLiteral("create ") + name);
    }
    ~TLoggedForm() override { g_log.append(QStringLiteral("destroy ") + objectName()); }

protected:
    void showEvent(QShowEvent* event) override {
        ++g_shown;
        TForm::showEvent(event);
    }
};

class TFormA : public TLoggedForm {
public:
    explicit TFormA(QWidget* parent) : TLoggedForm(parent, QStringLiteral("A")) {}
};
class TFormB : public TLoggedForm {
public:
    explicit TFormB(QWidget* parent) : TLoggedForm(parent, QStringLiteral("B")) {}
};
class TFormC : public TLoggedForm {
public:
    explicit TFormC(QWidget* parent) : TLoggedForm(parent, QStringLiteral("C")) {}
};

// Stands for the data module: an owned instance that is no window.
class TModule : public QObject {
public:
    explicit TModule(QObject* owner) : QObject(owner) {
        setObjectName(QStringLiteral("M"));
        g_log.append(QStringLiteral("create M"));
    }
    ~TModule() override { g_log.append(QStringLiteral("destroy M")); }
};

// Fails while it is created, in the way the test row asks.
int g_failure = 0;
class TFailing : public TLoggedForm {
public:
    explicit TFailing(QWidget* parent) : TLoggedForm(parent, QStringLiteral("F")) {
        if (g_failure == 0)
            throw EInvalidOperation(QStringLiteral("Сбой при создании"));
        if (g_failure == 1)
            throw std::runtime_error("bad state");
        throw 7;
    }
};

TFormA* A = nullptr;
TFormB* B = nullptr;
TFormC* C = nullptr;
TModule* M = nullptr;
TFailing* F = nullptr;

}  // namespace

class TstApplication : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void orderAndMainForm();
    void moduleFirstIsNotMainForm();
    void creationFailure_data();
    void creationFailure();
    void closingMainFormEndsLoop();
    void closingOtherFormDoesNot();
};

void TstApplication::init() {
    g_log.clear();
    g_shown = 0;
}

void TstApplication::orderAndMainForm() {
    {
        TApplication application;
        application.CreateForm(A);
        application.CreateForm(B);
        application.CreateForm(M);
        application.CreateForm(C);
        QCOMPARE(Application, &application);
        QCOMPARE(application.MainForm(), static_cast<TForm*>(A));
        QCOMPARE(application.Instances(), (QVector<QObject*>{A, B, M, C}));
        QVERIFY(!A->isVisible() && !B->isVisible() && !C->isVisible());  // created hidden
        QCOMPARE(M->parent(), nullptr);  // owned by the application, not by Qt's object tree
    }
    QCOMPARE(g_log, (QStringList{"create A", "create B", "create M", "create C", "destroy C", "destroy M",
                                 "destroy B", "destroy A"}));
    QCOMPARE(A, nullptr);
    QCOMPARE(M, nullptr);
    QCOMPARE(Application, nullptr);
}

void TstApplication::moduleFirstIsNotMainForm() {
    TApplication application;
    application.CreateForm(M);
    application.CreateForm(B);
    application.CreateForm(A);
    QCOMPARE(application.MainForm(), static_cast<TForm*>(B));
}

void TstApplication::creationFailure_data() {
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("text");
    QTest::newRow("our exception") << 0 << "EInvalidOperation: Сбой при создании.";
    QTest::newRow("standard exception") << 1 << "std::runtime_error: bad state.";
    QTest::newRow("anything else") << 2 << "Unknown exception.";
}

void TstApplication::creationFailure() {
    QFETCH(int, failure);
    QFETCH(QString, text);
    g_failure = failure;
    TModalAnswerer answer;
    int code = -1;
    {
        TApplication application;
        application.CreateForm(A);
        application.CreateForm(M);
        application.CreateForm(F);
        application.CreateForm(B);  // not created: start-up stopped at F
        QCOMPARE(B, nullptr);
        QCOMPARE(F, nullptr);
        code = application.Run();
        QCOMPARE(A, nullptr);  // destroyed by Run
    }
    QCOMPARE(code, 1);
    QCOMPARE(g_shown, 0);
    QCOMPARE(answer.Seen().size(), 1);
    QCOMPARE(answer.Seen().at(0).Caption, QStringLiteral("Application Error"));
    QCOMPARE(answer.Seen().at(0).Text, text);
    QCOMPARE(answer.Seen().at(0).Icon, int(QMessageBox::Critical));
    QCOMPARE(g_log, (QStringList{"create A", "create M", "create F", "destroy F", "destroy M", "destroy A"}));
}

void TstApplication::closingMainFormEndsLoop() {
    TApplication application;
    application.CreateForm(A);
    application.CreateForm(B);
    bool mainShown = false;
    QTimer::singleShot(50, [&] {
        mainShown = A->isVisible() && TForm::ActiveForm() == A;
        B->Show();
        A->Hide();  // hiding the main form does not end the program
        QTimer::singleShot(30, [&] {
            QVERIFY(B->isVisible());
            A->close();  // its close box, as from the title bar
        });
    });
    QCOMPARE(application.Run(), 0);
    QVERIFY(mainShown);
    QCOMPARE(A, nullptr);
    QCOMPARE(g_log.mid(2), (QStringList{"destroy B", "destroy A"}));
}

void TstApplication::closingOtherFormDoesNot() {
    TApplication application;
    application.CreateForm(A);
    application.CreateForm(B);
    bool stillRunning = false;
    QTimer::singleShot(20, [&] {
        B->Show();
        B->close();
        QTimer::singleShot(30, [&] {
            stillRunning = !application.Terminated();
            A->Close();
        });
    });
    QCOMPARE(application.Run(), 0);
    QVERIFY(stillRunning);
}

QTEST_MAIN(TstApplication)
#include "tst_application.moc"
