// The deletion window through its real tabs, grids and navigators, opened from the unlocked context
// menu: the tab it opens on, deleting with the confirmation answered either way by the navigator's
// minus and by Ctrl+Delete, refusals by the database, tabs that offer nothing to delete, and what the
// pickers and lists on the same and on other data sets show afterwards.
#include <QMessageBox>
#include <QTest>
#include <memory>

#include "TDataSet.h"
#include "TField.h"
#include "TRunningProgram.h"
#include "TTestChecks.h"
#include "TWindowSteps.h"
#include "Unit15.h"
#include "Unit3.h"

using namespace TWindowSteps;

namespace {

// Rows that nothing refers to, after the demo rows: the last two of each tab can be deleted.
const QStringList kDeletableRows{
    QStringLiteral("INSERT INTO provider ([name], agentname, phone) VALUES "
                   "('ООО «Пробный склад»', 'Орлов Олег', '8-800-100-00-01'), "
                   "('ООО «Последний поставщик»', 'Зайцева Зоя', '8-800-100-00-02')"),
    QStringLiteral(
        "INSERT INTO manager ([name], phone) VALUES "
        "('Тестова Тамара Тимуровна', '8-900-000-00-01'), ('Пробов Пётр Петрович', '8-900-000-00-02')"),
    QStringLiteral(
        "INSERT INTO wares ([name], description, orderprice, iddiscount) VALUES "
        "('Пробный товар А', 'без поставок', '100', '1'), ('Пробный товар Б', 'без поставок', '200', '1')")};

// The table and key column behind each tab, in tab order.
const QStringList kTables{QStringLiteral("provider"), QStringLiteral("manager"), QStringLiteral("wares")};
const QStringList kKeys{QStringLiteral("Idprovider"), QStringLiteral("Idmanager"), QStringLiteral("Idwares")};

TDBNavigator* NavigatorOf(int tab) {
    return Form15->findChild<TDBNavigator*>(QStringLiteral("DBNavigator%1").arg(tab + 1));
}

QString KeyAt(TDataSet* set, int tab, int row) {
    return set->ValueAt(row, set->FieldByName(kKeys.at(tab))->Index()).toString();
}

QString CurrentKey(TDataSet* set, int tab) {
    return set->RecNo() < 0 ? QString() : KeyAt(set, tab, set->RecNo());
}

void Delete(TDBGrid* grid, int tab, const QString& way) {
    if (way == QLatin1String("navigator"))
        ClickButton(NavigatorOf(tab), TDBNavigator::nbDelete);
    else
        Key(grid, Qt::Key_Delete, Qt::ControlModifier);
}

void AddTabsAndWays() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("way");
}

}  // namespace

class TstDeletion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnGoodsThenOnTheLastTab();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void refusedDeleteKeepsTheRow_data();
    void refusedDeleteKeepsTheRow();
    void unusableTabOffersNoDelete_data();
    void unusableTabOffersNoDelete();
    void deletionReachesWindowsOnTheSameDataSet_data();
    void deletionReachesWindowsOnTheSameDataSet();

private:
    void StartProgram(const QStringList& statements, int boxes = 0);
    QString Count(int tab, const QString& key) const;
    std::unique_ptr<TRunningProgram> m_program;
};

void TstDeletion::StartProgram(const QStringList& statements, int boxes) {
    m_program.reset();
    m_program = std::make_unique<TRunningProgram>();
    m_program->Prepare(statements);
    m_program->Start(boxes);
    m_program->Boxes.ClearSeen();
    Unlock();
    QVERIFY(Form2->N10->isVisible());
}

// How many rows of the tab's table have the key, as the database says.
QString TstDeletion::Count(int tab, const QString& key) const {
    return m_program
        ->Column(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?").arg(kTables.at(tab), kKeys.at(tab)),
                 {key})
        .at(0);
}

void TstDeletion::init() {
    StartProgram(kDeletableRows);
}

void TstDeletion::cleanup() {
    m_program.reset();
}

// Each opening chooses the next tab (suppliers, then managers) and is closed by its close box.
void TstDeletion::opensOnGoodsThenOnTheLastTab() {
    QList<QWidget*> opened;
    for (int choose : {0, 1, -1})
        InModal(
            m_program->Boxes, [] { Form2->N10->trigger(); },
            [&](TForm*) {
                opened << Form15->PageControl1->currentWidget();
                if (choose >= 0)
                    ChooseTab(Form15->PageControl1, choose);
            },
            TCloseBy::CloseBox);
    QCOMPARE(opened, (QList<QWidget*>{Form15->TabSheet3, Form15->TabSheet1, Form15->TabSheet2}));
}

