// The main window through its real widgets: the tab order, the password cases and
// the order of unlocking, the menus before and after, the deletion window reachable only from the
// context menu once unlocked, the shared handlers opening the same windows, the price list, the
// report document through a replaced desktop opener, and the ways out.
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <memory>
#include <QUrl>

#include "ProgramInstances.h"
#include "TADOQuery.h"
#include "TApplication.h"
#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TLabeledEdit.h"
#include "TModalAnswerer.h"
#include "TRunningProgram.h"
#include "TRadioButton.h"
#include "TShellOpen.h"
#include "TTestChecks.h"
#include "TWindowSteps.h"
#include "TTestDatabase.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

namespace {

QStringList VisibleTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* a : actions)
        if (a->isVisible())
            texts << a->text();
    return texts;
}

bool Unlocked() {
    return !Form2->LabeledEdit1->isVisible() && !Form2->BitBtn1->isVisible() &&
           Form2->DBNavigator1->isVisible() && Form2->N2->isVisible() && Form2->N3->isVisible() &&
           Form2->N4->isVisible() && Form2->N10->isVisible() && Form2->Button1->isVisible() &&
           Form2->Button2->isVisible() && Form2->Button3->isVisible() &&
           Form2->DBGrid1->Options().Value() == 3325;
}

bool Locked() {
    return Form2->LabeledEdit1->isVisible() && Form2->LabeledEdit1->EditLabel()->isVisible() &&
           Form2->BitBtn1->isVisible() && !Form2->DBNavigator1->isVisible() && !Form2->N2->isVisible() &&
           !Form2->N3->isVisible() && !Form2->N4->isVisible() && !Form2->N10->isVisible() &&
           !Form2->Button1->isVisible() && !Form2->Button2->isVisible() && !Form2->Button3->isVisible() &&
           Form2->DBGrid1->Options().Value() == 3324;
}

void TypePassword(const QString& text) {
    Form2->LabeledEdit1->setFocus();
    TTestChecks::TypeText(Form2->LabeledEdit1, text);
    QCOMPARE(Form2->LabeledEdit1->Text(), text);
}

void Unlock() {
    TWindowSteps::Unlock();
    QVERIFY(Unlocked());
}

// A right click on the goods tab, as the window system reports it.
void RightClickOnGoodsTab() {
    const QPoint at(250, 430);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, Form2->TabSheet1->mapToGlobal(at));
    QApplication::sendEvent(Form2->TabSheet1, &event);
}

// Records the unlocking steps as they happen: widgets shown or hidden, menu items changed.
class TStepRecorder : public QObject {
public:
    QStringList Steps;
    void Watch(QWidget* w) { w->installEventFilter(this); }
    void Watch(QAction* a) {
        connect(a, &QAction::changed, this,
                [this, a] { Steps << a->objectName() + (a->isVisible() ? "+" : "-"); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
            QString name = watched->objectName();
            if (auto* label = qobject_cast<QLabel*>(watched);
                label && label == Form2->LabeledEdit1->EditLabel())
                name = QStringLiteral("label");
            Steps << name + (event->type() == QEvent::Show ? "+" : "-");
            // The grid's options change only at the end.
            if (Form2->DBGrid1->Options().Value() != 3324)
                Steps << QStringLiteral("options early");
        }
        return false;
    }
};

}  // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void tabOrder();
    void menus();
    void wrongPassword_data();
    void wrongPassword();
    void enterDoesNotUnlock();
    void unlockingOrder();
    void lockedGridIsNotEditable();
    void deletionWindowOnlyFromContextMenu();
    void sharedHandlersOpenTheSameWindow_data();
    void sharedHandlersOpenTheSameWindow();
    void priceList_data();
    void priceList();
    void reportDocument();
    void waysOut_data();
    void waysOut();

private:
    std::unique_ptr<TRunningProgram> m_program;
};

void TstMainWindow::init() {
    m_program = std::make_unique<TRunningProgram>();
    m_program->Start();
}

void TstMainWindow::cleanup() {
    SetDesktopOpener({});
    m_program.reset();
}

