// The grid over a real table: the option values, the model under Qt's model tester, the column rules,
// the indicator, the keys and editing rules, refusals by the database and leaving the grid.
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "TControlsFixture.h"
#include "TDBGrid.h"
#include "TDBGridIndicator.h"
#include "TDBGridModel.h"
#include "TDataSet.h"
#include "TField.h"
#include "TGridFixture.h"
#include "TModalAnswerer.h"
#include "TTestChecks.h"

Q_DECLARE_METATYPE(Qt::Key)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class TstDBGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modelPassesTheTester();
    void columnsOfEveryField();
    void explicitColumnsKeepWidths();
    void indicatorMarkers();
    void escRestoresThenLeavesEditing();
    void downOnLastRowThenUp();
    void downOnUntouchedNewRowDoesNothing();
    void insertedRowLeftUntouchedGoes();
    void shiftTabOnANewFirstRow_data();
    void shiftTabOnANewFirstRow();
    void keys_data();
    void keys();
    void enterWritesWithoutPosting();
    void typingIntoANumberColumn_data();
    void typingIntoANumberColumn();
    void refusedPostKeepsTypedValues();
    void readOnlyGridTypingAndInsert_data();
    void readOnlyGridTypingAndInsert();
    void ctrlDelete_data();
    void ctrlDelete();
    void refusedDeleteKeepsRow();
    void ctrlDeleteOnEmptyDoesNothing();
    void leavingTheGrid_data();
    void leavingTheGrid();
    void clickMakesRowCurrent();
    void keysFollowMovedColumns();
    void textTypedAsIs_data();
    void textTypedAsIs();
    void refusedInsertKeepsTheNewRow();
    void closedDataSetEmptiesGrid();
    void escLeavesTheRowAsItWas_data();
    void escLeavesTheRowAsItWas();
    void editorTextIsWrittenAsTextIsSet_data();
    void editorTextIsWrittenAsTextIsSet();
    void joinTakesNoNewRowAndNoDelete_data();
    void joinTakesNoNewRowAndNoDelete();
    void joinRowsStayEditable();
    void notFiniteNumberIsRefused_data();
    void notFiniteNumberIsRefused();
    void longTextOpenedAndLeftStaysWhole_data();
    void longTextOpenedAndLeftStaysWhole();
};

void TstDBGrid::modelPassesTheTester() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QAbstractItemModelTester tester(grid->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    f.Table->Open();
    QCOMPARE(grid->Model()->rowCount(), 8);
    f.Table->Last();
    f.Table->Append();
    QCOMPARE(grid->Model()->rowCount(), 9);
    f.Table->Cancel();
    QCOMPARE(grid->Model()->rowCount(), 8);
    f.Table->First();
    f.Table->Next();
    f.Table->Insert();
    QCOMPARE(grid->Model()->rowCount(), 9);
    f.Table->FieldByName(QStringLiteral("percent"))->SetAsString(QStringLiteral("12"));
    f.Table->Post();
    QCOMPARE(grid->Model()->rowCount(), 9);
    f.Table->Last();
    f.Table->Delete();
    QCOMPARE(grid->Model()->rowCount(), 8);
    f.Table->Refresh();
    f.Table->SetFilter(QStringLiteral("percent = '5'"));
    f.Table->SetFiltered(true);
    QCOMPARE(grid->Model()->rowCount(), 1);
    f.Table->SetFiltered(false);
    QCOMPARE(grid->Model()->rowCount(), 8);
    f.Table->Close();
    QCOMPARE(grid->Model()->rowCount(), 0);
    f.Table->Open();
    QCOMPARE(grid->Model()->columnCount(), 2);
}

void TstDBGrid::columnsOfEveryField() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    f.Table->Open();
    QCOMPARE(grid->Model()->columnCount(), f.Table->FieldCount());
    QCOMPARE(grid->Model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("percent"));
    // Display width of a number column (12 digits) in digit widths plus 4; the title is narrower.
    const int digit = QFontMetrics(grid->font()).horizontalAdvance(QLatin1Char('0'));
    QCOMPARE(grid->horizontalHeader()->sectionSize(1), 12 * digit + 4);
    QCOMPARE(grid->horizontalHeader()->sectionSize(0),
             qMax(10 * digit + 4,
                  QFontMetrics(grid->TitleFont()).horizontalAdvance(QStringLiteral("Iddiscount")) + 4));
    const int original = grid->horizontalHeader()->sectionSize(1);
    grid->horizontalHeader()->resizeSection(1, 150);
    f.Table->Refresh();  // rows re-read: the user's width stays
    QCOMPARE(grid->horizontalHeader()->sectionSize(1), 150);
    f.Table->Close();
    f.Table->Open();  // re-opened: the columns are rebuilt and the width is lost
    QCOMPARE(grid->horizontalHeader()->sectionSize(1), original);
}

