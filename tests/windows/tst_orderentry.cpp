// The order entry window through its real controls, opened from the unlocked main window, with the
// database read back: the header for the supplier current in the supplier picker's data set, the line
// for the order current in the grid and the ware chosen in the order-line ware picker, the quantity
// check, and what a refusal leaves (nothing written, nothing typed lost, no message).
#include <QObject>
#include <QTest>

#include "TADOQuery.h"
#include "TADOTable.h"
#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBText.h"
#include "TEntryWindowFixture.h"
#include "TLabeledEdit.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit7.h"

namespace {

const QString kMoreGoods =
    QStringLiteral("message: Для добавления еще товаров выберите другой товар и укажите заново количество.");

// A supplier the demo data does not refer to, so another program can delete it while the window works.
const QString kSpareSupplier = QStringLiteral("insert into provider(name) values ('ООО «Однодневка»')");

}  // namespace

class TstOrderEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void header_data();
    void header();
    void refusedHeader_data();
    void refusedHeader();
    void line_data();
    void line();
    void lineNotRecorded_data();
    void lineNotRecorded();
    void lineWithoutOrder();

private:
    int Count(const QString& table) { return m_f->Scalar("select count(*) from " + table).toInt(); }
    std::unique_ptr<TEntryWindowFixture> m_f;
};

void TstOrderEntry::init() {
    m_f = std::make_unique<TEntryWindowFixture>();
}

void TstOrderEntry::cleanup() {
    m_f.reset();
}

void TstOrderEntry::header_data() {
    QTest::addColumn<bool>("usePicker");
    QTest::addColumn<QVariant>("supplier");  // the Idprovider moved to in the picker; null: no move
    QTest::addColumn<int>("expected");
    QTest::newRow("chosen in the supplier picker") << true << QVariant(3) << 3;
    QTest::newRow("picker closed without a move") << true << QVariant() << 1;
    QTest::newRow("picker not used: the first supplier") << false << QVariant() << 1;
}

void TstOrderEntry::header() {
    QFETCH(bool, usePicker);
    QFETCH(QVariant, supplier);
    QFETCH(int, expected);
    QVERIFY(m_f->Start());
    const int orders = Count("[order]");
    const int listed = DataModule3->ADOTable6->RecordCount();
    QString picker;
    m_f->WhileOpen(Form2->Button2, [&] {
        if (usePicker)
            picker = m_f->Pick(Form7->Button2, DataModule3->ADOTable4, "Idprovider", supplier);
        TEntryWindowFixture::Type(Form7->LabeledEdit1, "9");
        QCOMPARE(
            Form7->DBText2->Caption(),
            m_f->Scalar(QString("select name from provider where Idprovider = %1").arg(expected)).toString());
        QTest::mouseClick(Form7->BitBtn1, Qt::LeftButton);
    });
    QCOMPARE(picker, QString(usePicker ? "TForm6" : ""));
    QCOMPARE(Count("[order]"), orders + 1);
    QCOMPARE(m_f->Scalar("select Idprovider from [order] order by Idorder desc limit 1").toInt(), expected);
    QCOMPARE(DataModule3->ADOQuery6->SQL()[1], QString("VALUES ('%1')").arg(expected));
    // The blank replaces what was typed; the orders are not read again, so the new one is not listed.
    QCOMPARE(Form7->LabeledEdit1->Text(), QString(" "));
    QCOMPARE(DataModule3->ADOTable6->RecordCount(), listed);
    QCOMPARE(m_f->TakeBoxes(),
             QStringList(usePicker ? QStringList{"TForm7", "TForm6"} : QStringList{"TForm7"}));
}

void TstOrderEntry::refusedHeader_data() {
    QTest::addColumn<QStringList>("before");  // run on the database before the program starts
    QTest::addColumn<QString>("after");       // run while the window is up, as another program would
    QTest::addColumn<QString>("clause");
    QTest::newRow("no supplier rows: an empty value")
        << QStringList{"delete from orderitem", "delete from [order]", "delete from period",
                       "delete from provider"}
        << QString() << "VALUES ('')";
    QTest::newRow("supplier deleted by another program")
        << QStringList{kSpareSupplier} << "delete from provider where Idprovider = 9"
        << "VALUES ('9')";
}

