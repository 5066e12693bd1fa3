// The sale entry window through its real controls, opened from the unlocked main window, with the
// database read back: the step shown on each opening and after each action, the header for the manager
// current in the manager picker's data set and the sales read again for its number, the lines for that
// sale with the ware current in the ware picker's data set, and what a refusal leaves.
#include <QGroupBox>
#include <QObject>
#include <QTest>

#include "TADOQuery.h"
#include "TADOTable.h"
#include "TBitBtn.h"
#include "TDBText.h"
#include "TEntryWindowFixture.h"
#include "TLabeledEdit.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit9.h"

namespace {

const QString kOneMore = QStringLiteral(
    "message: Для добавлния еще одного товара в данную покупку, выберите заново товар и укажите новое "
    "количество ");

// The demo data's sales end with number 20; the next header is sale 21.
constexpr int kNewSale = 21;

}  // namespace

class TstSaleEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void stepShown_data();
    void stepShown();
    void header_data();
    void header();
    void refusedHeader_data();
    void refusedHeader();
    void line_data();
    void line();
    void lineNotRecorded_data();
    void lineNotRecorded();

private:
    int Count(const QString& table) { return m_f->Scalar("select count(*) from " + table).toInt(); }
    int Step() const { return !Form9->GroupBox1->isHidden() + 2 * !Form9->GroupBox2->isHidden(); }
    void Header() { QTest::mouseClick(Form9->BitBtn1, Qt::LeftButton); }
    void Line(const QString& quantity) {
        TEntryWindowFixture::Type(Form9->LabeledEdit1, quantity);
        QTest::mouseClick(Form9->BitBtn2, Qt::LeftButton);
    }
    std::unique_ptr<TEntryWindowFixture> m_f;
};

void TstSaleEntry::init() {
    m_f = std::make_unique<TEntryWindowFixture>();
}

void TstSaleEntry::cleanup() {
    m_f.reset();
}

void TstSaleEntry::stepShown_data() {
    // Actions in the window; "reopen" closes it and opens it again from the menu item.
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("step");  // 1 or 2: the one group box shown
    QTest::newRow("opening") << QStringList{} << 1;
    QTest::newRow("manager picker closed") << QStringList{"manager"} << 1;
    QTest::newRow("header") << QStringList{"header"} << 2;
    QTest::newRow("ware picker closed in step 2") << QStringList{"header", "ware"} << 2;
    QTest::newRow("a line and its message") << QStringList{"header", "line"} << 2;
    QTest::newRow("a refused line") << QStringList{"header", "refused line"} << 2;
    QTest::newRow("opened again after step 2") << QStringList{"header", "reopen"} << 1;
    QTest::newRow("opened again, then a header") << QStringList{"header", "reopen", "header"} << 2;
}

void TstSaleEntry::stepShown() {
    QFETCH(QStringList, actions);
    QFETCH(int, step);
    QVERIFY(m_f->Start());
    QVector<QStringList> openings{{}};
    for (const QString& action : actions) {
        if (action == "reopen")
            openings.append(QStringList());
        else
            openings.last().append(action);
    }
    int shown = 0;
    for (int i = 0; i < openings.size(); ++i) {
        const auto steps = [&] {
            QCOMPARE(Step(), 1);
            for (const QString& action : openings[i]) {
                if (action == "manager")
                    m_f->Pick(Form9->Button1, DataModule3->ADOTable7, "Idmanager", 2);
                else if (action == "header")
                    Header();
                else if (action == "ware")
                    m_f->Pick(Form9->Button2, DataModule3->ADOTable3, "Idwares", 5);
                else if (action == "line")
                    Line("1");
                else if (action == "refused line")
                    Line("x");
            }
            shown = Step();
        };
        // The button and the menu item take turns.
        if (i % 2 == 0)
            m_f->WhileOpen(Form2->Button3, steps);
        else
            m_f->WhileOpen(Form2->N2, steps);
    }
    QCOMPARE(shown, step);
}