void TstMainWindow::tabOrder() {
    QCOMPARE(Form2->PageControl1->count(), 3);
    QCOMPARE(Form2->PageControl1->tabText(0), QStringLiteral("Товары"));
    QCOMPARE(Form2->PageControl1->tabText(1), QStringLiteral("История заказов"));
    QCOMPARE(Form2->PageControl1->tabText(2), QStringLiteral("История продаж"));
    QCOMPARE(Form2->PageControl1->currentWidget(), Form2->TabSheet1);
    QCOMPARE(Form2->LabeledEdit1->echoMode(), QLineEdit::Normal);
    QCOMPARE(Form2->LabeledEdit1->EditLabel()->geometry().bottom() + 1 + 3, Form2->LabeledEdit1->y());
    QVERIFY(!Form2->BitBtn1->isDefault());
    QCOMPARE(Form2->DBGrid1->Options().Value(), 3324u);
    QCOMPARE(Form2->DBGrid1->DataSource(), DataModule3->DataSource1);
    QCOMPARE(Form2->DBNavigator1->DataSource(), DataModule3->DataSource1);
    QCOMPARE(Form2->DBNavigator1->VisibleButtons(),
             TDBNavigator::AllButtons & ~(1u << TDBNavigator::nbDelete));

    // The focus chain over the named controls, sale price before supplier inside the group box.
    const QList<QWidget*> named{Form2->DBGrid1,      Form2->DBNavigator1,  Form2->CheckBox1,
                                Form2->RadioButton1, Form2->RadioButton2,  Form2->RadioButton4,
                                Form2->RadioButton3, Form2->LabeledEdit1,  Form2->BitBtn1,
                                Form2->Button1,      Form2->Button2,       Form2->Button3,
                                Form2->Button4,      Form2->MonthCalendar1};
    QList<QWidget*> chain;
    QWidget* w = Form2->DBGrid1;
    do {
        if (named.contains(w) && !chain.contains(w))
            chain << w;
        w = w->nextInFocusChain();
    } while (w != Form2->DBGrid1);
    QCOMPARE(chain, named);
}

void TstMainWindow::menus() {
    QCOMPARE(VisibleTexts(Form2->MainMenu1->actions()), (QStringList{"Главная", "О программе", "Отчет"}));
    QCOMPARE(Form2->MainMenu1->actions().at(0)->menu(), Form2->N1);
    QCOMPARE(VisibleTexts(Form2->N1->actions()), (QStringList{"Печать прайса", "Выход"}));
    QCOMPARE(VisibleTexts(Form2->PopupMenu1->actions()), (QStringList{"О программе", "Выход"}));
    Unlock();
    QCOMPARE(VisibleTexts(Form2->N1->actions()),
             (QStringList{"Оформить продажу", "Оформить заказ", "Добавление", "Печать прайса", "Выход"}));
    QCOMPARE(VisibleTexts(Form2->PopupMenu1->actions()),
             (QStringList{"Удаление данных", "О программе", "Выход"}));
    QCOMPARE(VisibleTexts(Form2->MainMenu1->actions()), (QStringList{"Главная", "О программе", "Отчет"}));
}

void TstMainWindow::wrongPassword_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << "";
    QTest::newRow("trailing space") << "047 ";
    QTest::newRow("leading space") << " 047";
    QTest::newRow("cyrillic letter O") << "О47";
    QTest::newRow("longer") << "0470";
    QTest::newRow("apostrophe") << "047'";
}

void TstMainWindow::wrongPassword() {
    QFETCH(QString, typed);
    for (int attempt = 0; attempt < 2; ++attempt) {  // no limit on attempts
        TypePassword(typed);
        m_program->Boxes.ClearSeen();
        m_program->Boxes.Press(QStringLiteral("OK"));
        QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
        QCOMPARE(m_program->Boxes.Texts(), QStringList{"Не правильный пароль!"});
        QCOMPARE(m_program->Boxes.Seen().at(0).Caption, m_program->Application.Title());
        QCOMPARE(m_program->Boxes.Seen().at(0).Buttons, QStringList{"OK"});
        QCOMPARE(Form2->LabeledEdit1->Text(), QString());
        QVERIFY(Locked());
    }
}