void TstOrderEntry::refusedHeader() {
    QFETCH(QStringList, before);
    QFETCH(QString, after);
    QFETCH(QString, clause);
    QVERIFY(m_f->Start(before));
    const int orders = Count("[order]");
    m_f->WhileOpen(Form2->Button2, [&] {
        if (!after.isEmpty()) {
            m_f->Pick(Form7->Button2, DataModule3->ADOTable4, "Idprovider", 9);
            m_f->Execute(after);
        }
        TEntryWindowFixture::Type(Form7->LabeledEdit1, "4");
        QTest::mouseClick(Form7->BitBtn1, Qt::LeftButton);
        // The window goes on after the error box.
        QVERIFY(Form7->isVisible());
    });
    QCOMPARE(Count("[order]"), orders);
    QCOMPARE(DataModule3->ADOQuery6->SQL()[1], clause);
    QCOMPARE(Form7->LabeledEdit1->Text(), QString("4"));
    const QStringList boxes = m_f->TakeBoxes();
    QCOMPARE(boxes.size(), after.isEmpty() ? 2 : 3);
    QVERIFY2(boxes.last().startsWith("error: "), qPrintable(boxes.last()));
}

void TstOrderEntry::line_data() {
    QTest::addColumn<QVariant>("supplier");  // Idprovider chosen in the supplier picker; null: not used
    QTest::addColumn<int>("orderMoves");     // Down keys in the order grid
    QTest::addColumn<QVariant>("ware");      // Idwares chosen in the ware picker; null: not used
    QTest::addColumn<bool>("afterHeader");   // an order header added first leaves its blank in the edit
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("order");
    QTest::addColumn<int>("wares");
    QTest::addColumn<int>("quantity");
    // Supplier 1 has the orders 1 and 9 and delivers the wares 8, 16, 24 and 32; supplier 4 has order 8.
    QTest::newRow("ware chosen in the picker")
        << QVariant() << 0 << QVariant(16) << false << "5" << 1 << 16 << 5;
    QTest::newRow("another order of the supplier")
        << QVariant() << 1 << QVariant(32) << false << "12" << 9 << 32 << 12;
    QTest::newRow("another supplier, then its ware")
        << QVariant(4) << 0 << QVariant(25) << false << "2" << 8 << 25 << 2;
    QTest::newRow("picker not used: the supplier's first ware")
        << QVariant() << 0 << QVariant() << false << "3" << 1 << 8 << 3;
    QTest::newRow("typed after the header's blank")
        << QVariant() << 0 << QVariant(24) << true << "7" << 1 << 24 << 7;
}

void TstOrderEntry::line() {
    QFETCH(QVariant, supplier);
    QFETCH(int, orderMoves);
    QFETCH(QVariant, ware);
    QFETCH(bool, afterHeader);
    QFETCH(QString, typed);
    QFETCH(int, order);
    QFETCH(int, wares);
    QFETCH(int, quantity);
    QVERIFY(m_f->Start());
    const int lines = Count("orderitem");
    QStringList expectedBoxes{"TForm7"};
    QString shown;
    m_f->WhileOpen(Form2->Button2, [&] {
        if (!supplier.isNull()) {
            m_f->Pick(Form7->Button2, DataModule3->ADOTable4, "Idprovider", supplier);
            expectedBoxes << "TForm6";
        }
        Form7->DBGrid1->setFocus();
        for (int i = 0; i < orderMoves; ++i)
            QTest::keyClick(Form7->DBGrid1, Qt::Key_Down);
        if (!ware.isNull()) {
            m_f->Pick(Form7->Button1, DataModule3->ADOTable11, "Idwares", ware);
            expectedBoxes << "TForm14";
        }
        if (afterHeader)
            QTest::mouseClick(Form7->BitBtn1, Qt::LeftButton);
        TEntryWindowFixture::Type(Form7->LabeledEdit1, typed);
        shown = Form7->DBText3->Caption();
        QTest::mouseClick(Form7->BitBtn2, Qt::LeftButton);
    });
    QCOMPARE(Count("orderitem"), lines + 1);
    QCOMPARE(m_f->Scalar("select idorder from orderitem order by Idorderitem desc limit 1").toInt(), order);
    QCOMPARE(m_f->Scalar("select idwares from orderitem order by Idorderitem desc limit 1").toInt(), wares);
    QCOMPARE(m_f->Scalar("select warescount from orderitem order by Idorderitem desc limit 1").toInt(),
             quantity);
    // What the user saw is the ware recorded.
    QCOMPARE(shown,
             m_f->Scalar(QString("select description from wares where Idwares = %1").arg(wares)).toString());
    const QString sent = afterHeader ? " " + typed : typed;
    QCOMPARE(DataModule3->ADOQuery7->SQL()[1],
             QString("VALUES ('%1','%2','%3')").arg(order).arg(wares).arg(sent));
    QCOMPARE(Form7->LabeledEdit1->Text(), QString(" "));
    QCOMPARE(m_f->TakeBoxes(), expectedBoxes << kMoreGoods);
}

