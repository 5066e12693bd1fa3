// The entry windows' fixture; see the header.
#include "TEntryWindowFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "TDataSet.h"
#include "TField.h"
#include "TTestChecks.h"
#include "TWindowSteps.h"
#include "Unit2.h"

TEntryWindowFixture::TEntryWindowFixture() : m_program(std::make_unique<TRunningProgram>()) {}

TEntryWindowFixture::~TEntryWindowFixture() = default;

bool TEntryWindowFixture::Start(const QStringList& before) {
    m_program->Prepare(before);
    m_program->Start();
    if (QTest::currentTestFailed())
        return false;
    TWindowSteps::Unlock();
    [&] {
        QVERIFY2(Form2->Button1->isVisible() && Form2->Button2->isVisible() && Form2->Button3->isVisible(),
                 "the main window stays locked");
    }();
    return !QTest::currentTestFailed();
}

QWidget* TEntryWindowFixture::WhileOpen(QAbstractButton* opener, const std::function<void()>& steps,
                                        QAbstractButton* closer) {
    return WhileOpenedBy([opener] { QTest::mouseClick(opener, Qt::LeftButton); }, steps, closer);
}

QWidget* TEntryWindowFixture::WhileOpen(QAction* opener, const std::function<void()>& steps,
                                        QAbstractButton* closer) {
    return WhileOpenedBy([opener] { opener->trigger(); }, steps, closer);
}

QWidget* TEntryWindowFixture::WhileOpenedBy(const std::function<void()>& open,
                                            const std::function<void()>& steps, QAbstractButton* closer) {
    // Held by the answer too: should nothing open, the answer outlives this call in the queue.
    struct TOutcome {
        QWidget* Opened = nullptr;
        bool CloserLeftItUp = false;
        QTimer Stuck;  // ends the modal state a closer failed to end, so the test goes on
    };
    const auto outcome = std::make_shared<TOutcome>();
    outcome->Stuck.setSingleShot(true);
    Boxes().Run([outcome, steps, closer](QWidget* window) {
        outcome->Opened = window;
        TWindowSteps::Activate(window);
        if (!QTest::currentTestFailed())
            steps();  // a failed check returns here, and the window is closed all the same
        if (!closer) {
            window->close();
            return;
        }
        // A button's modal result ends the window's loop once control returns to it.
        QObject::connect(&outcome->Stuck, &QTimer::timeout, window, [outcome, window] {
            outcome->CloserLeftItUp = window->isVisible();
            window->close();
        });
        outcome->Stuck.start(3000);
        QTest::mouseClick(closer, Qt::LeftButton);
    });
    open();
    outcome->Stuck.stop();
    [&] {
        QVERIFY2(Boxes().WaitAllAnswered(), "a window or box was not answered");
        if (outcome->CloserLeftItUp)
            QFAIL(qPrintable(closer->objectName() + QStringLiteral(" left the window up")));
    }();
    return outcome->Opened;
}

QString TEntryWindowFixture::Picked(QAbstractButton* button, const std::function<void()>& move) {
    const auto picker = std::make_shared<QString>();  // shared with an answer a silent button leaves queued
    Boxes().Run([picker, move](QWidget* window) {
        *picker = QString::fromLatin1(window->metaObject()->className());
        move();
        window->close();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    return *picker;
}

QString TEntryWindowFixture::Pick(QAbstractButton* button, TDataSet* dataSet, const QString& column,
                                  const QVariant& choice) {
    if (!choice.isValid())
        return {};
    const QVariant value = choice == NoMove() ? QVariant() : choice;
    return Picked(button, [dataSet, column, value] {
        if (value.isNull())
            return;
        dataSet->First();
        while (!dataSet->Eof() && dataSet->FieldByName(column)->Value() != value)
            dataSet->Next();
        QVERIFY2(dataSet->FieldByName(column)->Value() == value, "the picker lists no such row");
    });
}

QString TEntryWindowFixture::PickMoved(QAbstractButton* button, TDataSet* dataSet, int rows) {
    return Picked(button, [dataSet, rows] { dataSet->MoveBy(rows); });
}

void TEntryWindowFixture::Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->end(false);
    TTestChecks::TypeText(edit, text);
}

QStringList TEntryWindowFixture::TakeBoxes() {
    QStringList seen;
    for (const TSeenModal& modal : Boxes().Seen()) {
        if (modal.ClassName != QLatin1String("QMessageBox")) {
            seen << modal.ClassName;
        } else if (modal.Icon == QMessageBox::Critical) {
            seen << QStringLiteral("error");
            m_lastError = modal.Text;
        } else {
            seen << QStringLiteral("message: ") + modal.Text;
        }
    }
    Boxes().ClearSeen();
    return seen;
}

QStringList TEntryWindowFixture::TakeMessages() {
    QStringList messages;
    for (const QString& seen : TakeBoxes())
        if (seen == QLatin1String("error") || seen.startsWith(QLatin1String("message: ")))
            messages << seen;
    return messages;
}