void TstMainWindow::enterDoesNotUnlock() {
    TypePassword(QStringLiteral("047"));
    QTest::keyClick(Form2->LabeledEdit1, Qt::Key_Return);
    QTest::keyClick(Form2->LabeledEdit1, Qt::Key_Enter);
    QVERIFY(Locked());
    QCOMPARE(Form2->LabeledEdit1->Text(), QStringLiteral("047"));
    QCOMPARE(m_program->Boxes.Texts(), QStringList());
    QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
    QVERIFY(Unlocked());
    QCOMPARE(Form2->LabeledEdit1->Text(), QStringLiteral("047"));  // hidden, not cleared
    QCOMPARE(m_program->Boxes.Texts(), QStringList());
}

void TstMainWindow::unlockingOrder() {
    TStepRecorder steps;
    for (QWidget* w :
         {static_cast<QWidget*>(Form2->LabeledEdit1), static_cast<QWidget*>(Form2->LabeledEdit1->EditLabel()),
          static_cast<QWidget*>(Form2->BitBtn1), static_cast<QWidget*>(Form2->DBNavigator1),
          static_cast<QWidget*>(Form2->Button1), static_cast<QWidget*>(Form2->Button2),
          static_cast<QWidget*>(Form2->Button3)})
        steps.Watch(w);
    for (QAction* a : {Form2->N2, Form2->N3, Form2->N4, Form2->N10})
        steps.Watch(a);
    Unlock();
    QCOMPARE(steps.Steps, (QStringList{"LabeledEdit1-", "label-", "BitBtn1-", "DBNavigator1+", "N2+", "N3+",
                                       "N4+", "N10+", "Button1+", "Button2+", "Button3+"}));
}

void TstMainWindow::lockedGridIsNotEditable() {
    QVERIFY(!Form2->DBGrid1->Options().Contains(dgEditing));
    Form2->DBGrid1->setFocus();
    QTest::keyClick(Form2->DBGrid1, Qt::Key_F2);
    QTest::keyClicks(Form2->DBGrid1, QStringLiteral("x"));
    QVERIFY(!Form2->DBGrid1->EditorMode());
    QCOMPARE(DataModule3->ADOQuery1->State(), dsBrowse);
    // The delete keystroke does not depend on dgEditing but on the data set: the goods list is a join,
    // which takes no deletions, so nothing is asked and nothing goes.
    QVERIFY(!DataModule3->ADOQuery1->CanDelete());
    const int rows = DataModule3->ADOQuery1->RecordCount();
    m_program->Boxes.Press(QStringLiteral("Cancel"));
    QTest::keyClick(Form2->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
    TTestChecks::SettleEvents();
    QCOMPARE(m_program->Boxes.Texts(), QStringList());
    QCOMPARE(DataModule3->ADOQuery1->RecordCount(), rows);
    Unlock();
    QVERIFY(Form2->DBGrid1->Options().Contains(dgEditing));
}

void TstMainWindow::deletionWindowOnlyFromContextMenu() {
    // Locked: the context menu's first item is the About window.
    m_program->Boxes.Close();
    RightClickOnGoodsTab();
    QTRY_VERIFY(Form2->PopupMenu1->isVisible());
    QTest::keyClick(Form2->PopupMenu1, Qt::Key_Down);
    QTest::keyClick(Form2->PopupMenu1, Qt::Key_Return);
    QVERIFY(m_program->Boxes.WaitAllAnswered());
    QCOMPARE(m_program->Boxes.Seen().size(), 1);
    QCOMPARE(m_program->Boxes.Seen().at(0).ClassName, QStringLiteral("TForm11"));

    Unlock();
    // No item of the menu bar leads to the deletion window.
    m_program->Boxes.ClearSeen();
    for (QAction* a : Form2->N1->actions() + Form2->MainMenu1->actions()) {
        if (!a->isVisible() || a->menu() || a == Form2->N5 || a == Form2->N6 || a == Form2->N11)
            continue;
        m_program->Boxes.Close();
        a->trigger();
        QVERIFY(m_program->Boxes.WaitAllAnswered());
    }
    QCOMPARE(m_program->Boxes.Seen().size(), 4);
    for (const TSeenModal& seen : m_program->Boxes.Seen())
        QVERIFY2(seen.ClassName != QStringLiteral("TForm15"), qPrintable(seen.ClassName));
    // The context menu's first item now is.
    m_program->Boxes.ClearSeen();
    m_program->Boxes.Close();
    RightClickOnGoodsTab();
    QTRY_VERIFY(Form2->PopupMenu1->isVisible());
    QTest::keyClick(Form2->PopupMenu1, Qt::Key_Down);
    QTest::keyClick(Form2->PopupMenu1, Qt::Key_Return);
    QVERIFY(m_program->Boxes.WaitAllAnswered());
    QCOMPARE(m_program->Boxes.Seen().size(), 1);
    QCOMPARE(m_program->Boxes.Seen().at(0).ClassName, QStringLiteral("TForm15"));
}

void TstMainWindow::sharedHandlersOpenTheSameWindow_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("window");
    QTest::newRow("Button1") << "Button1"
                             << "TForm4";
    QTest::newRow("N4") << "N4"
                        << "TForm4";
    QTest::newRow("Button2") << "Button2"
                             << "TForm7";
    QTest::newRow("N3") << "N3"
                        << "TForm7";
    QTest::newRow("Button3") << "Button3"
                             << "TForm9";
    QTest::newRow("N2") << "N2"
                        << "TForm9";
    QTest::newRow("N7") << "N7"
                        << "TForm11";
    QTest::newRow("N9") << "N9"
                        << "TForm11";
    QTest::newRow("N10") << "N10"
                         << "TForm15";
}