void TstDeletion::deleteAsksFirst_data() {
    AddTabsAndWays();
    QTest::addColumn<bool>("last");  // the last row, or the one before it
    QTest::addColumn<QString>("answer");
    for (int tab = 0; tab < 3; ++tab)
        for (const char* way : {"navigator", "Ctrl+Delete"})
            for (bool last : {false, true})
                for (const char* answer : {"OK", "Cancel"})
                    QTest::addRow("tab %d, %s, %s row, %s", tab + 1, way, last ? "last" : "second to last",
                                  answer)
                        << tab << way << last << answer;
}

void TstDeletion::deleteAsksFirst() {
    QFETCH(int, tab);
    QFETCH(QString, way);
    QFETCH(bool, last);
    QFETCH(QString, answer);
    TDataSet* set = nullptr;
    int rows = 0;
    QString chosen, next;
    InGrid(m_program->Boxes, PlaceOf(QStringLiteral("Form15:%1").arg(tab)), [&](TDBGrid* grid) {
        set = grid->DataSet();
        rows = set->RecordCount();
        Key(grid, Qt::Key_End, Qt::ControlModifier);
        if (!last)
            Key(grid, Qt::Key_Up);
        chosen = CurrentKey(set, tab);
        // The row after the deleted one, or the new last row.
        next = KeyAt(set, tab, last ? rows - 2 : rows - 1);
        m_program->Boxes.Press(answer);
        Delete(grid, tab, way);
    });
    QCOMPARE(m_program->Boxes.Seen().size(), 2);
    const TSeenModal& box = m_program->Boxes.Seen().at(1);
    QCOMPARE(box.Caption, QStringLiteral("Confirm"));
    QCOMPARE(box.Text, QStringLiteral("Delete record?"));
    QCOMPARE(box.Buttons, (QStringList{"OK", "Cancel"}));
    QCOMPARE(set->State(), dsBrowse);
    if (answer == QLatin1String("OK")) {
        QCOMPARE(set->RecordCount(), rows - 1);
        QCOMPARE(CurrentKey(set, tab), next);
        QCOMPARE(set->RecNo(), rows - 2);
        QCOMPARE(Count(tab, chosen), QStringLiteral("0"));
    } else {
        QCOMPARE(set->RecordCount(), rows);
        QCOMPARE(CurrentKey(set, tab), chosen);
        QCOMPARE(Count(tab, chosen), QStringLiteral("1"));
    }
}

void TstDeletion::refusedDeleteKeepsTheRow_data() {
    AddTabsAndWays();
    // The first row of each tab is referred to: a supplier's delivery periods, a manager's sales, a ware's
    // order lines.
    for (int tab = 0; tab < 3; ++tab)
        for (const char* way : {"navigator", "Ctrl+Delete"})
            QTest::addRow("tab %d, %s", tab + 1, way) << tab << way;
}

void TstDeletion::refusedDeleteKeepsTheRow() {
    QFETCH(int, tab);
    QFETCH(QString, way);
    TDataSet* set = nullptr;
    int rows = 0;
    QString first, afterNext;
    InGrid(m_program->Boxes, PlaceOf(QStringLiteral("Form15:%1").arg(tab)), [&](TDBGrid* grid) {
        set = grid->DataSet();
        rows = set->RecordCount();
        Key(grid, Qt::Key_Home, Qt::ControlModifier);
        first = CurrentKey(set, tab);
        m_program->Boxes.Press(QStringLiteral("OK"));
        m_program->Boxes.Press(QStringLiteral("OK"));
        Delete(grid, tab, way);
        TTestChecks::SettleEvents();
        QCOMPARE(CurrentKey(set, tab), first);
        // The window goes on working.
        ClickButton(NavigatorOf(tab), TDBNavigator::nbNext);
        afterNext = CurrentKey(set, tab);
    });
    QCOMPARE(m_program->Boxes.Seen().size(), 3);  // the window, the confirmation, the refusal
    const TSeenModal& refusal = m_program->Boxes.Seen().at(2);
    QCOMPARE(refusal.Icon, int(QMessageBox::Critical));
    QVERIFY2(refusal.Text.contains(QStringLiteral("FOREIGN KEY constraint failed")),
             qPrintable(refusal.Text));
    QCOMPARE(set->RecordCount(), rows);
    QCOMPARE(set->State(), dsBrowse);
    QCOMPARE(afterNext, KeyAt(set, tab, 1));
    QCOMPARE(Count(tab, first), QStringLiteral("1"));
}