void TstDBGrid::explicitColumnsKeepWidths() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    grid->SetColumns({{QStringLiteral("PERCENT"), 0, true},
                      {QStringLiteral("nosuch"), 0, true},
                      {QStringLiteral("Iddiscount"), 33, true}});
    f.Table->Open();
    QCOMPARE(grid->Model()->columnCount(), 3);
    QCOMPARE(grid->Model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("percent"));
    // A column whose field is missing: titled with its name, empty cells, no error.
    QCOMPARE(grid->Model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("nosuch"));
    QCOMPARE(f.Cell(0, 1), QString());
    QCOMPARE(f.Cell(1, 0), QStringLiteral("3"));
    QCOMPARE(grid->horizontalHeader()->sectionSize(2), 33);
    const int digit = QFontMetrics(grid->font()).horizontalAdvance(QLatin1Char('0'));
    QCOMPARE(grid->horizontalHeader()->sectionSize(0), 12 * digit + 4);
    grid->horizontalHeader()->resizeSection(0, 140);
    grid->horizontalHeader()->moveSection(2, 0);
    f.Table->Close();
    f.Table->Open();
    QCOMPARE(grid->horizontalHeader()->sectionSize(0), 140);
    QCOMPARE(grid->horizontalHeader()->visualIndex(2), 0);
}

void TstDBGrid::indicatorMarkers() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    f.Table->Next();
    TDBGridIndicator* ind = grid->Indicator();
    QCOMPARE(ind->MarkerAt(0), TDBGridIndicator::NoMarker);
    QCOMPARE(ind->MarkerAt(1), TDBGridIndicator::BrowseMarker);
    grid->SetSelectedIndex(1);
    QTest::keyClick(grid, Qt::Key_4);
    QCOMPARE(f.Table->State(), dsEdit);
    QCOMPARE(ind->MarkerAt(1), TDBGridIndicator::EditMarker);
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Escape);
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Escape);
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(f.Table->State(), dsInsert);
    QCOMPARE(f.Table->RecNo(), 1);
    QCOMPARE(ind->MarkerAt(1), TDBGridIndicator::InsertMarker);
    QVERIFY(ind->isVisible());
    grid->SetOptions(TDBGridOptions::Default() - dgIndicator);
    QVERIFY(!ind->isVisible());
}

void TstDBGrid::escRestoresThenLeavesEditing() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    grid->SetSelectedIndex(1);
    f.Table->Next();  // percent 3
    TGridFixture::Type(grid, QStringLiteral("47"));
    QVERIFY(grid->EditorMode());
    QCOMPARE(grid->InplaceEditor()->text(), QStringLiteral("47"));
    QCOMPARE(f.Table->State(), dsEdit);
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Escape);
    QCOMPARE(grid->InplaceEditor()->text(), QStringLiteral("3"));
    QCOMPARE(f.Table->State(), dsEdit);
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Escape);
    QCOMPARE(f.Table->State(), dsBrowse);
    QVERIFY(!grid->EditorMode());
    QCOMPARE(f.Cell(1, 1), QStringLiteral("3"));
}

void TstDBGrid::downOnLastRowThenUp() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    TModalAnswerer answer;
    QVERIFY(f.Show());
    f.Table->Last();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(f.Table->State(), dsInsert);
    QCOMPARE(f.Table->RecordCount(), 9);
    QCOMPARE(f.Table->RecNo(), 8);
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(f.Table->State(), dsBrowse);
    QCOMPARE(f.Table->RecordCount(), 8);
    QCOMPARE(grid->Model()->rowCount(), 8);
    // Back on the row that was last, not one above it.
    QCOMPARE(f.Table->RecNo(), 7);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("25"));
    TTestChecks::SettleEvents();
    QVERIFY(answer.Seen().isEmpty());
}

void TstDBGrid::downOnUntouchedNewRowDoesNothing() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Tab);
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(f.Table->RecordCount(), 9);
    QCOMPARE(f.Table->State(), dsInsert);
    // Once typed into, Down posts it and appends the next.
    grid->SetSelectedIndex(1);
    TGridFixture::Type(grid, QStringLiteral("30"));
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Down);
    QCOMPARE(f.Table->State(), dsInsert);
    QCOMPARE(f.Table->RecordCount(), 10);
    QCOMPARE(f.Cell(8, 1), QStringLiteral("30"));
}

// Shift+Tab before the first column of a new first row: an untouched one goes, as Up takes it away;
// one with a typed cell is a row like any other, with no row before it, so nothing happens.
void TstDBGrid::shiftTabOnANewFirstRow_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("rows");
    QTest::newRow("untouched: removed") << QString() << 8;
    QTest::newRow("typed into: kept, the text still in its cell") << "30" << 9;
}

void TstDBGrid::shiftTabOnANewFirstRow() {
    QFETCH(QString, typed);
    QFETCH(int, rows);
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(f.Table->RecNo(), 0);
    if (!typed.isEmpty())
        TGridFixture::Type(grid, typed);
    f.Key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(f.Table->RecordCount(), rows);
    QCOMPARE(f.Table->State(), typed.isEmpty() ? dsBrowse : dsInsert);
    QCOMPARE(grid->EditorMode() ? grid->InplaceEditor()->text() : QString(), typed);
}