void TstSaleEntry::header_data() {
    QTest::addColumn<bool>("usePicker");
    QTest::addColumn<QVariant>("manager");  // the Idmanager moved to in the picker; null: no move
    QTest::addColumn<int>("expected");
    QTest::newRow("chosen in the manager picker") << true << QVariant(3) << 3;
    QTest::newRow("picker closed without a move") << true << QVariant() << 1;
    QTest::newRow("picker not used: the first manager") << false << QVariant() << 1;
}

void TstSaleEntry::header() {
    QFETCH(bool, usePicker);
    QFETCH(QVariant, manager);
    QFETCH(int, expected);
    QVERIFY(m_f->Start());
    const int sales = Count("sale");
    QString picker, name, saleShown;
    m_f->WhileOpen(Form2->Button3, [&] {
        if (usePicker)
            picker = m_f->Pick(Form9->Button1, DataModule3->ADOTable7, "Idmanager", manager);
        name = Form9->DBText1->Caption();
        Header();
        saleShown = Form9->DBText3->Caption();
    });
    QCOMPARE(picker, QString(usePicker ? "TForm10" : ""));
    QCOMPARE(name,
             m_f->Scalar(QString("select name from manager where Idmanager = %1").arg(expected)).toString());
    // The header stays when the window is closed before any line.
    QCOMPARE(Count("sale"), sales + 1);
    QCOMPARE(m_f->Scalar("select max(Idsale) from sale").toInt(), kNewSale);
    QCOMPARE(m_f->Scalar(QString("select idmanager from sale where Idsale = %1").arg(kNewSale)).toInt(),
             expected);
    QCOMPARE(DataModule3->ADOQuery8->SQL()[1], QString("VALUES ('%1')").arg(expected));
    // The sales were read again: the new one is their first row, and its number is what lines are sent with.
    QCOMPARE(saleShown, QString::number(kNewSale));
    QCOMPARE(DataModule3->ADOQuery9->RecordCount(), sales + 1);
    QCOMPARE(m_f->TakeBoxes(),
             QStringList(usePicker ? QStringList{"TForm9", "TForm10"} : QStringList{"TForm9"}));
}

void TstSaleEntry::refusedHeader_data() {
    QTest::addColumn<QStringList>("before");  // run on the database before the program starts
    QTest::addColumn<QVariant>("manager");    // the Idmanager moved to in the picker; null: not used
    // Run while the window is up, as another program would; the sale it adds would be read back if the
    // sales were read again.
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("clause");
    QTest::newRow("no manager rows: an empty value")
        << QStringList{"delete from saleitem", "delete from sale", "delete from manager"} << QVariant()
        << QStringList{"insert into manager(name) values ('Новикова Инна')",
                       "insert into sale(idmanager) select max(Idmanager) from manager"}
        << "VALUES ('')";
    QTest::newRow("manager deleted by another program")
        << QStringList{"insert into manager(name) values ('Уволенный Пётр')"} << QVariant(6)
        << QStringList{"delete from manager where Idmanager = 6", "insert into sale(idmanager) values (1)"}
        << "VALUES ('6')";
}

void TstSaleEntry::refusedHeader() {
    QFETCH(QStringList, before);
    QFETCH(QVariant, manager);
    QFETCH(QStringList, after);
    QFETCH(QString, clause);
    QVERIFY(m_f->Start(before));
    const int sales = Count("sale");
    const QString saleShown = Form9->DBText3->Caption();
    int step = 0;
    m_f->WhileOpen(Form2->Button3, [&] {
        if (!manager.isNull())
            m_f->Pick(Form9->Button1, DataModule3->ADOTable7, "Idmanager", manager);
        for (const QString& sql : after)
            m_f->Execute(sql);
        Header();
        step = Step();
    });
    QCOMPARE(step, 1);
    QCOMPARE(Count("sale"), sales + 1);
    QCOMPARE(DataModule3->ADOQuery8->SQL()[1], clause);
    QCOMPARE(Form9->DBText3->Caption(), saleShown);
    QCOMPARE(DataModule3->ADOQuery9->RecordCount(), sales);
    const QStringList boxes = m_f->TakeBoxes();
    QCOMPARE(boxes.size(), manager.isNull() ? 2 : 3);
    QVERIFY2(boxes.last().startsWith("error: "), qPrintable(boxes.last()));
}

