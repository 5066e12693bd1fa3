// The pickers and lists through their real windows, opened by their openers (ShowModal where the
// opener is another window's): columns that find their fields, the current row shared by every window
// on a data set and only there, the choice left by the tick button and the close box alike, the
// caller's labels untouched by a picker closed without a move, the order-line ware picker following the
// current order and keeping its supplier while an edit is refused, typed input posted or refused with
// nothing lost (through views as well), and no way to Form8.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <memory>

#include "TADOTable.h"
#include "TDBText.h"
#include "TDataSet.h"
#include "TDataSource.h"
#include "TField.h"
#include "TRadioButton.h"
#include "TRunningProgram.h"
#include "TTestChecks.h"
#include "TWindowSteps.h"
#include "TWriteBack.h"
#include "Unit10.h"
#include "Unit2.h"
#include "Unit11.h"
#include "Unit12.h"
#include "Unit13.h"
#include "Unit14.h"
#include "Unit15.h"
#include "Unit3.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit8.h"

using namespace TWindowSteps;

namespace {

// A supplier without orders, after the demo suppliers.
const QString kSupplierWithoutOrders = QStringLiteral("ООО «Без заказов»");

QString NameAt(TDataSet* set, int row) {
    return set->DisplayTextAt(row, set->FieldByName(QStringLiteral("name"))->Index());
}

}  // namespace

class TstPickers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void columnsFindTheirFields_data();
    void columnsFindTheirFields();
    void tickButtonCloses_data();
    void tickButtonCloses();
    void currentRowIsTheDataSets_data();
    void currentRowIsTheDataSets();
    void closingLeavesTheChoice_data();
    void closingLeavesTheChoice();
    void orderWaresFollowTheCurrentOrder_data();
    void orderWaresFollowTheCurrentOrder();
    void refusedWareEditKeepsTheSupplier();
    void typedCellsPostedOrRefused_data();
    void typedCellsPostedOrRefused();
    void deliveryPeriodsWriteOneBaseTableAtATime();
    void nothingOpensForm8();

private:
    std::unique_ptr<TRunningProgram> m_program;
};

void TstPickers::init() {
    m_program = std::make_unique<TRunningProgram>();
    m_program->Prepare(
        {QStringLiteral("INSERT INTO provider ([name]) VALUES ('%1')").arg(kSupplierWithoutOrders)});
    m_program->Start();
    Unlock();
    QVERIFY(Form2->N10->isVisible());
}

void TstPickers::cleanup() {
    m_program.reset();
}

void TstPickers::columnsFindTheirFields_data() {
    QTest::addColumn<QString>("place");
    for (const char* place : {"Form5", "Form6", "Form8", "Form10", "Form12", "Form13", "Form14", "Form15:0",
                              "Form15:1", "Form15:2"})
        QTest::newRow(place) << place;
}

// A column whose name its view or table lacks would stay in the grid, empty and without an error.
void TstPickers::columnsFindTheirFields() {
    QFETCH(QString, place);
    TDBGrid* grid = GridOf(PlaceOf(place));
    TDataSet* set = grid->DataSet();
    QVERIFY(set && set->Active());
    QVERIFY(set->RecordCount() > 0);
    QCOMPARE(grid->Model()->rowCount(), set->RecordCount());
    for (int c = 0; c < grid->Columns().size(); ++c) {
        const TField* field = set->FindField(grid->Columns().at(c).FieldName);
        QVERIFY2(field, qPrintable(grid->Columns().at(c).FieldName));
        QCOMPARE(grid->Model()->index(0, c).data().toString(), set->DisplayTextAt(0, field->Index()));
    }
}

void TstPickers::tickButtonCloses_data() {
    QTest::addColumn<QString>("place");
    for (const char* place : {"Form5", "Form6", "Form10", "Form11", "Form12", "Form13", "Form14"})
        QTest::newRow(place) << place;
}

void TstPickers::tickButtonCloses() {
    QFETCH(QString, place);
    TForm* window = PlaceOf(place).Window;
    bool modal = false;
    QCOMPARE(InModal(
                 m_program->Boxes, [&] { Open(window); }, [&](TForm* w) { modal = w->Modal(); }),
             window);
    QVERIFY(modal);
    QVERIFY(!window->isVisible());
    QVERIFY(!window->Modal());
    QCOMPARE(m_program->Boxes.Seen().size(), 1);
}

