// Every window the program creates, checked against the component rows it was built from (Tab walking
// it in their order), and for a name on every control a user can reach.
#include <QTest>
#include <memory>

#include "TForm.h"
#include "TLayoutCheck.h"
#include "TRunningProgram.h"

class TstWindowLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void windowMatchesItsRows_data();
    void windowMatchesItsRows();
    void reachableControlsHaveNames_data();
    void reachableControlsHaveNames();

private:
    void AddWindowRows();
    TForm* Window(const QString& name) const;
    std::unique_ptr<TRunningProgram> m_program;
};

void TstWindowLayout::initTestCase() {
    m_program = std::make_unique<TRunningProgram>();
    m_program->Start();
}

void TstWindowLayout::cleanupTestCase() {
    m_program.reset();
}

void TstWindowLayout::AddWindowRows() {
    QTest::addColumn<QString>("window");
    int windows = 0;
    for (QObject* instance : m_program->Application.Instances())
        if (auto* form = qobject_cast<TForm*>(instance)) {
            QTest::newRow(qPrintable(form->objectName())) << form->objectName();
            ++windows;
        }
    QCOMPARE(windows, 14);  // Form1, Form2, Form4 ... Form15
}

TForm* TstWindowLayout::Window(const QString& name) const {
    for (QObject* instance : m_program->Application.Instances())
        if (instance->objectName() == name)
            return qobject_cast<TForm*>(instance);
    return nullptr;
}

void TstWindowLayout::windowMatchesItsRows_data() {
    AddWindowRows();
}

void TstWindowLayout::windowMatchesItsRows() {
    QFETCH(QString, window);
    TForm* form = Window(window);
    QVERIFY(form);
    TLayoutCheck::CheckAgainstRows(form);
    if (QTest::currentTestFailed())
        return;
    TLayoutCheck::CheckTabWalk(form);
}

void TstWindowLayout::reachableControlsHaveNames_data() {
    AddWindowRows();
}

void TstWindowLayout::reachableControlsHaveNames() {
    QFETCH(QString, window);
    TForm* form = Window(window);
    QVERIFY(form);
    const QStringList unnamed = TLayoutCheck::UnnamedReachableControls(form);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

QTEST_MAIN(TstWindowLayout)
#include "tst_windowlayout.moc"
