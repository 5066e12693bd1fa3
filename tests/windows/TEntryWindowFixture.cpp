// The entry windows' fixture; see the header.
#include "TEntryWindowFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "TBitBtn.h"
#include "TDataSet.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TField.h"
#include "TLabeledEdit.h"
#include "TRowStore.h"
#include "TTestChecks.h"
#include "Unit2.h"
#include "TWindowSteps.h"

TEntryWindowFixture::TEntryWindowFixture() : m_program(std::make_unique<TRunningProgram>()) {}

TEntryWindowFixture::~TEntryWindowFixture() {
    // Our own connection closes before the program, whose database folder goes with it.
    m_db.reset();
    m_program.reset();
}

bool TEntryWindowFixture::Start(const QStringList& before) {
    for (const QString& sql : before)
        Execute(sql);
    m_program->Start();
    if (QTest::currentTestFailed())
        return false;
    TWindowSteps::Unlock();
    [&] {
        QVERIFY2(Form2->Button2->isVisible() && Form2->Button3->isVisible(), "the main window stays locked");
    }();
    return !QTest::currentTestFailed();
}

void TEntryWindowFixture::WhileOpen(QAbstractButton* opener, const std::function<void()>& steps) {
    WhileOpenedBy([opener] { QTest::mouseClick(opener, Qt::LeftButton); }, steps);
}

void TEntryWindowFixture::WhileOpen(QAction* opener, const std::function<void()>& steps) {
    WhileOpenedBy([opener] { opener->trigger(); }, steps);
}

void TEntryWindowFixture::WhileOpenedBy(const std::function<void()>& open,
                                        const std::function<void()>& steps) {
    Boxes().Run([steps](QWidget* window) {
        steps();
        window->close();
    });
    open();
    [&] { QVERIFY2(Boxes().WaitAllAnswered(), "a window or box was not answered"); }();
}

void TEntryWindowFixture::Pick(QAbstractButton* button, TDataSet* dataSet, const QString& column,
                               const QVariant& choice) {
    if (!choice.isValid())
        return;
    const QVariant value = choice == NoMove() ? QVariant() : choice;
    Boxes().Run([dataSet, column, value](QWidget* picker) {
        if (!value.isNull()) {
            dataSet->First();
            while (!dataSet->Eof() && dataSet->FieldByName(column)->Value() != value)
                dataSet->Next();
            [&] {
                QVERIFY2(dataSet->FieldByName(column)->Value() == value, "the picker lists no such row");
            }();
        }
        picker->close();
    });
    QTest::mouseClick(button, Qt::LeftButton);
}

void TEntryWindowFixture::Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->end(false);
    TTestChecks::TypeText(edit, text);
}

TDbConnection& TEntryWindowFixture::Db() {
    if (!m_db) {
        m_db = std::make_unique<TDbConnection>(TTestDatabase::ConnectionString());
        m_db->Open();
    }
    return *m_db;
}

// A failure is the test's, recorded where it happened: the statements also run from inside a window's
// event loop, which no exception may cross.
QVariant TEntryWindowFixture::Scalar(const QString& sql) {
    QVariant value;
    const QString failure = TTestChecks::ThrownMessage([&] {
        auto cursor = Db().Select(sql);
        if (cursor->Next())
            value = TRowStore::ToVariant(cursor->Value(0), QMetaType::UnknownType);
    });
    [&] {
        QVERIFY2(failure == QLatin1String("<no exception>"),
                 qPrintable(sql + QStringLiteral(": ") + failure));
    }();
    return value;
}

int TEntryWindowFixture::Count(const QString& tableAndCondition) {
    return Scalar(QStringLiteral("select count(*) from ") + tableAndCondition).toInt();
}

void TEntryWindowFixture::Execute(const QString& sql) {
    const QString failure = TTestChecks::ThrownMessage([&] { Db().Execute(sql); });
    [&] {
        QVERIFY2(failure == QLatin1String("<no exception>"),
                 qPrintable(sql + QStringLiteral(": ") + failure));
    }();
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