void TstPickers::currentRowIsTheDataSets_data() {
    QTest::addColumn<QString>("movedIn");
    QTest::addColumn<QString>("seenIn");
    QTest::addColumn<bool>("shared");
    QTest::newRow("ware picker, goods tab") << "Form5"
                                            << "Form15:2" << true;
    QTest::newRow("goods tab, ware picker") << "Form15:2"
                                            << "Form5" << true;
    QTest::newRow("manager picker, managers tab") << "Form10"
                                                  << "Form15:1" << true;
    QTest::newRow("supplier list, suppliers tab") << "Form12"
                                                  << "Form15:0" << true;
    QTest::newRow("suppliers tab, supplier list") << "Form15:0"
                                                  << "Form12" << true;
    QTest::newRow("supplier picker, suppliers tab") << "Form6"
                                                    << "Form15:0" << false;
    QTest::newRow("suppliers tab, supplier picker") << "Form15:0"
                                                    << "Form6" << false;
    QTest::newRow("supplier picker, supplier list") << "Form6"
                                                    << "Form12" << false;
}

void TstPickers::currentRowIsTheDataSets() {
    QFETCH(QString, movedIn);
    QFETCH(QString, seenIn);
    QFETCH(bool, shared);
    // A click on the third row, then Down: the fourth row.
    InGrid(m_program->Boxes, PlaceOf(movedIn), [](TDBGrid* grid) {
        ClickCell(grid, 2, 0);
        Key(grid, Qt::Key_Down);
        QCOMPARE(grid->DataSet()->RecNo(), 3);
    });
    int seen = -1;
    QString seenName;
    InGrid(m_program->Boxes, PlaceOf(seenIn), [&](TDBGrid* grid) {
        seen = grid->currentIndex().row();
        seenName = NameAt(grid->DataSet(), grid->DataSet()->RecNo());
    });
    QCOMPARE(seen, shared ? 3 : 0);
    // Reopened, the window shows the row it was closed on.
    int again = -1;
    InGrid(m_program->Boxes, PlaceOf(movedIn), [&](TDBGrid* grid) {
        again = grid->currentIndex().row();
        QCOMPARE(NameAt(grid->DataSet(), again), shared ? seenName : NameAt(grid->DataSet(), 3));
    });
    QCOMPARE(again, 3);
    QCOMPARE(m_program->Boxes.Seen().size(), 3);  // the three windows, no box
}

void TstPickers::closingLeavesTheChoice_data() {
    QTest::addColumn<QString>("picker");
    QTest::addColumn<int>("closeBy");
    QTest::addColumn<QString>("move");
    for (const char* picker : {"Form5", "Form6", "Form10", "Form14"})
        for (const auto& [by, byName] :
             {std::pair{TCloseBy::TickButton, "tick"}, {TCloseBy::CloseBox, "close box"}})
            for (const char* move : {"none", "keys", "click", "past the last row"})
                QTest::addRow("%s, %s, %s", picker, byName, move) << picker << int(by) << move;
}

// The picker is opened once and left on its second row; then a caller's handler writes into its label,
// and the picker is opened again, moved or not, and closed. Only a move reaches the label.
void TstPickers::closingLeavesTheChoice() {
    QFETCH(QString, picker);
    QFETCH(int, closeBy);
    QFETCH(QString, move);
    const TPlace place = PlaceOf(picker);
    TDataSet* set = GridOf(place)->DataSet();
    const int rows = set->RecordCount();
    QVERIFY(rows > 3);
    TDBText label;
    label.SetDataField(QStringLiteral("name"));
    label.SetDataSource(GridOf(place)->DataSource());
    InGrid(m_program->Boxes, place, [](TDBGrid* grid) { Key(grid, Qt::Key_Down); });
    QCOMPARE(set->RecNo(), 1);
    label.SetCaption(QStringLiteral(" "));

    InGrid(
        m_program->Boxes, place,
        [&](TDBGrid* grid) {
            if (move == QLatin1String("keys")) {
                Key(grid, Qt::Key_Down);
                Key(grid, Qt::Key_Down);
            } else if (move == QLatin1String("click")) {
                ClickCell(grid, 3, 0);
            } else if (move == QLatin1String("past the last row")) {
                Key(grid, Qt::Key_End, Qt::ControlModifier);
                Key(grid, Qt::Key_Down);  // a new row where the data set takes one, untouched
            }
        },
        TCloseBy(closeBy));

    const int expected = move == QLatin1String("none")    ? 1
                         : move == QLatin1String("keys")  ? 3
                         : move == QLatin1String("click") ? 3
                                                          : rows - 1;
    QCOMPARE(set->State(), dsBrowse);
    QCOMPARE(set->RecordCount(), rows);
    QCOMPARE(set->RecNo(), expected);
    QCOMPARE(label.Caption(), move == QLatin1String("none") ? QStringLiteral(" ") : NameAt(set, expected));
    QCOMPARE(m_program->Boxes.Texts(), (QStringList{QString(), QString()}));  // the picker twice, no box
}