void TstDBGrid::insertedRowLeftUntouchedGoes() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    f.Table->MoveBy(3);  // percent 7
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(f.Table->RecNo(), 3);
    QCOMPARE(f.Table->RecordCount(), 9);
    QTest::keyClick(grid, Qt::Key_Down);
    // The new row is gone and the row it stood before is current.
    QCOMPARE(f.Table->RecordCount(), 8);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("7"));
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("5"));
}

void TstDBGrid::keys_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("edge");  // "first" or "last" when the move reached the beginning or the end
    // From row 2, column 0 of the eight discount rows. The beginning and the end are reached as the
    // navigator reaches them: by the first and last row moves, or a move that cannot go as far.
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("Down") << Qt::Key_Down << none << 3 << 0 << QString();
    QTest::newRow("Up") << Qt::Key_Up << none << 1 << 0 << QString();
    QTest::newRow("Right") << Qt::Key_Right << none << 2 << 1 << QString();
    QTest::newRow("Left at the first column") << Qt::Key_Left << none << 2 << 0 << QString();
    QTest::newRow("End: last column") << Qt::Key_End << none << 2 << 1 << QString();
    QTest::newRow("Ctrl+End: last row") << Qt::Key_End << ctrl << 7 << 0 << QString("last");
    QTest::newRow("Ctrl+Home: first row") << Qt::Key_Home << ctrl << 0 << 0 << QString("first");
    QTest::newRow("Ctrl+Right: last column") << Qt::Key_Right << ctrl << 2 << 1 << QString();
    QTest::newRow("PgDn: a page, at most the last row")
        << Qt::Key_PageDown << none << 7 << 0 << QString("last");
    QTest::newRow("PgUp") << Qt::Key_PageUp << none << 0 << 0 << QString("first");
    QTest::newRow("Ctrl+PgUp: first visible") << Qt::Key_PageUp << ctrl << 0 << 0 << QString();
    QTest::newRow("Ctrl+Down: last visible") << Qt::Key_Down << ctrl << 7 << 0 << QString();
    QTest::newRow("Ctrl+Up: first visible") << Qt::Key_Up << ctrl << 0 << 0 << QString();
    QTest::newRow("Tab: next column") << Qt::Key_Tab << none << 2 << 1 << QString();
    QTest::newRow("Shift+Tab before the first column: previous row's last")
        << Qt::Key_Backtab << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1 << 1 << QString();
    QTest::newRow("Alt+Tab: nothing")
        << Qt::Key_Tab << Qt::KeyboardModifiers(Qt::AltModifier) << 2 << 0 << QString();
}

void TstDBGrid::keys() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, edge);
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    f.Table->MoveBy(2);
    QTest::keyClick(grid, key, modifiers);
    QCOMPARE(f.Table->RecNo(), row);
    QCOMPARE(grid->SelectedIndex(), column);
    QCOMPARE(f.Table->State(), dsBrowse);
    QCOMPARE(grid->currentIndex().row(), row);
    QCOMPARE(f.Table->Bof(), edge == "first");
    QCOMPARE(f.Table->Eof(), edge == "last");
}

void TstDBGrid::enterWritesWithoutPosting() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    grid->SetSelectedIndex(1);
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(grid->EditorMode());
    QCOMPARE(grid->InplaceEditor()->text(), QStringLiteral("0"));
    TGridFixture::Type(grid->InplaceEditor(), QStringLiteral("1"));
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Return);
    QVERIFY(!grid->EditorMode());
    QCOMPARE(f.Table->State(), dsEdit);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("1"));
    // Tab at the last column goes on to the next row as Down does: the change is posted.
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(f.Table->State(), dsBrowse);
    QCOMPARE(f.Table->RecNo(), 1);
    QCOMPARE(grid->SelectedIndex(), 0);
    QCOMPARE(f.Cell(0, 1), QStringLiteral("1"));
    f.Table->Close();
    f.Table->Open();
    QCOMPARE(f.Cell(0, 1), QStringLiteral("1"));
}

void TstDBGrid::typingIntoANumberColumn_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("editing");
    QTest::newRow("letter") << "a" << false;
    QTest::newRow("cyrillic letter") << QStringLiteral("ж") << false;
    QTest::newRow("apostrophe") << "'" << false;
    QTest::newRow("emoji") << QStringLiteral("\U0001F600") << false;
    QTest::newRow("digit") << "7" << true;
}

void TstDBGrid::typingIntoANumberColumn() {
    QFETCH(QString, typed);
    QFETCH(bool, editing);
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    grid->SetSelectedIndex(1);
    TGridFixture::Type(grid, typed);
    QCOMPARE(grid->EditorMode(), editing);
    QCOMPARE(f.Table->State(), editing ? dsEdit : dsBrowse);
    if (editing) {
        // Inside the editor too, a letter (of any plane) does not get into a number.
        TGridFixture::Type(grid->InplaceEditor(), QStringLiteral("x\U0001F600\U00020000"));
        QCOMPARE(grid->InplaceEditor()->text(), typed);
    }
}