void TstOrderEntry::lineNotRecorded_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("clause");  // line 1 of the template afterwards; empty: nothing was sent
    QTest::newRow("empty: asked for") << ""
                                      << "";
    QTest::newRow("letters") << "abc"
                             << "VALUES ('1','8','abc')";
    QTest::newRow("Cyrillic letters") << "пять"
                                      << "VALUES ('1','8','пять')";
    QTest::newRow("a blank") << " "
                             << "VALUES ('1','8',' ')";
    QTest::newRow("zero") << "0"
                          << "VALUES ('1','8','0')";
    QTest::newRow("an apostrophe") << "2'"
                                   << "VALUES ('1','8','2''')";
    QTest::newRow("a second row smuggled in") << "5'),('1','8','5"
                                              << "VALUES ('1','8','5''),(''1'',''8'',''5')";
}

void TstOrderEntry::lineNotRecorded() {
    QFETCH(QString, typed);
    QFETCH(QString, clause);
    QVERIFY(m_f->Start());
    const int lines = Count("orderitem");
    m_f->WhileOpen(Form2->Button2, [&] {
        TEntryWindowFixture::Type(Form7->LabeledEdit1, typed);
        QTest::mouseClick(Form7->BitBtn2, Qt::LeftButton);
    });
    QCOMPARE(Count("orderitem"), lines);
    QCOMPARE(DataModule3->ADOQuery7->SQL()[1], clause);
    QCOMPARE(Form7->LabeledEdit1->Text(), typed);
    const QStringList boxes = m_f->TakeBoxes();
    QCOMPARE(boxes.size(), 2);
    if (typed.isEmpty()) {
        QCOMPARE(boxes.last(), QString("message: Введите количество!"));
    } else {
        // The engine's refusal of the value for its column, not a statement broken by the text.
        QVERIFY2(boxes.last().startsWith("error: ") && boxes.last().contains("warescount"),
                 qPrintable(boxes.last()));
    }
}

void TstOrderEntry::lineWithoutOrder() {
    // Supplier 2 without orders: no order is current and its ware picker lists nothing.
    QVERIFY(m_f->Start(
        {"delete from orderitem where idorder in (select Idorder from [order] where Idprovider = 2)",
         "delete from [order] where Idprovider = 2"}));
    const int lines = Count("orderitem");
    m_f->WhileOpen(Form2->Button2, [&] {
        m_f->Pick(Form7->Button2, DataModule3->ADOTable4, "Idprovider", 2);
        QCOMPARE(DataModule3->ADOTable6->RecordCount(), 0);
        m_f->Pick(Form7->Button1, DataModule3->ADOTable11, "Idwares", QVariant());
        QCOMPARE(Form7->DBText5->Caption(), QString());
        QCOMPARE(Form7->DBText3->Caption(), QString());
        TEntryWindowFixture::Type(Form7->LabeledEdit1, "5");
        QTest::mouseClick(Form7->BitBtn2, Qt::LeftButton);
    });
    QCOMPARE(Count("orderitem"), lines);
    QCOMPARE(DataModule3->ADOQuery7->SQL()[1], QString("VALUES ('','','5')"));
    QCOMPARE(Form7->LabeledEdit1->Text(), QString("5"));
    const QStringList boxes = m_f->TakeBoxes();
    QCOMPARE(boxes.mid(0, 3), (QStringList{"TForm7", "TForm6", "TForm14"}));
    QCOMPARE(boxes.size(), 4);
    QVERIFY2(boxes.last().startsWith("error: "), qPrintable(boxes.last()));
}

QTEST_MAIN(TstOrderEntry)
#include "tst_orderentry.moc"
