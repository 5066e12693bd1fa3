// The goods tab's sort choices driven through the radios and the check box: the ordering line sent for
// each radio and direction, Russian order of names, descriptions and suppliers, numeric order of prices,
// the check box clearing the radios without a read, a re-selected radio not reading, goods added since
// the last read, and a re-open that fails because the database went away.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <memory>

#include "Exception.h"
#include "ProgramInstances.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TApplication.h"
#include "TDBGrid.h"
#include "TDBGridModel.h"
#include "TDBNavigator.h"
#include "TErrorBox.h"
#include "TField.h"
#include "TLabeledEdit.h"
#include "TBitBtn.h"
#include <QLineEdit>
#include "TModalAnswerer.h"
#include "TRunningProgram.h"
#include "TRadioButton.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"
#include "Unit2.h"
#include "Unit3.h"

namespace {

TADOQuery* Goods() {
    return DataModule3->ADOQuery1;
}

QString OrderingLine() {
    return Goods()->SQL()[7];
}

qint64 Reads() {
    return DataModule3->ADOConnection1->DatabaseRequests();
}

// The texts of one grid column, top to bottom, as the grid shows them.
QStringList GridColumn(const QString& title) {
    TDBGridModel* model = Form2->DBGrid1->Model();
    int column = -1;
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal).toString() == title)
            column = c;
    if (column < 0)
        return {};
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->data(model->index(row, column)).toString();
    return texts;
}

// The given texts in the order they first appear in the column.
QStringList Appearance(const QStringList& column, const QStringList& probes) {
    QStringList seen;
    for (const QString& text : column)
        if (probes.contains(text) && !seen.contains(text))
            seen << text;
    return seen;
}

void Sql(const QString& statement) {
    TADOQuery q(nullptr, QStringLiteral("TestSetup"));
    q.SetConnection(DataModule3->ADOConnection1);
    q.SQL().Add(statement);
    q.ExecSQL();
}

// In Russian order whether or not Ё counts as a letter of its own; byte order would put the capitals
// first and the lower-case letters after them.
const QStringList kNameProbes{"абажур Проба", "Ежевичный пресс", "Ёлочный прожектор", "Жаровня Проба",
                              "яблочник Проба"};
const QStringList kDescriptionProbes{"айва проба", "Ежевика проба", "ёлка проба", "Жёлудь проба",
                                     "ясень проба"};
const QStringList kSupplierProbes{"аист Проба", "ЕжиТорг Проба", "Ёлка Проба", "Жук Проба", "ярмарка Проба"};

// One ware per probe, each delivered by its own probe supplier; prices 9 and 10000 so that an order
// by text would be caught.
void AddProbeGoods() {
    for (int i = 0; i < kNameProbes.size(); ++i) {
        Sql(QStringLiteral("INSERT INTO provider([name], agentname, phone) VALUES ('%1', 'Агент', '1')")
                .arg(kSupplierProbes[i]));
        Sql(QStringLiteral("INSERT INTO wares([name], description, orderprice, iddiscount) "
                           "VALUES ('%1', '%2', '%3', '1')")
                .arg(kNameProbes[i], kDescriptionProbes[i],
                     i % 2 ? QStringLiteral("8000") : QStringLiteral("7")));
        Sql(
            QStringLiteral("INSERT INTO period(idprovider, idwares, day) VALUES ("
                           "(SELECT max(Idprovider) FROM provider), (SELECT max(Idwares) FROM wares), '3')"));
    }
}

QVector<double> Numbers(const QStringList& texts) {
    QVector<double> numbers;
    for (const QString& t : texts)
        numbers << QLocale::c().toDouble(QString(t).replace(QLatin1Char(','), QLatin1Char('.')));
    return numbers;
}

}  // namespace

class TstMainWindowSort : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startsUnsortedWithNothingSelected();
    void literalAndOrder_data();
    void literalAndOrder();
    void checkBoxClearsRadiosWithoutReading();
    void selectedRadioAgainReadsNothing();
    void addedGoodsShowAfterASort();
    void failedReopenLeavesListClosed();
    void editedCellSurvivesASort();

private:
    std::unique_ptr<TRunningProgram> m_program;
};

void TstMainWindowSort::init() {
    m_program = std::make_unique<TRunningProgram>();
    m_program->Start();
}

