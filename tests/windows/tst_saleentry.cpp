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
#include "TStatementRecorder.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit9.h"

namespace {

const QString kOneMore = QStringLiteral(
    "message: Для добавлния еще одного товара в данную покупку, выберите заново товар и укажите новое "
    "количество ");

const QVariant kNotUsed = TEntryWindowFixture::NotUsed();
const QVariant kNoMove = TEntryWindowFixture::NoMove();

}  // namespace

class TstSaleEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_f = std::make_unique<TEntryWindowFixture>(); }
    void cleanup() { m_f.reset(); }
    void stepShown_data();
    void stepShown();
    void header_data();
    void header();
    void line_data();
    void line();

private:
    int Step() const { return !Form9->GroupBox1->isHidden() + 2 * !Form9->GroupBox2->isHidden(); }
    void Header() { QTest::mouseClick(Form9->BitBtn1, Qt::LeftButton); }
    void Line(const QString& quantity) {
        TEntryWindowFixture::Type(Form9->LabeledEdit1, quantity);
        QTest::mouseClick(Form9->BitBtn2, Qt::LeftButton);
    }
    std::unique_ptr<TEntryWindowFixture> m_f;
};

void TstSaleEntry::stepShown_data() {
    // Actions in the window; "reopen" closes it and opens it again from the menu item. The step after a
    // header or a line, refused or not, is checked with them below.
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("step");  // 1 or 2: the one group box shown
    QTest::newRow("opening") << QStringList{} << 1;
    QTest::newRow("manager picker closed") << QStringList{"manager"} << 1;
    QTest::newRow("ware picker closed in step 2") << QStringList{"header", "ware"} << 2;
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
    QTest::addColumn<QStringList>("before");  // run on the database before the program starts
    QTest::addColumn<QVariant>("manager");    // the Idmanager chosen in the manager picker
    QTest::addColumn<QString>("after");       // run by another program while the window is up
    QTest::addColumn<QString>("clause");
    QTest::addColumn<int>("recorded");  // the Idmanager of the new sale; 0: refused
    QTest::addColumn<bool>("raced");    // another program records a sale between the header and the re-read
    QTest::newRow("chosen in the manager picker") << QStringList() << QVariant(3) << ""
                                                  << "VALUES ('3')" << 3 << false;
    QTest::newRow("another program's sale at once after it")
        << QStringList() << QVariant(3) << "" << "VALUES ('3')" << 3 << true;
    QTest::newRow("picker closed without a move") << QStringList() << kNoMove << ""
                                                  << "VALUES ('1')" << 1 << false;
    QTest::newRow("picker not used: the first manager") << QStringList() << kNotUsed << ""
                                                        << "VALUES ('1')" << 1 << false;
    QTest::newRow("no manager rows: an empty value")
        << QStringList{"delete from saleitem", "delete from sale", "delete from manager"} << kNotUsed
        << "insert into manager(name) values ('Новикова Инна')"
        << "VALUES ('')" << 0 << false;
    QTest::newRow("manager deleted by another program")
        << QStringList{"insert into manager(name) values ('Уволенный Пётр')"} << QVariant(6)
        << "delete from manager where Idmanager = 6"
        << "VALUES ('6')" << 0 << true;
}

void TstSaleEntry::header() {
    QFETCH(QStringList, before);
    QFETCH(QVariant, manager);
    QFETCH(QString, after);
    QFETCH(QString, clause);
    QFETCH(int, recorded);
    QFETCH(bool, raced);
    TStatementRecorder statements;
    bool racing = false;
    statements.AfterEach([&](const QString& statement) {
        if (!raced || !racing || !statement.startsWith(QLatin1String("insert into sale(")))
            return;
        racing = false;  // the other program's own insert is seen here as well
        m_f->Execute("insert into sale(idmanager) select max(Idmanager) from manager");
    });
    QVERIFY(m_f->Start(before));
    const int sales = m_f->Count("sale");
    const QString saleBefore = Form9->DBText3->Caption();
    QString name, saleShown;
    int step = 0;
    m_f->WhileOpen(Form2->Button3, [&] {
        m_f->Pick(Form9->Button1, DataModule3->ADOTable7, "Idmanager", manager);
        if (!after.isEmpty())
            m_f->Execute(after);
        // Another program's sale: the sales read again would show its number, or the new one's above it.
        m_f->Execute("insert into sale(idmanager) select min(Idmanager) from manager");
        name = Form9->DBText1->Caption();
        racing = true;
        Header();
        racing = false;
        saleShown = Form9->DBText3->Caption();
        step = Step();
    });
    const QStringList seen = m_f->TakeBoxes();
    QCOMPARE(DataModule3->ADOQuery8->SQL()[1], clause);
    QStringList boxes{"TForm9"};
    if (manager.isValid())
        boxes << "TForm10";
    if (recorded) {
        // The header stays when the window is closed before any line.
        const int others = raced ? 2 : 1;
        QCOMPARE(m_f->Count("sale"), sales + 1 + others);
        const QVariant own =
            m_f->Scalar(QString("select Idsale from sale order by Idsale desc limit 1 offset %1").arg(others - 1));
        QCOMPARE(m_f->Scalar("select idmanager from sale where Idsale = " + own.toString()).toInt(), recorded);
        QCOMPARE(name, m_f->Scalar(QString("select name from manager where Idmanager = %1").arg(recorded)));
        // Read again: the new sale is current, also below another program's newer one, and its number is
        // what the lines are sent with.
        QCOMPARE(saleShown, own.toString());
        QCOMPARE(DataModule3->ADOQuery9->RecordCount(), sales + 1 + others);
        QCOMPARE(step, 2);
    } else {
        QCOMPARE(m_f->Count("sale"), sales + 1);
        QCOMPARE(saleShown, saleBefore);
        QCOMPARE(DataModule3->ADOQuery9->RecordCount(), sales);
        QCOMPARE(step, 1);
        boxes << "error";
    }
    QCOMPARE(seen, boxes);
}

