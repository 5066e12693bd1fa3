// The entry windows' fixture; see the header.
#include "TEntryWindowFixture.h"

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
#include "Unit2.h"

TEntryWindowFixture::TEntryWindowFixture() : m_program(std::make_unique<TRunningProgram>()) {}

TEntryWindowFixture::~TEntryWindowFixture() {
    // The program's instances go first, while the database they hold is still there.
    m_db.reset();
    m_program.reset();
}

bool TEntryWindowFixture::Start(const QStringList& before) {
    for (const QString& sql : before)
        Execute(sql);
    m_program->Start();
    if (QTest::currentTestFailed())
        return false;
    Type(Form2->LabeledEdit1, QStringLiteral("047"));
    QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
    [&] {
        QVERIFY2(Form2->Button2->isVisible() && Form2->Button3->isVisible(), "the main window stays locked");
    }();
    return !QTest::currentTestFailed();
}

QString TEntryWindowFixture::WhileOpen(QAbstractButton* opener, const std::function<void()>& steps) {
    QString opened;
    Boxes().Run([&opened, steps](QWidget* window) {
        opened = QString::fromLatin1(window->metaObject()->className());
        steps();
        window->close();
    });
    QTest::mouseClick(opener, Qt::LeftButton);
    [&] { QVERIFY2(Boxes().WaitAllAnswered(), "a window or box was not answered"); }();
    return opened;
}

QString TEntryWindowFixture::Pick(QAbstractButton* button, TDataSet* dataSet, const QString& column,
                                  const QVariant& value) {
    QString opened;
    Boxes().Run([&opened, dataSet, column, value](QWidget* picker) {
        opened = QString::fromLatin1(picker->metaObject()->className());
        if (!value.isNull()) {
            dataSet->First();
            while (!dataSet->Eof() && dataSet->FieldByName(column)->Value() != value)
                dataSet->Next();
            [&] {
                QVERIFY2(!dataSet->Eof() || dataSet->FieldByName(column)->Value() == value, "no such row");
            }();
        }
        picker->close();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    return opened;
}

void TEntryWindowFixture::Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->end(false);
    // Each character as the keyboard gives it, Cyrillic letters and apostrophes alike.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QVariant TEntryWindowFixture::Scalar(const QString& sql) {
    if (!m_db) {
        m_db = std::make_unique<TDbConnection>(TTestDatabase::ConnectionString());
        m_db->Open();
    }
    auto cursor = m_db->Select(sql);
    if (!cursor->Next())
        return {};
    return TRowStore::ToVariant(cursor->Value(0), QMetaType::UnknownType);
}

void TEntryWindowFixture::Execute(const QString& sql) {
    Scalar(QStringLiteral("select 1"));  // connects
    m_db->Execute(sql);
}

QStringList TEntryWindowFixture::TakeBoxes() {
    QStringList seen;
    for (const TSeenModal& modal : Boxes().Seen()) {
        if (modal.ClassName != QLatin1String("QMessageBox"))
            seen << modal.ClassName;
        else if (modal.Icon == QMessageBox::Critical)
            seen << QStringLiteral("error: ") + modal.Text;
        else
            seen << QStringLiteral("message: ") + modal.Text;
    }
    Boxes().ClearSeen();
    return seen;
}