void TstMainWindowSort::cleanup() {
    m_program.reset();
}

void TstMainWindowSort::startsUnsortedWithNothingSelected() {
    for (TRadioButton* r :
         {Form2->RadioButton1, Form2->RadioButton2, Form2->RadioButton3, Form2->RadioButton4})
        QVERIFY(!r->Checked());
    QVERIFY(!Form2->CheckBox1->isChecked());
    QCOMPARE(Goods()->SQL().Count(), 8);
    QCOMPARE(OrderingLine(), QString());
    QVERIFY(Goods()->Active());
    QCOMPARE(Form2->DBGrid1->Model()->rowCount(), Goods()->RecordCount());
    QVERIFY(Goods()->RecordCount() > 10);
}

void TstMainWindowSort::literalAndOrder_data() {
    QTest::addColumn<int>("radio");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("probes");  // empty: the column is compared as numbers
    QTest::newRow("name asc") << 1 << false << "ORDER BY Наименование ASC"
                              << "Наименование" << kNameProbes;
    QTest::newRow("name desc") << 1 << true << "ORDER BY Наименование  DESC"
                               << "Наименование" << kNameProbes;
    QTest::newRow("description asc") << 2 << false << "ORDER BY description ASC"
                                     << "Описание" << kDescriptionProbes;
    QTest::newRow("description desc") << 2 << true << "ORDER BY description DESC"
                                      << "Описание" << kDescriptionProbes;
    QTest::newRow("supplier asc") << 3 << false << "ORDER BY  Поставщик  ASC"
                                  << "Поставщик" << kSupplierProbes;
    QTest::newRow("supplier desc") << 3 << true << "ORDER BY  Поставщик DESC"
                                   << "Поставщик" << kSupplierProbes;
    QTest::newRow("sale price asc") << 4 << false << "ORDER BY saleprice ASC"
                                    << "Цена продажи" << QStringList();
    QTest::newRow("sale price desc") << 4 << true << "ORDER BY saleprice DESC"
                                     << "Цена продажи" << QStringList();
}

void TstMainWindowSort::literalAndOrder() {
    QFETCH(int, radio);
    QFETCH(bool, descending);
    QFETCH(QString, literal);
    QFETCH(QString, column);
    QFETCH(QStringList, probes);
    AddProbeGoods();
    const int rows = Goods()->RecordCount();
    TRadioButton* radios[] = {Form2->RadioButton1, Form2->RadioButton2, Form2->RadioButton3,
                              Form2->RadioButton4};
    if (descending)
        QTest::mouseClick(Form2->CheckBox1, Qt::LeftButton);
    QCOMPARE(Form2->CheckBox1->isChecked(), descending);
    QTest::mouseClick(radios[radio - 1], Qt::LeftButton);

    QVERIFY(radios[radio - 1]->Checked());
    QCOMPARE(OrderingLine(), literal);
    QCOMPARE(Goods()->SQL().Count(), 8);
    QVERIFY(Goods()->Active());
    QCOMPARE(Goods()->RecNo(), 0);                                // shown from the first row
    QCOMPARE(Goods()->RecordCount(), rows + kNameProbes.size());  // read again: the probes are in
    const QStringList texts = GridColumn(column);
    QCOMPARE(texts.size(), Goods()->RecordCount());
    if (probes.isEmpty()) {
        const QVector<double> prices = Numbers(texts);
        for (int i = 1; i < prices.size(); ++i)
            QVERIFY2(descending ? prices[i - 1] >= prices[i] : prices[i - 1] <= prices[i],
                     qPrintable(texts[i - 1] + QStringLiteral(" / ") + texts[i]));
    } else {
        QStringList expected = probes;
        if (descending)
            std::reverse(expected.begin(), expected.end());
        QCOMPARE(Appearance(texts, probes), expected);
    }
    // Two sorts in a row leave only the latest clause.
    QTest::mouseClick(radios[radio % 4], Qt::LeftButton);
    QCOMPARE(Goods()->SQL().Count(), 8);
    QVERIFY(OrderingLine() != literal);
    QVERIFY(OrderingLine().startsWith(QStringLiteral("ORDER BY ")));
    QCOMPARE(Goods()->SQL()[6], QString());
    QCOMPARE(m_program->Boxes.Texts(), QStringList());
}