void TstSaleEntry::line_data() {
    QTest::addColumn<QVariant>("ware");   // the Idwares chosen in the ware picker
    QTest::addColumn<bool>("movedLast");  // another window moved the wares to their last row before
    QTest::addColumn<int>("lines");       // lines added to the one sale
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("clause");
    QTest::addColumn<bool>("recorded");
    // The demo data's sales end with number 20, so the header makes sale 21.
    QTest::newRow("ware chosen in the picker") << QVariant(7) << false << 1 << "2"
                                               << "VALUES ('21','7','2')" << true;
    QTest::newRow("picker closed without a move: the first ware") << kNoMove << false << 1 << "4"
                                                                  << "VALUES ('21','1','4')" << true;
    QTest::newRow("ware moved by another window") << kNotUsed << true << 1 << "1"
                                                  << "VALUES ('21','40','1')" << true;
    QTest::newRow("three lines of one sale") << QVariant(12) << false << 3 << "3"
                                             << "VALUES ('21','12','3')" << true;
    QTest::newRow("empty: no check, the database refuses") << kNotUsed << false << 1 << ""
                                                           << "VALUES ('21','1','')" << false;
    QTest::newRow("letters") << kNotUsed << false << 1 << "abc"
                             << "VALUES ('21','1','abc')" << false;
    QTest::newRow("Cyrillic letters") << kNotUsed << false << 1 << "два"
                                      << "VALUES ('21','1','два')" << false;
    QTest::newRow("zero") << kNotUsed << false << 1 << "0"
                          << "VALUES ('21','1','0')" << false;
    QTest::newRow("negative") << kNotUsed << false << 1 << "-3"
                              << "VALUES ('21','1','-3')" << false;
    QTest::newRow("an apostrophe") << kNotUsed << false << 1 << "1'2"
                                   << "VALUES ('21','1','1''2')" << false;
    QTest::newRow("a second row smuggled in") << kNotUsed << false << 1 << "1'),('21','1','1"
                                              << "VALUES ('21','1','1''),(''21'',''1'',''1')" << false;
}

void TstSaleEntry::line() {
    QFETCH(QVariant, ware);
    QFETCH(bool, movedLast);
    QFETCH(int, lines);
    QFETCH(QString, typed);
    QFETCH(QString, clause);
    QFETCH(bool, recorded);
    QVERIFY(m_f->Start());
    if (movedLast)
        DataModule3->ADOTable3->Last();
    const int before = m_f->Count("saleitem");
    QString name, kept;
    int step = 0;
    m_f->WhileOpen(Form2->Button3, [&] {
        Header();
        m_f->Pick(Form9->Button2, DataModule3->ADOTable3, "Idwares", ware);
        name = Form9->DBText4->Caption();
        for (int i = 0; i < lines; ++i) {
            Line(typed);
            kept = Form9->LabeledEdit1->Text();
        }
        step = Step();
    });
    const QStringList seen = m_f->TakeBoxes();
    QCOMPARE(step, 2);
    QCOMPARE(DataModule3->ADOQuery10->SQL()[1], clause);
    const QStringList values = clause.mid(9, clause.size() - 11).split("','");  // VALUES ('...')
    QStringList boxes{"TForm9"};
    if (ware.isValid())
        boxes << "TForm5";
    if (recorded) {
        QCOMPARE(m_f->Count("saleitem"), before + lines);
        QCOMPARE(m_f->Count(QString("saleitem where idsale = %1 and idwares = %2 and quantity = %3")
                                .arg(values[0], values[1], values[2])),
                 lines);
        QCOMPARE(name, m_f->Scalar("select name from wares where Idwares = " + values[1]));
        QCOMPARE(kept, QString());
        for (int i = 0; i < lines; ++i)
            boxes << kOneMore;
    } else {
        QCOMPARE(m_f->Count("saleitem"), before);
        QCOMPARE(kept, typed);
        // The engine's refusal of a value for its column, not a statement broken by the text.
        QVERIFY2(m_f->LastError().contains("quantity"), qPrintable(m_f->LastError()));
        boxes << "error";
    }
    QCOMPARE(seen, boxes);
}

QTEST_MAIN(TstSaleEntry)
#include "tst_saleentry.moc"