void TstDBGrid::refusedPostKeepsTypedValues() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    TModalAnswerer answer;
    QVERIFY(f.Show());
    grid->SetSelectedIndex(1);
    TGridFixture::Type(grid, QStringLiteral("150"));
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Down);
    QVERIFY(answer.WaitAllAnswered());
    QCOMPARE(answer.Texts().size(), 1);
    QCOMPARE(answer.Seen().at(0).Icon, int(QMessageBox::Critical));
    QVERIFY2(answer.Seen().at(0).Text.contains(QStringLiteral("CHECK"), Qt::CaseInsensitive),
             qPrintable(answer.Seen().at(0).Text));
    QCOMPARE(f.Table->State(), dsEdit);
    QCOMPARE(f.Table->RecNo(), 0);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("150"));
    QCOMPARE(f.Cell(0, 1), QStringLiteral("150"));
    // The grid goes on: a corrected value posts.
    QTest::keyClick(grid, Qt::Key_F2);
    grid->InplaceEditor()->selectAll();
    TGridFixture::Type(grid->InplaceEditor(), QStringLiteral("50"));
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Down);
    QCOMPARE(f.Table->State(), dsBrowse);
    QCOMPARE(f.Table->RecNo(), 1);
    QCOMPARE(f.Cell(0, 1), QStringLiteral("50"));
}

void TstDBGrid::readOnlyGridTypingAndInsert_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<unsigned>("options");
    QTest::newRow("read-only options") << "" << TDBGridOptions::ReadOnly().Value();
    // Computed columns name no base column, so nothing of the result can be written back.
    QTest::newRow("a result that cannot be written back")
        << "SELECT [percent] * 2 AS twice, count(*) AS n FROM discount GROUP BY [percent]"
        << TDBGridOptions::Default().Value();
}

void TstDBGrid::readOnlyGridTypingAndInsert() {
    QFETCH(QString, statement);
    QFETCH(unsigned, options);
    TGridFixture f(QStringLiteral("discount"), TDBGridOptions::FromValue(options));
    if (!statement.isEmpty())
        f.ShowQuery(statement);
    TDBGrid* grid = f.Grid;
    TModalAnswerer answer;
    QVERIFY(f.Show());
    TDataSet* set = f.DataSet();
    QCOMPARE(set->CanModify(), statement.isEmpty());
    const int rows = set->RecordCount();
    grid->SetSelectedIndex(1);
    TGridFixture::Type(grid, QStringLiteral("9"));
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClick(grid, Qt::Key_Return);
    set->Last();
    QTest::keyClick(grid, Qt::Key_Down);
    TTestChecks::SettleEvents();
    QCOMPARE(set->State(), dsBrowse);
    QCOMPARE(set->RecordCount(), rows);
    QVERIFY(!grid->EditorMode());
    QVERIFY(answer.Seen().isEmpty());
}

void TstDBGrid::ctrlDelete_data() {
    QTest::addColumn<unsigned>("options");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("rowsLeft");
    QTest::newRow("default, OK") << TDBGridOptions::Default().Value() << "OK" << 7;
    QTest::newRow("default, Cancel") << TDBGridOptions::Default().Value() << "Cancel" << 8;
    QTest::newRow("read-only options, OK") << TDBGridOptions::ReadOnly().Value() << "OK" << 7;
    QTest::newRow("read-only options, Cancel") << TDBGridOptions::ReadOnly().Value() << "Cancel" << 8;
    QTest::newRow("without confirmation") << (TDBGridOptions::Default() - dgConfirmDelete).Value() << "" << 7;
}

void TstDBGrid::ctrlDelete() {
    QFETCH(unsigned, options);
    QFETCH(QString, answer);
    QFETCH(int, rowsLeft);
    TGridFixture f(QStringLiteral("discount"), TDBGridOptions::FromValue(options));
    TDBGrid* grid = f.Grid;
    TModalAnswerer answerer;
    if (!answer.isEmpty())
        answerer.Press(answer);
    QVERIFY(f.Show());
    f.Table->MoveBy(6);  // 20 %, referred to by nothing
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(answerer.WaitAllAnswered());
    QCOMPARE(answerer.Seen().size(), answer.isEmpty() ? 0 : 1);
    if (!answer.isEmpty()) {
        QCOMPARE(answerer.Seen().at(0).Caption, QStringLiteral("Confirm"));
        QCOMPARE(answerer.Seen().at(0).Text, QStringLiteral("Delete record?"));
    }
    QCOMPARE(f.Table->RecordCount(), rowsLeft);
    QCOMPARE(grid->Model()->rowCount(), rowsLeft);
    QCOMPARE(f.Table->RecNo(), 6);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(),
             rowsLeft == 7 ? QStringLiteral("25") : QStringLiteral("20"));
}