void TstMainWindowSort::checkBoxClearsRadiosWithoutReading() {
    QTest::mouseClick(Form2->RadioButton1, Qt::LeftButton);
    QStringList names = GridColumn(QStringLiteral("Наименование"));
    qint64 reads = Reads();
    QString line = OrderingLine();
    for (bool ticked : {true, false}) {
        QTest::mouseClick(Form2->CheckBox1, Qt::LeftButton);
        QCOMPARE(Form2->CheckBox1->isChecked(), ticked);
        for (TRadioButton* r :
             {Form2->RadioButton1, Form2->RadioButton2, Form2->RadioButton3, Form2->RadioButton4})
            QVERIFY(!r->Checked());
        QCOMPARE(OrderingLine(), line);
        QCOMPARE(Reads(), reads);
        QCOMPARE(GridColumn(QStringLiteral("Наименование")), names);
        QTest::mouseClick(Form2->RadioButton1, Qt::LeftButton);  // selects again, in the new direction
        QCOMPARE(OrderingLine(), ticked ? QStringLiteral("ORDER BY Наименование  DESC")
                                        : QStringLiteral("ORDER BY Наименование ASC"));
        QVERIFY(Reads() > reads);
        reads = Reads();
        line = OrderingLine();
        names = GridColumn(QStringLiteral("Наименование"));
    }
    // The keyboard clears them too: Space on the focused check box.
    Form2->CheckBox1->setFocus();
    const qint64 before = Reads();
    QTest::keyClick(Form2->CheckBox1, Qt::Key_Space);
    QVERIFY(Form2->CheckBox1->isChecked());
    QVERIFY(!Form2->RadioButton1->Checked());
    QCOMPARE(Reads(), before);
}

void TstMainWindowSort::selectedRadioAgainReadsNothing() {
    QTest::mouseClick(Form2->RadioButton2, Qt::LeftButton);
    QCOMPARE(OrderingLine(), QStringLiteral("ORDER BY description ASC"));
    Sql(QStringLiteral(
        "UPDATE wares SET description = 'ааа первая' WHERE Idwares = (SELECT min(Idwares) FROM period)"));
    const qint64 reads = Reads();
    QTest::mouseClick(Form2->RadioButton2, Qt::LeftButton);
    Form2->RadioButton2->setFocus();
    QTest::keyClick(Form2->RadioButton2, Qt::Key_Space);
    QVERIFY(Form2->RadioButton2->Checked());
    QCOMPARE(Reads(), reads);
    QVERIFY(!GridColumn(QStringLiteral("Описание")).contains(QStringLiteral("ааа первая")));
    // Moving to another radio runs only the new radio's handler, once: the one it leaves runs nothing.
    QTest::mouseClick(Form2->RadioButton3, Qt::LeftButton);
    QCOMPARE(Reads(), reads + 1);
    QCOMPARE(OrderingLine(), QStringLiteral("ORDER BY  Поставщик  ASC"));
    QVERIFY(!Form2->RadioButton2->Checked());
    QVERIFY(GridColumn(QStringLiteral("Описание")).contains(QStringLiteral("ааа первая")));
}

void TstMainWindowSort::addedGoodsShowAfterASort() {
    QTest::mouseClick(Form2->RadioButton4, Qt::LeftButton);
    const int rows = Form2->DBGrid1->Model()->rowCount();
    AddProbeGoods();
    QCOMPARE(Form2->DBGrid1->Model()->rowCount(), rows);  // nothing read yet
    QVERIFY(!GridColumn(QStringLiteral("Наименование")).contains(kNameProbes[0]));
    QTest::mouseClick(Form2->RadioButton1, Qt::LeftButton);
    QCOMPARE(Form2->DBGrid1->Model()->rowCount(), rows + kNameProbes.size());
    QCOMPARE(Appearance(GridColumn(QStringLiteral("Наименование")), kNameProbes), kNameProbes);
}

