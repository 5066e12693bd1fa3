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

const QVariant kNotUsed = TEntryWindowFixture::NotUsed();
const QVariant kNoMove = TEntryWindowFixture::NoMove();

}  // namespace

class TstOrderEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_f = std::make_unique<TEntryWindowFixture>(); }
    void cleanup() { m_f.reset(); }
    void header_data();
    void header();
    void line_data();
    void line();

private:
    std::unique_ptr<TEntryWindowFixture> m_f;
};

void TstOrderEntry::header_data() {
    QTest::addColumn<QStringList>("before");  // run on the database before the program starts
    QTest::addColumn<QVariant>("supplier");   // the Idprovider chosen in the supplier picker
    QTest::addColumn<QString>("after");       // run by another program while the window is up
    QTest::addColumn<QString>("clause");
    QTest::addColumn<int>("recorded");  // the Idprovider of the new order; 0: refused
    QTest::newRow("chosen in the supplier picker") << QStringList() << QVariant(3) << ""
                                                   << "VALUES ('3')" << 3;
    QTest::newRow("picker closed without a move") << QStringList() << kNoMove << ""
                                                  << "VALUES ('1')" << 1;
    QTest::newRow("picker not used: the first supplier") << QStringList() << kNotUsed << ""
                                                         << "VALUES ('1')" << 1;
    QTest::newRow("no supplier rows: an empty value")
        << QStringList{"delete from orderitem", "delete from [order]", "delete from period",
                       "delete from provider"}
        << kNotUsed << ""
        << "VALUES ('')" << 0;
    QTest::newRow("supplier deleted by another program")
        << QStringList{"insert into provider(name) values ('ООО «Однодневка»')"} << QVariant(9)
        << "delete from provider where Idprovider = 9"
        << "VALUES ('9')" << 0;
}

void TstOrderEntry::header() {
    QFETCH(QStringList, before);
    QFETCH(QVariant, supplier);
    QFETCH(QString, after);
    QFETCH(QString, clause);
    QFETCH(int, recorded);
    QVERIFY(m_f->Start(before));
    const int orders = m_f->Count("[order]");
    const int listed = DataModule3->ADOTable6->RecordCount();
    QString name;
    m_f->WhileOpen(Form2->Button2, [&] {
        m_f->Pick(Form7->Button2, DataModule3->ADOTable4, "Idprovider", supplier);
        if (!after.isEmpty())
            m_f->Execute(after);
        TEntryWindowFixture::Type(Form7->LabeledEdit1, "9");
        name = Form7->DBText2->Caption();
        QTest::mouseClick(Form7->BitBtn1, Qt::LeftButton);
    });
    QCOMPARE(DataModule3->ADOQuery6->SQL()[1], clause);
    QStringList boxes{"TForm7"};
    if (supplier.isValid())
        boxes << "TForm6";
    if (recorded) {
        QCOMPARE(m_f->Count("[order]"), orders + 1);
        QCOMPARE(m_f->Scalar("select Idprovider from [order] order by Idorder desc limit 1").toInt(),
                 recorded);
        QCOMPARE(name, m_f->Scalar(QString("select name from provider where Idprovider = %1").arg(recorded)));
        // The blank replaces what was typed; the orders are not read again, so the new one is not listed.
        QCOMPARE(Form7->LabeledEdit1->Text(), QString(" "));
        QCOMPARE(DataModule3->ADOTable6->RecordCount(), listed);
    } else {
        QCOMPARE(m_f->Count("[order]"), orders);
        QCOMPARE(Form7->LabeledEdit1->Text(), QString("9"));
        boxes << "error";
    }
    QCOMPARE(m_f->TakeBoxes(), boxes);
}