void TstDeletion::unusableTabOffersNoDelete_data() {
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<int>("boxes");  // at start-up
    QTest::addColumn<QVector<int>>("enabled");
    QTest::newRow("empty table") << QStringList{"DELETE FROM saleitem", "DELETE FROM sale",
                                                "DELETE FROM manager"}
                                 << 0 << QVector<int>{TDBNavigator::nbRefresh};
    QTest::newRow("data set failed to open")
        << QStringList{"ALTER TABLE manager RENAME TO manager_gone"} << 1 << QVector<int>{};
}

// The managers tab over an empty table, and over a table that is gone, so that its data set failed to
// open at start-up.
void TstDeletion::unusableTabOffersNoDelete() {
    QFETCH(QStringList, statements);
    QFETCH(int, boxes);
    QFETCH(QVector<int>, enabled);
    StartProgram(statements, boxes);
    QVector<int> found;
    int gridRows = -1;
    InGrid(m_program->Boxes, PlaceOf(QStringLiteral("Form15:1")), [&](TDBGrid* grid) {
        gridRows = grid->Model()->rowCount();
        for (int b = 0; b < TDBNavigator::ButtonCount; ++b)
            if (NavigatorOf(1)->ButtonVisible(TDBNavigator::TNavigateBtn(b)) &&
                NavigatorOf(1)->ButtonEnabled(TDBNavigator::TNavigateBtn(b)))
                found << b;
        Key(grid, Qt::Key_Delete, Qt::ControlModifier);
        ClickButton(NavigatorOf(1), TDBNavigator::nbDelete);
        TTestChecks::SettleEvents();
    });
    QCOMPARE(gridRows, 0);
    QCOMPARE(found, enabled);
    QCOMPARE(m_program->Boxes.Seen().size(), 1);  // the window; no confirmation
}

void TstDeletion::deletionReachesWindowsOnTheSameDataSet_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("stillListed");
    QTest::newRow("ware, ware picker") << 2 << "Form5" << false;
    QTest::newRow("manager, manager picker") << 1 << "Form10" << false;
    QTest::newRow("supplier, supplier list") << 0 << "Form12" << false;
    QTest::newRow("supplier, supplier picker (a snapshot of its own)") << 0 << "Form6" << true;
}

// The row before the last is deleted; a window on the same data set then lacks it and stands on the row
// that followed it, as the deletion window does.
void TstDeletion::deletionReachesWindowsOnTheSameDataSet() {
    QFETCH(int, tab);
    QFETCH(QString, window);
    QFETCH(bool, stillListed);
    QString deleted, next;
    InGrid(m_program->Boxes, PlaceOf(QStringLiteral("Form15:%1").arg(tab)), [&](TDBGrid* grid) {
        Key(grid, Qt::Key_End, Qt::ControlModifier);
        Key(grid, Qt::Key_Up);
        deleted = CurrentKey(grid->DataSet(), tab);
        next = KeyAt(grid->DataSet(), tab, grid->DataSet()->RecNo() + 1);
        m_program->Boxes.Press(QStringLiteral("OK"));
        Key(grid, Qt::Key_Delete, Qt::ControlModifier);
    });
    QCOMPARE(Count(tab, deleted), QStringLiteral("0"));
    QStringList listed;
    QString current;
    InGrid(m_program->Boxes, PlaceOf(window), [&](TDBGrid* grid) {
        for (int row = 0; row < grid->Model()->rowCount(); ++row)
            listed << KeyAt(grid->DataSet(), tab, row);
        current = CurrentKey(grid->DataSet(), tab);
    });
    QCOMPARE(listed.contains(deleted), stillListed);
    QVERIFY(listed.contains(next));
    if (!stillListed)
        QCOMPARE(current, next);
    QCOMPARE(m_program->Boxes.Texts(), (QStringList{QString(), "Delete record?", QString()}));
}

QTEST_MAIN(TstDeletion)
#include "tst_deletion.moc"