void TstMainWindowSort::failedReopenLeavesListClosed() {
    QTest::mouseClick(Form2->RadioButton1, Qt::LeftButton);
    QVERIFY(Form2->DBGrid1->Model()->rowCount() > 0);
    // The connection is lost: the next step that needs the database connects again and fails.
    DataModule3->ADOConnection1->Close();
    m_program->Db.MakeUnreachable();
    const QString message = TTestChecks::ThrownMessage([] {
        TADOConnection probe(nullptr, QStringLiteral("Probe"));
        probe.SetConnectionString(DataModule3->ADOConnection1->ConnectionString());
        probe.Open();
    });
    QVERIFY2(!message.startsWith('<'), qPrintable(message));  // no "<no exception>", nothing foreign
    m_program->Boxes.ClearSeen();

    QTest::mouseClick(Form2->RadioButton3, Qt::LeftButton);
    QCOMPARE(m_program->Boxes.Seen().size(), 1);
    QCOMPARE(m_program->Boxes.Seen().at(0).Text, ErrorBoxText(message));
    QCOMPARE(m_program->Boxes.Seen().at(0).Icon, int(QMessageBox::Critical));
    QCOMPARE(m_program->Boxes.Seen().at(0).Caption, m_program->Application.Title());
    QVERIFY(!Goods()->Active());
    QCOMPARE(OrderingLine(), QStringLiteral("ORDER BY  Поставщик  ASC"));
    QCOMPARE(Form2->DBGrid1->Model()->rowCount(), 0);
    for (int b = 0; b < TDBNavigator::ButtonCount; ++b)
        QVERIFY(!Form2->DBNavigator1->ButtonEnabled(TDBNavigator::TNavigateBtn(b)));

    // Back again: the next radio selected reads the list.
    m_program->Db.MakeReachable();
    m_program->Boxes.ClearSeen();
    QTest::mouseClick(Form2->RadioButton4, Qt::LeftButton);
    QCOMPARE(m_program->Boxes.Texts(), QStringList());
    QVERIFY(Goods()->Active());
    QCOMPARE(OrderingLine(), QStringLiteral("ORDER BY saleprice ASC"));
    QVERIFY(Form2->DBGrid1->Model()->rowCount() > 10);
}

void TstMainWindowSort::editedCellSurvivesASort() {
    QTest::mouseClick(Form2->RadioButton1, Qt::LeftButton);
    Form2->LabeledEdit1->SetText(QStringLiteral("047"));
    QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
    QVERIFY(Goods()->CanModify());
    const QString name = Goods()->FieldByName(QStringLiteral("Наименование"))->AsString();
    // A new purchase price typed into the first row's cell, then straight to another sort choice.
    TDBGrid* grid = Form2->DBGrid1;
    grid->setFocus();
    grid->SetSelectedIndex(3);
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY(grid->EditorMode());
    grid->InplaceEditor()->selectAll();
    QTest::keyClicks(grid->InplaceEditor(), QStringLiteral("12345"));
    QTest::mouseClick(Form2->RadioButton4, Qt::LeftButton);
    QCOMPARE(m_program->Boxes.Texts(), QStringList());
    QCOMPARE(OrderingLine(), QStringLiteral("ORDER BY saleprice ASC"));
    QVERIFY(Goods()->Active());
    TADOQuery check(nullptr, QStringLiteral("Check"));
    check.SetConnection(DataModule3->ADOConnection1);
    check.SQL().Add(QStringLiteral("SELECT orderprice FROM wares WHERE name = '%1'").arg(name));
    check.Open();
    QCOMPARE(check.Field(0)->AsString(), QStringLiteral("12345"));

    // A value the database refuses keeps the row being edited with what was typed; the list stays.
    grid->setFocus();
    grid->SetSelectedIndex(3);
    QTest::keyClick(grid, Qt::Key_F2);
    grid->InplaceEditor()->selectAll();
    QTest::keyClicks(grid->InplaceEditor(), QStringLiteral("-5"));
    m_program->Boxes.ClearSeen();
    QTest::mouseClick(Form2->RadioButton2, Qt::LeftButton);
    QCOMPARE(m_program->Boxes.Seen().size(), 1);
    QCOMPARE(Goods()->State(), dsEdit);
    QCOMPARE(Goods()->FieldByName(QStringLiteral("Цена закупа"))->AsString(), QStringLiteral("-5"));
    QCOMPARE(OrderingLine(), QStringLiteral("ORDER BY saleprice ASC"));
}

QTEST_MAIN(TstMainWindowSort)
#include "tst_mainwindow_sort.moc"