void TstDBGrid::refusedDeleteKeepsRow() {
    TGridFixture f(QStringLiteral("discount"), TDBGridOptions::ReadOnly());
    TDBGrid* grid = f.Grid;
    TModalAnswerer answer;
    answer.Press(QStringLiteral("OK"));
    QVERIFY(f.Show());
    f.Table->MoveBy(2);  // 5 %, which wares refer to
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(answer.WaitAllAnswered());
    QTRY_COMPARE(answer.Seen().size(), 2);
    QCOMPARE(answer.Seen().at(1).Icon, int(QMessageBox::Critical));
    QVERIFY(!answer.Seen().at(1).Text.isEmpty());
    QCOMPARE(f.Table->RecordCount(), 8);
    QCOMPARE(f.Table->RecNo(), 2);
    QCOMPARE(f.Cell(2, 1), QStringLiteral("5"));
}

void TstDBGrid::ctrlDeleteOnEmptyDoesNothing() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    TModalAnswerer answer;
    f.Table->SetFilter(QStringLiteral("percent = '99'"));
    f.Table->SetFiltered(true);
    QVERIFY(f.Show());
    QCOMPARE(f.Table->RecordCount(), 0);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    TTestChecks::SettleEvents();
    QVERIFY(answer.Seen().isEmpty());
}

void TstDBGrid::leavingTheGrid_data() {
    QTest::addColumn<bool>("cancelOnExit");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("by");  // a click elsewhere, or the grid's way out by key
    QTest::newRow("untouched, cancel on exit") << true << false << 8 << int(dsBrowse) << "focus";
    QTest::newRow("typed into, cancel on exit") << true << true << 9 << int(dsInsert) << "focus";
    QTest::newRow("untouched, without cancel on exit") << false << false << 9 << int(dsInsert) << "focus";
    QTest::newRow("untouched, Ctrl+Tab") << true << false << 8 << int(dsBrowse) << "Ctrl+Tab";
    QTest::newRow("typed into, Ctrl+Tab from the editor") << true << true << 9 << int(dsInsert) << "Ctrl+Tab";
    QTest::newRow("typed into, Ctrl+Shift+Tab from the editor")
        << true << true << 9 << int(dsInsert) << "Ctrl+Shift+Tab";
}

void TstDBGrid::leavingTheGrid() {
    QFETCH(bool, cancelOnExit);
    QFETCH(bool, typed);
    QFETCH(int, count);
    QFETCH(int, state);
    QFETCH(QString, by);
    TDBGridOptions options = TDBGridOptions::Default();
    if (!cancelOnExit)
        options = options - dgCancelOnExit;
    TGridFixture f(QStringLiteral("discount"), options);
    TDBGrid* grid = f.Grid;
    auto* other = new QLineEdit(f.Window.get());
    other->setGeometry(10, 250, 100, 20);
    TModalAnswerer answer;
    QVERIFY(f.Show());
    grid->SetSelectedIndex(1);
    f.Table->Last();
    QTest::keyClick(grid, Qt::Key_Down);
    if (typed)
        TGridFixture::Type(grid, QStringLiteral("12"));
    if (by == "focus")
        other->setFocus();
    else if (by == "Ctrl+Tab")
        f.Key(Qt::Key_Tab, Qt::ControlModifier);
    else
        f.Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), other);
    QCOMPARE(f.Table->RecordCount(), count);
    QCOMPARE(int(f.Table->State()), state);
    if (typed)
        QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("12"));
    TTestChecks::SettleEvents();
    QVERIFY(answer.Seen().isEmpty());
}

void TstDBGrid::clickMakesRowCurrent() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    const QRect cell = grid->visualRect(grid->Model()->index(4, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(f.Table->RecNo(), 4);
    QCOMPARE(grid->SelectedIndex(), 1);
    QCOMPARE(grid->Indicator()->MarkerAt(4), TDBGridIndicator::BrowseMarker);
    const QRect indicatorCell(0, grid->Indicator()->sectionViewportPosition(6), TDBGridIndicator::Width,
                              grid->Indicator()->sectionSize(6));
    QTest::mouseClick(grid->Indicator()->viewport(), Qt::LeftButton, {}, indicatorCell.center());
    QCOMPARE(f.Table->RecNo(), 6);
}

void TstDBGrid::closedDataSetEmptiesGrid() {
    TGridFixture f;
    TDBGrid* grid = f.Grid;
    QCOMPARE(grid->Model()->rowCount(), 0);
    f.Table->Open();
    QCOMPARE(grid->Model()->rowCount(), 8);
    f.Table->Close();
    QCOMPARE(grid->Model()->rowCount(), 0);
    QCOMPARE(grid->Model()->columnCount(), 0);
    QTest::keyClick(grid, Qt::Key_Down);  // nothing to do, nothing breaks
    QCOMPARE(grid->Model()->rowCount(), 0);
}

void TstDBGrid::keysFollowMovedColumns() {
    TGridFixture f(QStringLiteral("provider"));
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    // On screen: phone, Idprovider, name, agentname.
    grid->horizontalHeader()->moveSection(3, 0);
    QTest::keyClick(grid, Qt::Key_Home);
    QCOMPARE(grid->SelectedIndex(), 3);
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->SelectedIndex(), 0);
    QTest::keyClick(grid, Qt::Key_End);
    QCOMPARE(grid->SelectedIndex(), 2);
    QTest::keyClick(grid, Qt::Key_Tab);  // past the last one on screen: the next row's first
    QCOMPARE(grid->SelectedIndex(), 3);
    QCOMPARE(f.Table->RecNo(), 1);
}

