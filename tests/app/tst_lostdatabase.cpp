// The database lost while the program runs (the server stopped, the disk full), tried through the
// main window's handlers that read or write: each shows the database's message in the error box,
// nothing crashes, nothing typed is lost, and the same step works once the database is back.
#include <QApplication>
#include <QTest>
#include <memory>

#include "TADOQuery.h"
#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBGridModel.h"
#include "TDBNavigator.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TFaultyProvider.h"
#include "TField.h"
#include "TLabeledEdit.h"
#include "TRadioButton.h"
#include "TRunningProgram.h"
#include "TTestChecks.h"
#include "TWindowSteps.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit9.h"

Q_DECLARE_METATYPE(TFaultInjection::TFault)

namespace {

QString ErrorText(TFaultInjection::TFault fault) {
    // The error box adds a full stop to a message that ends in a letter.
    return (fault == TFaultInjection::ServerStopped ? TFaultInjection::StoppedMessage()
                                                    : TFaultInjection::FullMessage()) +
           QLatin1Char('.');
}

}  // namespace

class TstLostDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_faults = std::make_unique<TFaultInjection>();  // before the program connects
        m_program = std::make_unique<TRunningProgram>();
        m_program->Start();
    }
    void cleanup() {
        m_program.reset();
        m_faults.reset();
    }

    void sortChoice() {
        // Reading the goods list again with the server gone: the box, an empty list, and the next
        // choice fills it once the server is back.
        const int rows = DataModule3->ADOQuery1->RecordCount();
        m_faults->Set(TFaultInjection::ServerStopped);
        QTest::mouseClick(Form2->RadioButton1, Qt::LeftButton);
        QCOMPARE(m_program->Boxes.Texts(), QStringList{ErrorText(TFaultInjection::ServerStopped)});
        QCOMPARE(Form2->DBGrid1->Model()->rowCount(), 0);
        m_faults->Set(TFaultInjection::None);
        QTest::mouseClick(Form2->RadioButton2, Qt::LeftButton);
        QCOMPARE(m_program->Boxes.Texts().size(), 1);
        QCOMPARE(DataModule3->ADOQuery1->RecordCount(), rows);
    }

    void typedCellKeptUntilThePostGoesThrough_data() {
        QTest::addColumn<TFaultInjection::TFault>("fault");
        QTest::newRow("server stopped") << TFaultInjection::ServerStopped;
        QTest::newRow("disk full") << TFaultInjection::DiskFull;
    }
    void typedCellKeptUntilThePostGoesThrough() {
        QFETCH(TFaultInjection::TFault, fault);
        TWindowSteps::Unlock();
        TDBGrid* grid = Form2->DBGrid1;
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Right);  // the description
        TWindowSteps::Type(grid, QStringLiteral("Д'Артаньян"));
        m_faults->Set(fault);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(m_program->Boxes.Texts(), QStringList{ErrorText(fault)});
        TADOQuery* goods = DataModule3->ADOQuery1;
        QCOMPARE(goods->State(), dsEdit);
        QCOMPARE(goods->FieldByName(QStringLiteral("Описание"))->AsString(), QStringLiteral("Д'Артаньян"));
        m_faults->Set(TFaultInjection::None);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(m_program->Boxes.Texts().size(), 1);
        QCOMPARE(goods->State(), dsBrowse);
        QCOMPARE(goods->RecNo(), 1);
        QCOMPARE(goods->DisplayTextAt(0, goods->FieldByName(QStringLiteral("Описание"))->Index()),
                 QStringLiteral("Д'Артаньян"));
    }

    void navigatorRefresh() {
        TWindowSteps::Unlock();
        TADOQuery* goods = DataModule3->ADOQuery1;
        const int rows = goods->RecordCount();
        goods->Next();
        m_faults->Set(TFaultInjection::ServerStopped);
        TWindowSteps::ClickButton(Form2->DBNavigator1, TDBNavigator::nbRefresh);
        QCOMPARE(m_program->Boxes.Texts(), QStringList{ErrorText(TFaultInjection::ServerStopped)});
        QCOMPARE(goods->RecordCount(), rows);  // what was shown stays shown
        m_faults->Set(TFaultInjection::None);
        TWindowSteps::ClickButton(Form2->DBNavigator1, TDBNavigator::nbRefresh);
        QCOMPARE(m_program->Boxes.Texts().size(), 1);
        QCOMPARE(goods->RecNo(), 1);
        QVERIFY(m_faults->Refused() > 0);
    }

    void saveButtonsKeepTheFields_data() {
        QTest::addColumn<TFaultInjection::TFault>("fault");
        QTest::newRow("server stopped") << TFaultInjection::ServerStopped;
        QTest::newRow("disk full") << TFaultInjection::DiskFull;
    }
    void saveButtonsKeepTheFields() {
        // A supplier typed into the add window and a sale opened in the sale window, both refused
        // while the database is lost: the boxes say why, the fields keep the text, the sale window
        // stays on its first step; once the database is back the same click writes them.
        QFETCH(TFaultInjection::TFault, fault);
        TWindowSteps::Unlock();
        TDbConnection check(TTestDatabase::ConnectionString());  // looks at the file from outside
        const auto count = [&check](const char* table) {
            auto cursor = check.Select(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table));
            return cursor->Next() ? cursor->Value(0).Int : -1;
        };
        const qint64 providers = count("provider"), sales = count("sale");
        TWindowSteps::InModal(
            m_program->Boxes, [] { QTest::mouseClick(Form2->Button1, Qt::LeftButton); },
            [&](TForm*) {
                Form4->LabeledEdit1->SetText(QStringLiteral("ООО «Д'Артаньян»"));
                Form4->LabeledEdit2->SetText(QStringLiteral("Портос"));
                Form4->LabeledEdit3->SetText(QStringLiteral("555-01-02"));
                m_faults->Set(fault);
                QTest::mouseClick(Form4->BitBtn1, Qt::LeftButton);
                QCOMPARE(Form4->LabeledEdit1->Text(), QStringLiteral("ООО «Д'Артаньян»"));
                QCOMPARE(Form4->LabeledEdit3->Text(), QStringLiteral("555-01-02"));
                m_faults->Set(TFaultInjection::None);
                QTest::mouseClick(Form4->BitBtn1, Qt::LeftButton);
                QCOMPARE(Form4->LabeledEdit1->Text(), QString());
            },
            TWindowSteps::TCloseBy::CloseBox);
        TWindowSteps::InModal(
            m_program->Boxes, [] { QTest::mouseClick(Form2->Button3, Qt::LeftButton); },
            [&](TForm*) {
                m_faults->Set(fault);
                QTest::mouseClick(Form9->BitBtn1, Qt::LeftButton);
                QVERIFY(!Form9->BitBtn2->isVisible());  // still on the first step
                m_faults->Set(TFaultInjection::None);
                QTest::mouseClick(Form9->BitBtn1, Qt::LeftButton);
                QVERIFY(Form9->BitBtn2->isVisible());
            },
            TWindowSteps::TCloseBy::CloseBox);
        QCOMPARE(m_program->Boxes.Texts().count(ErrorText(fault)), 2);
        QCOMPARE(count("provider"), providers + 1);
        QCOMPARE(count("sale"), sales + 1);
    }

private:
    std::unique_ptr<TFaultInjection> m_faults;
    std::unique_ptr<TRunningProgram> m_program;
};

QTEST_MAIN(TstLostDatabase)
#include "tst_lostdatabase.moc"