void TstMainWindow::sharedHandlersOpenTheSameWindow() {
    QFETCH(QString, control);
    QFETCH(QString, window);
    Unlock();
    bool modal = false;
    bool mainStillShown = false;
    m_program->Boxes.Run([&](QWidget* w) {
        modal = QApplication::activeModalWidget() == w && w->isModal();
        mainStillShown = Form2->isVisible();
        static_cast<TForm*>(w)->Close();
    });
    if (auto* button = Form2->findChild<QPushButton*>(control))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        Form2->findChild<QAction*>(control)->trigger();
    // The handler has returned: the window was closed, which only hid it.
    QCOMPARE(m_program->Boxes.Seen().size(), 1);
    QCOMPARE(m_program->Boxes.Seen().at(0).ClassName, window);
    QVERIFY(modal);
    QVERIFY(mainStillShown);
    TForm* opened = nullptr;
    for (QObject* instance : m_program->Application.Instances())
        if (instance->metaObject()->className() == window)
            opened = static_cast<TForm*>(instance);
    QVERIFY(opened);
    QVERIFY(!opened->isVisible());
    QVERIFY(!opened->Modal());
}

void TstMainWindow::priceList_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("Button4") << "Button4";
    QTest::newRow("N6") << "N6";
}

void TstMainWindow::priceList() {
    QFETCH(QString, control);
    m_program->Db.InstallSharedFiles();
    m_program->Boxes.Press(QStringLiteral("Cancel"));
    if (control == QLatin1String("Button4"))
        QTest::mouseClick(Form2->Button4, Qt::LeftButton);  // works before unlocking
    else
        Form2->N6->trigger();
    QVERIFY(m_program->Boxes.WaitAllAnswered());
    QCOMPARE(m_program->Boxes.Seen().size(), 1);
    QCOMPARE(m_program->Boxes.Seen().at(0).Caption, QStringLiteral("Output Options"));
}

void TstMainWindow::reportDocument() {
    m_program->Db.InstallSharedFiles();
    QList<QUrl> opened;
    SetDesktopOpener([&opened](const QUrl& url) {
        opened << url;
        return false;  // the desktop could not open it: the program says nothing
    });
    Form2->N11->trigger();
    QCOMPARE(opened.size(), 1);
    const QString expected =
        m_program->Db.DataHome() + QStringLiteral("/zirt/drive_c/ZIRT/kelvor/Курсовая по ВМИП.doc");
    QCOMPARE(opened.at(0).toLocalFile(), expected);
    QVERIFY(QFile::exists(expected));
    QCOMPARE(m_program->Boxes.Texts(), QStringList());
}

void TstMainWindow::waysOut_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("N5") << "N5";
    QTest::newRow("N8") << "N8";
    QTest::newRow("close box") << "close box";
}

void TstMainWindow::waysOut() {
    QFETCH(QString, way);
    Form1->Show();
    QVERIFY(!m_program->Application.Terminated());
    if (way == QLatin1String("close box"))
        Form2->close();
    else
        Form2->findChild<QAction*>(way)->trigger();
    QVERIFY(m_program->Application.Terminated());
    QVERIFY(!Form1->isVisible());
    QCOMPARE(m_program->Boxes.Texts(), QStringList());
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