void TstDBGrid::textTypedAsIs_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe") << QStringLiteral("ООО «O'Брайен»");
    QTest::newRow("quotes and semicolon") << QStringLiteral("a\"; DROP TABLE provider; --");
    QTest::newRow("ampersand and percent") << QStringLiteral("Иванов & сын, 100%");
    // Characters outside the basic plane, the first of them opening the editor.
    QTest::newRow("emoji first") << QStringLiteral("\U0001F600 Смайлик \U0001F9F9");
    QTest::newRow("CJK extension B first") << QStringLiteral("\U00020000\U0002A6D6 商事");
}

void TstDBGrid::textTypedAsIs() {
    QFETCH(QString, text);
    TGridFixture f(QStringLiteral("provider"));
    TDBGrid* grid = f.Grid;
    QVERIFY(f.Show());
    grid->SetSelectedIndex(1);  // name
    f.Table->Next();
    TGridFixture::Type(grid, text);
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Up);
    QCOMPARE(f.Table->State(), dsBrowse);
    f.Table->Close();
    f.Table->Open();
    QCOMPARE(f.Table->RecordCount(), 8);
    QCOMPARE(f.Cell(1, 1), text);
}

void TstDBGrid::refusedInsertKeepsTheNewRow() {
    TGridFixture f(QStringLiteral("provider"));
    TDBGrid* grid = f.Grid;
    TModalAnswerer answer;
    QVERIFY(f.Show());
    f.Table->Last();
    QTest::keyClick(grid, Qt::Key_Down);
    grid->SetSelectedIndex(3);  // phone only: the name, which may not be empty, stays empty
    TGridFixture::Type(grid, QStringLiteral("8-495-000-00-00"));
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Up);
    QVERIFY(answer.WaitAllAnswered());
    QTRY_COMPARE(answer.Seen().size(), 1);
    QCOMPARE(answer.Seen().at(0).Icon, int(QMessageBox::Critical));
    QCOMPARE(f.Table->State(), dsInsert);
    QCOMPARE(f.Table->RecNo(), 8);
    QCOMPARE(f.Cell(8, 3), QStringLiteral("8-495-000-00-00"));
    // Esc gives the refused new row up.
    QTest::keyClick(grid, Qt::Key_Escape);
    QCOMPARE(f.Table->State(), dsBrowse);
    QCOMPARE(f.Table->RecordCount(), 8);
}

// Goods with their discount level: a join of two tables, which takes changed values but no new rows
// and no deletions.
const QString kGoodsJoin = QStringLiteral(
    "SELECT dbo.wares.name AS Наименование, dbo.wares.orderprice AS [Цена закупа], dbo.discount.[percent] "
    "AS [Скидка (%)] FROM dbo.discount INNER JOIN dbo.wares ON dbo.discount.Iddiscount = "
    "dbo.wares.Iddiscount "
    "ORDER BY dbo.wares.name");

void TstDBGrid::escLeavesTheRowAsItWas_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("leaving");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<bool>("written");
    // Rows of the discount table: 0, 3, 5, ... ; the second row holds 3 %.
    QTest::newRow("appended row, Up removes it") << "appended"
                                                 << "Up" << 8 << "3" << false;
    QTest::newRow("appended row, leaving the grid cancels it") << "appended"
                                                               << "focus" << 8 << "3" << false;
    QTest::newRow("stored row, Down writes nothing") << "stored"
                                                     << "Down" << 8 << "3" << false;
    QTest::newRow("value entered before the editor reopened stays") << "entered"
                                                                    << "Down" << 8 << "47" << true;
}

void TstDBGrid::escLeavesTheRowAsItWas() {
    QFETCH(QString, row);
    QFETCH(QString, leaving);
    QFETCH(int, rows);
    QFETCH(QString, percent);
    QFETCH(bool, written);
    TGridFixture f;
    auto* other = new QLineEdit(f.Window.get());
    other->setGeometry(10, 250, 100, 20);
    TModalAnswerer answer;
    QVERIFY(f.Show());
    f.Grid->SetSelectedIndex(1);
    if (row == "appended") {
        f.Table->Last();
        f.Key(Qt::Key_Down);
        QCOMPARE(f.Table->State(), dsInsert);
    } else {
        f.Table->Next();
    }
    if (row == "entered") {
        TGridFixture::Type(f.Grid, QStringLiteral("47"));
        f.Key(Qt::Key_Return);
        f.Key(Qt::Key_F2);
        f.Grid->InplaceEditor()->selectAll();
    }
    const bool modifiedBefore = f.Table->Modified();
    TGridFixture::Type(f.KeyTarget(), QStringLiteral("12"));
    QCOMPARE(f.Grid->InplaceEditor()->text(), QStringLiteral("12"));
    const qint64 requests = f.Connection->DatabaseRequests();
    f.Key(Qt::Key_Escape);
    QCOMPARE(f.Table->Modified(), modifiedBefore);
    QVERIFY(f.Grid->EditorMode());
    if (leaving == "focus") {
        other->setFocus();
        QCOMPARE(QApplication::focusWidget(), other);
    } else {
        f.Key(leaving == "Up" ? Qt::Key_Up : Qt::Key_Down);
    }
    TTestChecks::SettleEvents();
    QCOMPARE(answer.Texts(), QStringList());
    QCOMPARE(f.Table->State(), dsBrowse);
    QCOMPARE(f.Table->RecordCount(), rows);
    QCOMPARE(f.Connection->DatabaseRequests() > requests, written);
    QCOMPARE(f.Cell(1, 1), percent);
}