void TstOrderEntry::line_data() {
    QTest::addColumn<QStringList>("before");  // run on the database before the program starts
    QTest::addColumn<QVariant>("supplier");   // the Idprovider chosen in the supplier picker
    QTest::addColumn<int>("orderMoves");      // Down keys in the order grid
    QTest::addColumn<QVariant>("ware");       // the Idwares chosen in the order-line ware picker
    QTest::addColumn<bool>("afterHeader");    // an order header first leaves its blank in the edit
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("clause");  // line 1 of the template afterwards; empty: nothing was sent
    QTest::addColumn<QString>("row");     // idorder,idwares,warescount as written; empty: nothing written
    // Supplier 1 has the orders 1 and 9 and delivers the wares 8, 16, 24 and 32; supplier 4 has order 8.
    const QStringList none;
    QTest::newRow("ware chosen in the picker") << none << kNotUsed << 0 << QVariant(16) << false << "5"
                                               << "VALUES ('1','16','5')"
                                               << "1,16,5";
    QTest::newRow("another order of the supplier") << none << kNotUsed << 1 << QVariant(32) << false << "12"
                                                   << "VALUES ('9','32','12')"
                                                   << "9,32,12";
    QTest::newRow("another supplier, then its ware")
        << none << QVariant(4) << 0 << QVariant(25) << false << "2"
        << "VALUES ('8','25','2')"
        << "8,25,2";
    QTest::newRow("picker closed without a move: the supplier's first ware")
        << none << kNotUsed << 0 << kNoMove << false << "3"
        << "VALUES ('1','8','3')"
        << "1,8,3";
    QTest::newRow("typed after the header's blank") << none << kNotUsed << 0 << QVariant(24) << true << "7"
                                                    << "VALUES ('1','24',' 7')"
                                                    << "1,24,7";
    QTest::newRow("empty: asked for") << none << kNotUsed << 0 << kNotUsed << false << ""
                                      << ""
                                      << "";
    QTest::newRow("a blank alone") << none << kNotUsed << 0 << kNotUsed << true << ""
                                   << "VALUES ('1','8',' ')"
                                   << "";
    QTest::newRow("letters") << none << kNotUsed << 0 << kNotUsed << false << "abc"
                             << "VALUES ('1','8','abc')"
                             << "";
    QTest::newRow("Cyrillic letters") << none << kNotUsed << 0 << kNotUsed << false << "пять"
                                      << "VALUES ('1','8','пять')"
                                      << "";
    QTest::newRow("zero") << none << kNotUsed << 0 << kNotUsed << false << "0"
                          << "VALUES ('1','8','0')"
                          << "";
    QTest::newRow("an apostrophe") << none << kNotUsed << 0 << kNotUsed << false << "2'"
                                   << "VALUES ('1','8','2''')"
                                   << "";
    QTest::newRow("a second row smuggled in")
        << none << kNotUsed << 0 << kNotUsed << false << "5'),('1','8','5"
        << "VALUES ('1','8','5''),(''1'',''8'',''5')"
        << "";
    // Supplier 2 without orders: no order is current and the ware picker lists nothing.
    QTest::newRow("supplier without orders")
        << QStringList{"delete from orderitem where idorder in (select Idorder from [order] where Idprovider = 2)",
                       "delete from [order] where Idprovider = 2"}
        << QVariant(2) << 0 << kNoMove << false << "5" << "VALUES ('','','5')" << "";
}

void TstOrderEntry::line() {
    QFETCH(QStringList, before);
    QFETCH(QVariant, supplier);
    QFETCH(int, orderMoves);
    QFETCH(QVariant, ware);
    QFETCH(bool, afterHeader);
    QFETCH(QString, typed);
    QFETCH(QString, clause);
    QFETCH(QString, row);
    QVERIFY(m_f->Start(before));
    const int lines = m_f->Count("orderitem");
    QString shown, kept;
    m_f->WhileOpen(Form2->Button2, [&] {
        m_f->Pick(Form7->Button2, DataModule3->ADOTable4, "Idprovider", supplier);
        Form7->DBGrid1->setFocus();
        for (int i = 0; i < orderMoves; ++i)
            QTest::keyClick(Form7->DBGrid1, Qt::Key_Down);
        m_f->Pick(Form7->Button1, DataModule3->ADOTable11, "Idwares", ware);
        if (afterHeader)
            QTest::mouseClick(Form7->BitBtn1, Qt::LeftButton);
        TEntryWindowFixture::Type(Form7->LabeledEdit1, typed);
        kept = Form7->LabeledEdit1->Text();
        shown = Form7->DBText3->Caption();
        QTest::mouseClick(Form7->BitBtn2, Qt::LeftButton);
    });
    const QStringList seen = m_f->TakeBoxes();
    QCOMPARE(DataModule3->ADOQuery7->SQL()[1], clause);
    QStringList boxes{"TForm7"};
    if (supplier.isValid())
        boxes << "TForm6";
    if (ware.isValid())
        boxes << "TForm14";
    if (!row.isEmpty()) {
        QCOMPARE(m_f->Count("orderitem"), lines + 1);
        QCOMPARE(m_f->Scalar("select idorder || ',' || idwares || ',' || warescount from orderitem "
                             "order by Idorderitem desc limit 1"),
                 QVariant(row));
        // What the user saw is the ware recorded.
        QCOMPARE(shown,
                 m_f->Scalar("select description from wares where Idwares = " + row.section(',', 1, 1)));
        QCOMPARE(Form7->LabeledEdit1->Text(), QString(" "));
        boxes << kMoreGoods;
    } else {
        QCOMPARE(m_f->Count("orderitem"), lines);
        QCOMPARE(Form7->LabeledEdit1->Text(), kept);
        if (clause.isEmpty()) {
            boxes << "message: Введите количество!";
        } else {
            boxes << "error";
            // The engine's refusal of a value for its column, not a statement broken by the text.
            QVERIFY2(m_f->LastError().contains(shown.isEmpty() ? "idorder" : "warescount"),
                     qPrintable(m_f->LastError()));
        }
    }
    QCOMPARE(seen, boxes);
}

QTEST_MAIN(TstOrderEntry)
#include "tst_orderentry.moc"
