// A number typed into a grid cell, taken to the database by every way the program posts or leaves a
// row: the sort choice, the navigator, a key, a click, the focus leaving the grid, a window closed,
// the program's exit. The database holds exactly the value typed or, for a text that does not
// convert, is unchanged while the box says so and the cell keeps the text.
#include <QCheckBox>
#include <QTest>
#include <memory>

#include "TADOQuery.h"
#include "TADOTable.h"
#include "TDBGrid.h"
#include "TDBGridModel.h"
#include "TDBNavigator.h"
#include "TField.h"
#include "TLabeledEdit.h"
#include "TRadioButton.h"
#include "TRunningProgram.h"
#include "TTestChecks.h"
#include "TWindowSteps.h"
#include "Unit15.h"
#include "Unit2.h"
#include "Unit3.h"

using namespace TWindowSteps;

namespace {

int ColumnOf(TDBGrid* grid, const QString& field) {
    for (int c = 0; c < grid->Model()->columnCount(); ++c)
        if (grid->Model()->ColumnFieldName(c).compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

}  // namespace

class TstPostPaths : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_program = std::make_unique<TRunningProgram>();
        m_program->Start();
        // Active, so that the focus can leave the grid for another control.
        Form2->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form2));
        Unlock();
    }
    void cleanup() { m_program.reset(); }

    void typedNumberReachesTheDatabaseWholeOrNotAtAll_data();
    void typedNumberReachesTheDatabaseWholeOrNotAtAll();

private:
    // The goods list's "Цена закупа" of its first ware, or the deletion window's orderprice cell.
    void TypeIntoMainWindow(const QString& typed, const QString& path);
    void TypeIntoDeletionWindow(const QString& typed, const QString& path);
    QStringList TakeBoxes() {
        const QStringList texts = m_program->Boxes.Texts();
        m_program->Boxes.ClearSeen();
        return texts;
    }

    std::unique_ptr<TRunningProgram> m_program;
    QString m_ware;
    QStringList m_afterPath;  // the boxes the path itself showed
    bool m_cellKept = false;  // after the path: still editing, the editor open with the text typed
};

void TstPostPaths::typedNumberReachesTheDatabaseWholeOrNotAtAll_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");  // empty: refused, the database keeps its value
    const QStringList paths{"sort choice",  "navigator post",        "navigator next",
                            "Down key",     "click on a row",        "focus leaves",
                            "program exit", "deletion window: next", "deletion window: closed"};
    for (const QString& path : paths) {
        const auto row = [&](const char* name) {
            return &QTest::newRow(qPrintable(path + QStringLiteral(", ") + QLatin1String(name)));
        };
        *row("either separator") << path << "12,5"
                                 << "12.5";
        // Thousands written with a comma: a wrong number, not 12.5.
        *row("a comma and a point") << path << "12,500.50" << QString();
        // Its beginning is a number, the whole is not.
        *row("a number with a tail") << path << "77.7.7" << QString();
        // No keystroke made a number, so nothing ever reached the field.
        *row("never a number") << path << "-" << QString();
    }
}

void TstPostPaths::typedNumberReachesTheDatabaseWholeOrNotAtAll() {
    QFETCH(QString, path);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    const bool refused = stored.isEmpty();
    const QString price = QStringLiteral("SELECT orderprice FROM wares WHERE name = ?");
    if (path.startsWith(QLatin1String("deletion window")))
        TypeIntoDeletionWindow(typed, path);
    else
        TypeIntoMainWindow(typed, path);
    const QStringList before = m_program->Column(price, {m_ware});
    const QString refusal = QStringLiteral("'%1' is not a valid number.").arg(typed);
    // Each time the cell is left the refusal is shown: the deletion window's "next" and then its close.
    const int leavings = path == "program exit" ? 0 : path == "deletion window: next" ? 2 : 1;
    QStringList refusals;
    for (int i = 0; refused && i < leavings; ++i)
        refusals << refusal;
    QCOMPARE(m_afterPath.join(" | "), refusals.join(" | "));
    if (refused && leavings > 0)
        QVERIFY(m_cellKept);

    // At exit what is still pending is posted; a text that does not convert says so once more.
    m_program->Application.DestroyInstances();
    QCOMPARE(TakeBoxes(), refused ? QStringList{refusal} : QStringList());
    QCOMPARE(m_program->Column(price, {m_ware}), refused ? before : QStringList{stored});
}

void TstPostPaths::TypeIntoMainWindow(const QString& typed, const QString& path) {
    TDBGrid* grid = Form2->DBGrid1;
    TADOQuery* goods = DataModule3->ADOQuery1;
    grid->setFocus();
    grid->SetSelectedIndex(ColumnOf(grid, QStringLiteral("Цена закупа")));
    m_ware = goods->FieldByName(QStringLiteral("Наименование"))->AsString();
    Type(grid, typed);
    if (path == "sort choice")
        Form2->RadioButton1->click();  // the choice alone: a mouse press also moves the focus, "focus leaves"
    else if (path == "navigator post")
        ClickButton(Form2->DBNavigator1, TDBNavigator::nbPost);
    else if (path == "navigator next")
        ClickButton(Form2->DBNavigator1, TDBNavigator::nbNext);
    else if (path == "Down key")
        Key(grid, Qt::Key_Down);
    else if (path == "click on a row")
        ClickCell(grid, 2, 0);
    else if (path == "focus leaves")
        Form2->CheckBox1->setFocus();
    m_afterPath = TakeBoxes();
    m_cellKept = goods->State() == dsEdit && grid->EditorMode() && grid->InplaceEditor()->text() == typed;
}

void TstPostPaths::TypeIntoDeletionWindow(const QString& typed, const QString& path) {
    TADOTable* wares = DataModule3->ADOTable3;
    const bool closed = path.endsWith(QLatin1String("closed"));
    InGrid(
        m_program->Boxes, PlaceOf(QStringLiteral("Form15:2")),
        [&](TDBGrid* grid) {
            TakeBoxes();  // the window itself
            grid->SetSelectedIndex(ColumnOf(grid, QStringLiteral("orderprice")));
            m_ware = wares->FieldByName(QStringLiteral("name"))->AsString();
            Type(grid, typed);
            if (!closed)
                ClickButton(Form15->DBNavigator3, TDBNavigator::nbNext);
            m_afterPath = TakeBoxes();
            m_cellKept = closed || (wares->State() == dsEdit && grid->EditorMode() &&
                                    grid->InplaceEditor()->text() == typed);
        },
        TCloseBy::CloseBox);
    // Closing the window with the cell open writes the cell into its field; the exit posts it.
    m_afterPath += TakeBoxes();
    m_cellKept = m_cellKept && wares->State() == dsEdit && Form15->DBGrid3->InplaceEditor()->text() == typed;
}

QTEST_MAIN(TstPostPaths)
#include "tst_postpaths.moc"