void TstDBGrid::editorTextIsWrittenAsTextIsSet_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("stored");
    QTest::newRow("a date as the grid shows it") << "[order]"
                                                 << "orderdate"
                                                 << "01.02.2025"
                                                 << "SELECT quote(orderdate) FROM [order] WHERE Idorder = %1"
                                                 << "'2025-02-01 00:00:00'";
    QTest::newRow("a text cell emptied is an empty text")
        << "provider"
        << "agentname"
        << ""
        << "SELECT quote(agentname) FROM provider WHERE Idprovider = %1"
        << "''";
    QTest::newRow("a number cell emptied is null") << "wares"
                                                   << "saleprice"
                                                   << ""
                                                   << "SELECT quote(saleprice) FROM wares WHERE Idwares = %1"
                                                   << "NULL";
    QTest::newRow("a number") << "discount"
                              << "percent"
                              << "12"
                              << "SELECT quote([percent]) FROM discount WHERE Iddiscount = %1"
                              << "12.0";
}

void TstDBGrid::editorTextIsWrittenAsTextIsSet() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, statement);
    QFETCH(QString, stored);
    TGridFixture f(table);
    TModalAnswerer answer;
    QVERIFY(f.Show());
    TField* column = f.Table->FieldByName(field);
    const int index = column->Index();
    f.Grid->SetSelectedIndex(index);
    const QString key = f.Table->Field(0)->AsString();
    // What the field itself makes of the text, written into the cell by the user.
    f.Table->Edit();
    column->SetAsString(typed);
    const QVariant expected = column->Value();
    f.Table->Cancel();
    f.Key(Qt::Key_F2);
    f.Grid->InplaceEditor()->selectAll();
    f.Key(Qt::Key_Backspace);
    TGridFixture::Type(f.Grid->InplaceEditor(), typed);
    f.Key(Qt::Key_Down);
    TTestChecks::SettleEvents();
    QCOMPARE(answer.Texts(), QStringList());
    QCOMPARE(f.Table->RecNo(), 1);
    f.Table->Close();
    f.Table->Open();
    QCOMPARE(f.Table->Field(index)->Value(), expected);  // the fields are new after opening
    QCOMPARE(f.Scalar(statement.arg(key)).toString(), stored);
}

void TstDBGrid::joinTakesNoNewRowAndNoDelete_data() {
    QTest::addColumn<QString>("keys");
    QTest::newRow("Down on the last row") << "Down";
    QTest::newRow("Tab after the last cell") << "End Tab";
    QTest::newRow("Insert") << "Insert";
    QTest::newRow("Ctrl+Delete") << "Ctrl+Delete";
}

void TstDBGrid::joinTakesNoNewRowAndNoDelete() {
    QFETCH(QString, keys);
    TGridFixture f;
    TADOQuery* goods = f.ShowQuery(kGoodsJoin);
    TModalAnswerer answer;
    answer.Press(QStringLiteral("OK"));
    QVERIFY(f.Show());
    QVERIFY(goods->CanModify());
    const int rows = goods->RecordCount();
    goods->Last();
    for (const QString& key : keys.split(' ')) {
        if (key == "Ctrl+Delete")
            f.Key(Qt::Key_Delete, Qt::ControlModifier);
        else
            f.Key(key == "Down"  ? Qt::Key_Down
                  : key == "End" ? Qt::Key_End
                  : key == "Tab" ? Qt::Key_Tab
                                 : Qt::Key_Insert);
    }
    TTestChecks::SettleEvents();
    QCOMPARE(answer.Texts(), QStringList());
    QCOMPARE(goods->State(), dsBrowse);
    QCOMPARE(goods->RecordCount(), rows);
    QCOMPARE(f.Grid->Model()->rowCount(), rows);
    QCOMPARE(goods->RecNo(), rows - 1);
}

void TstDBGrid::joinRowsStayEditable() {
    TGridFixture f;
    TADOQuery* goods = f.ShowQuery(kGoodsJoin);
    TModalAnswerer answer;
    QVERIFY(f.Show());
    const QString name = goods->FieldByName(QStringLiteral("Наименование"))->AsString();
    f.Grid->SetSelectedIndex(1);
    TGridFixture::Type(f.Grid, QStringLiteral("777"));
    f.Key(Qt::Key_Down);
    TTestChecks::SettleEvents();
    QCOMPARE(answer.Texts(), QStringList());
    QCOMPARE(goods->State(), dsBrowse);
    QCOMPARE(f.Scalar(QStringLiteral("SELECT orderprice FROM wares WHERE name = '%1'").arg(name)).toString(),
             QStringLiteral("777"));
}