void TstPickers::orderWaresFollowTheCurrentOrder_data() {
    QTest::addColumn<int>("supplier");  // its row in the supplier picker
    QTest::addColumn<int>("order");     // the row of its orders then made current
    QTest::addColumn<bool>("hasWares");
    QTest::newRow("first supplier, first order") << 0 << 0 << true;
    QTest::newRow("third supplier, second order") << 2 << 1 << true;
    QTest::newRow("supplier without orders") << 8 << 0 << false;
}

void TstPickers::orderWaresFollowTheCurrentOrder() {
    QFETCH(int, supplier);
    QFETCH(int, order);
    QFETCH(bool, hasWares);
    InGrid(m_program->Boxes, PlaceOf("Form6"), [&](TDBGrid* grid) {
        Key(grid, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < supplier; ++i)
            Key(grid, Qt::Key_Down);
    });
    TADOTable* orders = DataModule3->ADOTable6;
    QCOMPARE(NameAt(DataModule3->ADOTable4, DataModule3->ADOTable4->RecNo()),
             m_program->Column(QStringLiteral("SELECT name FROM provider ORDER BY Idprovider")).at(supplier));
    // The order entry window's order grid moves the orders' current row; here the data set is moved.
    orders->MoveBy(order);
    QCOMPARE(orders->RecNo(), orders->IsEmpty() ? -1 : order);
    QStringList expected;
    if (!orders->IsEmpty())
        expected = m_program->Column(QStringLiteral("SELECT name FROM View_2 WHERE Idprovider = ?"),
                                     {orders->FieldByName(QStringLiteral("Idprovider"))->Value()});
    QCOMPARE(!expected.isEmpty(), hasWares);

    QStringList listed;
    InGrid(m_program->Boxes, PlaceOf("Form14"), [&](TDBGrid* grid) {
        for (int row = 0; row < grid->Model()->rowCount(); ++row)
            listed << grid->Model()->index(row, 0).data().toString();
    });
    expected.sort();
    listed.sort();
    QCOMPARE(listed, expected);
}