void TstSaleEntry::line_data() {
    QTest::addColumn<QVariant>("ware");   // Idwares chosen in the ware picker; null: not used
    QTest::addColumn<bool>("movedLast");  // another window moved the wares to their last row before
    QTest::addColumn<int>("lines");       // lines added to the one sale
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");
    QTest::newRow("ware chosen in the picker") << QVariant(7) << false << 1 << "2" << 7;
    QTest::newRow("picker not used: the first ware") << QVariant() << false << 1 << "4" << 1;
    QTest::newRow("ware moved by another window") << QVariant() << true << 1 << "1" << 40;
    QTest::newRow("three lines of one sale") << QVariant(12) << false << 3 << "3" << 12;
}

void TstSaleEntry::line() {
    QFETCH(QVariant, ware);
    QFETCH(bool, movedLast);
    QFETCH(int, lines);
    QFETCH(QString, typed);
    QFETCH(int, expected);
    QVERIFY(m_f->Start());
    if (movedLast)
        DataModule3->ADOTable3->Last();
    const int before = Count("saleitem");
    QStringList expectedBoxes{"TForm9"};
    QString name;
    int step = 0;
    m_f->WhileOpen(Form2->Button3, [&] {
        Header();
        if (!ware.isNull()) {
            m_f->Pick(Form9->Button2, DataModule3->ADOTable3, "Idwares", ware);
            expectedBoxes << "TForm5";
        }
        name = Form9->DBText4->Caption();
        for (int i = 0; i < lines; ++i) {
            Line(typed);
            QCOMPARE(Form9->LabeledEdit1->Text(), QString());
            expectedBoxes << kOneMore;
        }
        step = Step();
    });
    QCOMPARE(step, 2);
    QCOMPARE(Count("saleitem"), before + lines);
    QCOMPARE(Count(QString("saleitem where idsale = %1 and idwares = %2 and quantity = %3")
                       .arg(kNewSale)
                       .arg(expected)
                       .arg(typed)),
             lines);
    QCOMPARE(name,
             m_f->Scalar(QString("select name from wares where Idwares = %1").arg(expected)).toString());
    QCOMPARE(DataModule3->ADOQuery10->SQL()[1],
             QString("VALUES ('%1','%2','%3')").arg(kNewSale).arg(expected).arg(typed));
    QCOMPARE(m_f->TakeBoxes(), expectedBoxes);
}

void TstSaleEntry::lineNotRecorded_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("quantity");  // as the values clause holds it
    QTest::newRow("empty: no check, the database refuses") << ""
                                                           << "";
    QTest::newRow("letters") << "abc"
                             << "abc";
    QTest::newRow("Cyrillic letters") << "два"
                                      << "два";
    QTest::newRow("zero") << "0"
                          << "0";
    QTest::newRow("negative") << "-3"
                              << "-3";
    QTest::newRow("an apostrophe") << "1'2"
                                   << "1''2";
    QTest::newRow("a second row smuggled in") << "1'),('21','1','1"
                                              << "1''),(''21'',''1'',''1";
}

void TstSaleEntry::lineNotRecorded() {
    QFETCH(QString, typed);
    QFETCH(QString, quantity);
    QVERIFY(m_f->Start());
    const int before = Count("saleitem");
    int step = 0;
    m_f->WhileOpen(Form2->Button3, [&] {
        Header();
        Line(typed);
        step = Step();
    });
    QCOMPARE(step, 2);
    QCOMPARE(Count("saleitem"), before);
    QCOMPARE(DataModule3->ADOQuery10->SQL()[1],
             QString("VALUES ('%1','1','%2')").arg(kNewSale).arg(quantity));
    QCOMPARE(Form9->LabeledEdit1->Text(), typed);
    const QStringList boxes = m_f->TakeBoxes();
    QCOMPARE(boxes.size(), 2);
    // The engine's refusal of the value for its column, not a statement broken by the text.
    QVERIFY2(boxes.last().startsWith("error: ") && boxes.last().contains("quantity"),
             qPrintable(boxes.last()));
}

QTEST_MAIN(TstSaleEntry)
#include "tst_saleentry.moc"