void TstDBGrid::notFiniteNumberIsRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pasted");  // else typed key by key, as far as the key filter lets it in
    QTest::newRow("typed 1e400") << "1e400" << false;
    for (const char* text : {"inf", "-Infinity", "nan", "NaN", "1e400"})
        QTest::addRow("pasted %s", text) << text << true;
}

void TstDBGrid::notFiniteNumberIsRefused() {
    QFETCH(QString, text);
    QFETCH(bool, pasted);
    TGridFixture f(QStringLiteral("wares"));
    TModalAnswerer answer;
    QVERIFY(f.Show());
    f.Grid->SetSelectedIndex(f.Table->FieldByName(QStringLiteral("saleprice"))->Index());
    const QString stored = QStringLiteral("SELECT quote(saleprice) FROM wares WHERE Idwares = %1")
                               .arg(f.Table->FieldByName(QStringLiteral("Idwares"))->AsInteger());
    const QString before = f.Scalar(stored).toString();
    if (pasted) {
        QGuiApplication::clipboard()->setText(text);
        f.Key(Qt::Key_F2);
        f.Grid->InplaceEditor()->selectAll();
        f.Key(Qt::Key_V, Qt::ControlModifier);
    } else {
        TGridFixture::Type(f.Grid, text);
    }
    QCOMPARE(f.Grid->InplaceEditor()->text(), text);
    f.Key(Qt::Key_Down);
    QVERIFY(answer.WaitAllAnswered());
    QCOMPARE(answer.Texts().size(), 1);
    QVERIFY2(answer.Texts().at(0).contains(QStringLiteral("'%1' is not a valid number").arg(text)),
             qPrintable(answer.Texts().at(0)));
    // The text stays as typed for correcting, and nothing reached the database.
    QVERIFY(f.Grid->EditorMode());
    QCOMPARE(f.Grid->InplaceEditor()->text(), text);
    QCOMPARE(f.Table->RecNo(), 0);
    QCOMPARE(f.Scalar(stored).toString(), before);
    f.Key(Qt::Key_Escape);
    f.Key(Qt::Key_Escape);
    QCOMPARE(f.Table->State(), dsBrowse);
}

void TstDBGrid::longTextOpenedAndLeftStaysWhole_data() {
    QTest::addColumn<QString>("open");
    QTest::addColumn<Qt::Key>("leave");
    for (const char* open : {"F2", "Enter", "double-click"}) {
        QTest::addRow("%s, then Enter", open) << open << Qt::Key_Return;
        QTest::addRow("%s, then Down", open) << open << Qt::Key_Down;
        QTest::addRow("%s, then Esc", open) << open << Qt::Key_Escape;
    }
}

void TstDBGrid::longTextOpenedAndLeftStaysWhole() {
    QFETCH(QString, open);
    QFETCH(Qt::Key, leave);
    TGridFixture f(QStringLiteral("provider"));
    TModalAnswerer answer;
    // Longer than a line edit takes by default (32,767 characters).
    auto* update = new TADOQuery(f.Owner.get(), QStringLiteral("ADOQuery3"));
    update->SetConnection(f.Connection);
    update->SQL().Add(
        QStringLiteral("UPDATE provider SET name = 'начало ' || replace(hex(zeroblob(20000)), "
                       "'00', 'жЖ') || ' конец' WHERE Idprovider = 1"));
    update->ExecSQL();
    const QString stored = QStringLiteral("SELECT name FROM provider WHERE Idprovider = 1");
    const QString name = f.Scalar(stored).toString();
    QCOMPARE(name.size(), 40013);
    QVERIFY(f.Show());
    f.Grid->SetSelectedIndex(f.Table->FieldByName(QStringLiteral("name"))->Index());
    if (open == "double-click") {
        const QRect cell = f.Grid->visualRect(f.Grid->Model()->index(0, f.Grid->SelectedIndex()));
        QTest::mouseDClick(f.Grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    } else {
        f.Key(open == "F2" ? Qt::Key_F2 : Qt::Key_Return);
    }
    QVERIFY(f.Grid->EditorMode());
    QCOMPARE(f.Grid->InplaceEditor()->text().size(), name.size());
    QVERIFY(f.Grid->InplaceEditor()->text() == name);
    const qint64 requests = f.Connection->DatabaseRequests();
    f.Key(leave);
    TTestChecks::SettleEvents();
    QCOMPARE(answer.Texts(), QStringList());
    QVERIFY(!f.Grid->EditorMode());
    QCOMPARE(f.Table->State(), dsBrowse);
    QCOMPARE(f.Connection->DatabaseRequests(), requests);
    QVERIFY(f.Scalar(stored).toString() == name);
}

QTEST_MAIN(TstDBGrid)
#include "tst_dbgrid.moc"