// A ware being edited in the order-line picker whose post is refused (another program renamed it
// meanwhile) keeps the supplier where it was: the suppliers, their orders and the wares listed agree.
// Once the edit is given up, the next supplier is chosen and its wares are listed.
void TstPickers::refusedWareEditKeepsTheSupplier() {
    TDataSet* suppliers = DataModule3->ADOTable4;
    TDataSet* wares = DataModule3->ADOTable11;
    const auto supplierWares = [&] {
        return m_program->Column(QStringLiteral("SELECT name FROM View_2 WHERE Idprovider = ? ORDER BY name"),
                                 {suppliers->FieldByName(QStringLiteral("Idprovider"))->Value()});
    };
    const auto listed = [&] {
        QStringList names;
        for (int row = 0; row < wares->RecordCount(); ++row)
            names << NameAt(wares, row);
        names.sort();
        return names;
    };
    InGrid(m_program->Boxes, PlaceOf("Form6"), [&](TDBGrid* grid) { Key(grid, Qt::Key_Home, Qt::ControlModifier); });
    const QStringList firstSuppliersWares = listed();
    QCOMPARE(firstSuppliersWares, supplierWares());
    InGrid(m_program->Boxes, PlaceOf("Form14"), [&](TDBGrid* grid) {
        ClickCell(grid, 0, 0);
        Key(grid, Qt::Key_F2);
        Type(grid, QStringLiteral("Набранное имя"));
    });
    QCOMPARE(wares->State(), dsEdit);
    m_program->Db.Execute(QStringLiteral("UPDATE wares SET name = 'Чужое имя' WHERE Idwares = ?"),
                          {wares->FieldByName(QStringLiteral("Idwares"))->Value()});

    m_program->Boxes.ClearSeen();
    InGrid(m_program->Boxes, PlaceOf("Form6"), [&](TDBGrid* grid) { Key(grid, Qt::Key_Down); });
    QCOMPARE(m_program->Boxes.Texts().value(1), TWriteBack::RowNotLocatedMessage());
    QCOMPARE(suppliers->RecNo(), 0);
    QCOMPARE(wares->State(), dsEdit);
    QCOMPARE(wares->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Набранное имя"));
    InGrid(m_program->Boxes, PlaceOf("Form14"), [&](TDBGrid* grid) {
        // The cell's editor is still open with the typed text: Esc takes it back, Esc again the row.
        Key(grid, Qt::Key_Escape);
        Key(grid, Qt::Key_Escape);
        TTestChecks::SettleEvents();
    });
    QCOMPARE(wares->State(), dsBrowse);
    QCOMPARE(listed(), firstSuppliersWares);

    InGrid(m_program->Boxes, PlaceOf("Form6"), [&](TDBGrid* grid) { Key(grid, Qt::Key_Down); });
    QCOMPARE(suppliers->RecNo(), 1);
    QCOMPARE(listed(), supplierWares());
}

void TstPickers::typedCellsPostedOrRefused_data() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");   // the table or view, and the column that finds the row
    QTest::addColumn<QString>("refusal");  // part of the message; empty when the row is posted
    QTest::newRow("apostrophes") << "Form6"
                                 << "name"
                                 << "ООО 'Ромашка' и ''Ко''"
                                 << "provider.Idprovider"
                                 << "";
    QTest::newRow("statement in a text") << "Form12"
                                         << "phone"
                                         << "8'); DELETE FROM provider; --"
                                         << "provider.Idprovider"
                                         << "";
    QTest::newRow("Cyrillic") << "Form10"
                              << "name"
                              << "Щукина Юлия Эдуардовна, ёлки"
                              << "manager.Idmanager"
                              << "";
    QTest::newRow("key of a referenced ware") << "Form5"
                                              << "Idwares"
                                              << "999"
                                              << "wares.Idwares"
                                              << "FOREIGN KEY constraint failed";
    QTest::newRow("not a number") << "Form5"
                                  << "Idwares"
                                  << "1-2"
                                  << "wares.Idwares"
                                  << "'1-2' is not a valid number";
    QTest::newRow("negative price") << "Form15:2"
                                    << "orderprice"
                                    << "-5"
                                    << "wares.Idwares"
                                    << "CHECK constraint failed";
    QTest::newRow("ware's name through its view") << "Form14"
                                                  << "name"
                                                  << "Чайник «Новый» 1,7 л"
                                                  << "wares.Idwares"
                                                  << "";
    QTest::newRow("delivery period through its view") << "Form13"
                                                      << "Срок ожидания"
                                                      << "12"
                                                      << "firms_periods.Наименование товара"
                                                      << "";
    QTest::newRow("no delivery period") << "Form13"
                                        << "Срок ожидания"
                                        << "0"
                                        << "firms_periods.Наименование товара"
                                        << "CHECK constraint failed";
}

// Text typed over a cell of the first row, then Down: the row is posted and the database holds the text
// as typed, or the error box shows the refusal and the row stays in editing with the typed text.
void TstPickers::typedCellsPostedOrRefused() {
    QFETCH(QString, place);
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, refusal);
    const QString table = stored.section(QLatin1Char('.'), 0, 0);
    const QString keyColumn = stored.section(QLatin1Char('.'), 1, 1);
    TDataSet* set = GridOf(PlaceOf(place))->DataSet();
    const QVariant key = set->ValueAt(0, set->FieldByName(keyColumn)->Index());
    const QString select = QStringLiteral("SELECT [%1] FROM %2 WHERE [%3] = ?").arg(column, table, keyColumn);
    const QStringList before = m_program->Column(select, {key});

    QString cellAfter;
    InGrid(m_program->Boxes, PlaceOf(place), [&](TDBGrid* grid) {
        int c = 0;
        while (grid->Columns().at(c).FieldName != column)
            ++c;
        ClickCell(grid, 0, c);
        Key(grid, Qt::Key_F2);  // the editor opens with its text selected, which the typing replaces
        Type(grid, typed);
        if (!refusal.isEmpty())
            m_program->Boxes.Press(QStringLiteral("OK"));
        Key(grid, Qt::Key_Down);
        TTestChecks::SettleEvents();
        cellAfter =
            grid->EditorMode() ? grid->InplaceEditor()->text() : grid->Model()->index(0, c).data().toString();
        if (!refusal.isEmpty()) {
            QCOMPARE(set->RecNo(), 0);
            QCOMPARE(set->State(), dsEdit);
            // Esc twice: the cell's old text, then the row's editing given up.
            Key(grid, Qt::Key_Escape);
            Key(grid, Qt::Key_Escape);
            QCOMPARE(set->State(), dsBrowse);
        }
    });
    QCOMPARE(cellAfter, typed);
    if (refusal.isEmpty()) {
        QCOMPARE(m_program->Column(select, {key}), QStringList{typed});
        QCOMPARE(m_program->Boxes.Seen().size(), 1);
    } else {
        QCOMPARE(m_program->Column(select, {key}), before);
        QCOMPARE(m_program->Boxes.Seen().size(), 2);
        const TSeenModal& box = m_program->Boxes.Seen().at(1);
        QVERIFY2(box.Text.contains(refusal), qPrintable(box.Text));
        QCOMPARE(box.Icon, int(QMessageBox::Critical));
    }
    QCOMPARE(m_program->Column(QStringLiteral("SELECT count(*) FROM provider")).at(0), QStringLiteral("9"));
}

// "Сроки поставок" writes each base table of its view: a ware's name reaches the goods list after a
// sort; a firm and a period typed into one row are refused with the server's message, kept as typed.
void TstPickers::deliveryPeriodsWriteOneBaseTableAtATime() {
    const QString name = QStringLiteral("Телевизор «Проба» 43\"");
    TDataSet* periods = DataModule3->ADOTable10;
    const QString day = periods->DisplayTextAt(0, periods->FieldByName(QStringLiteral("Срок ожидания"))->Index());
    InGrid(m_program->Boxes, PlaceOf("Form13"), [&](TDBGrid* grid) {
        ClickCell(grid, 0, 1);
        Key(grid, Qt::Key_F2);
        Type(grid, name);
        Key(grid, Qt::Key_Down);
        QCOMPARE(periods->State(), dsBrowse);

        Key(grid, Qt::Key_Up);
        ClickCell(grid, 0, 0);
        Key(grid, Qt::Key_F2);
        Type(grid, QStringLiteral("Другая фирма"));
        ClickCell(grid, 0, 3);
        Key(grid, Qt::Key_F2);
        Type(grid, QStringLiteral("9"));
        m_program->Boxes.Press(QStringLiteral("OK"));
        Key(grid, Qt::Key_Down);
        TTestChecks::SettleEvents();
        QCOMPARE(periods->State(), dsEdit);
        QCOMPARE(periods->FieldByName(QStringLiteral("Фирма"))->AsString(), QStringLiteral("Другая фирма"));
        QCOMPARE(periods->FieldByName(QStringLiteral("Срок ожидания"))->AsString(), QStringLiteral("9"));
        Key(grid, Qt::Key_Escape);
        Key(grid, Qt::Key_Escape);
    });
    QCOMPARE(m_program->Boxes.Seen().size(), 2);
    QCOMPARE(m_program->Boxes.Seen().at(1).Text, TWriteBack::ViewNotUpdatableMessage(QStringLiteral("firms_periods")));
    QCOMPARE(m_program->Count(QStringLiteral("wares WHERE name = '%1'").arg(name)), 1);
    QCOMPARE(m_program->Count(QStringLiteral("provider WHERE name = 'Другая фирма'")), 0);
    QCOMPARE(m_program->Column(QStringLiteral("SELECT [Срок ожидания] FROM firms_periods WHERE "
                                              "[Наименование товара] = ?"),
                               {name}),
             QStringList{day});

    QTest::mouseClick(Form2->RadioButton1, Qt::LeftButton);
    QStringList goods;
    for (int row = 0; row < Form2->DBGrid1->Model()->rowCount(); ++row)
        goods << Form2->DBGrid1->Model()->index(row, 0).data().toString();
    QVERIFY(goods.contains(name));
}

// Every opener the main window has, after unlocking; the windows each opens are closed at once.
void TstPickers::nothingOpensForm8() {
    QList<QAction*> items = Form2->N1->actions() + Form2->MainMenu1->actions() + Form2->PopupMenu1->actions();
    for (QAction* item : items) {
        if (!item->isVisible() || item->menu() || item == Form2->N5 || item == Form2->N8 ||
            item == Form2->N6 || item == Form2->N11)
            continue;  // the ways out, the price list and the document open no window of ours
        item->trigger();
        QVERIFY(m_program->Boxes.WaitAllAnswered());
    }
    for (QPushButton* button : Form2->findChildren<QPushButton*>()) {
        if (button->isHidden() || button == Form2->Button4 || button == Form2->BitBtn1)
            continue;
        ClickOnItsTab(button);
        QVERIFY(m_program->Boxes.WaitAllAnswered());
    }
    QStringList opened;
    for (const TSeenModal& seen : m_program->Boxes.Seen())
        opened << seen.ClassName;
    QVERIFY(opened.contains(QStringLiteral("TForm12")));
    QVERIFY(opened.contains(QStringLiteral("TForm15")));
    QVERIFY2(!opened.contains(QStringLiteral("TForm8")), qPrintable(opened.join(' ')));
    QVERIFY(!Form8->isVisible());
}

QTEST_MAIN(TstPickers)
#include "tst_pickers.moc"
