// Opens that read the rest of their rows in the background, with that reading held mid-way: each
// operation that needs the whole result sees what it sees after a plain open, moves among the rows
// already there wait for nothing, and a close, a destruction, the program's exit or a database lost
// during the reading end it cleanly.
#include <QObject>
#include <QTest>
#include <functional>
#include <memory>

#include "Exception.h"
#include "TADOConnection.h"
#include "TADOTable.h"
#include "TDataSetFixture.h"
#include "TField.h"
#include "THeldFetch.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"
#include "Unit3.h"

namespace {

constexpr int kManagers = 400;  // beside the demo's five: well past the first rows of an open
constexpr int kHoldAt = 150;

using TOperation = std::function<QString(TDataSet*)>;

QString Here(TDataSet* set) {
    return QStringLiteral("%1 rows, at %2: %3 %4")
        .arg(set->RecordCount())
        .arg(set->RecNo())
        .arg(set->FieldByName(QStringLiteral("name"))->AsString(), set->FieldByName(QStringLiteral("phone"))->AsString());
}

}  // namespace

Q_DECLARE_METATYPE(TOperation)

class TstFetch : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TDataSetFixture> m_f;

    void FreshDatabase() {
        m_f.reset();
        m_f = std::make_unique<TDataSetFixture>();
        for (int i = 1; i <= kManagers; ++i)
            m_f->Db.Execute(QStringLiteral("INSERT INTO manager (name, phone) VALUES ('Менеджер %1', '%1')").arg(i));
    }
    TADOTable* Managers(bool background) {
        TADOTable* t = m_f->Table(QStringLiteral("manager"), QStringLiteral("ADOTable7"));
        t->SetFetchInBackground(background);
        t->Open();
        return t;
    }

private Q_SLOTS:
    void cleanup() { m_f.reset(); }

    void operationsSeeTheWholeResult_data() {
        QTest::addColumn<TOperation>("operation");
        const auto add = [](const char* name, TOperation operation) { QTest::newRow(name) << operation; };
        add("RecordCount", [](TDataSet* s) { return QString::number(s->RecordCount()); });
        add("Last", [](TDataSet* s) {
            s->Last();
            return Here(s);
        });
        add("a move past the rows there", [](TDataSet* s) {
            s->MoveBy(kHoldAt + 20);
            return Here(s);
        });
        add("SetRecNo past them", [](TDataSet* s) {
            s->SetRecNo(kManagers - 10);
            return Here(s);
        });
        add("Next until Eof, as charts and reports read", [](TDataSet* s) {
            int rows = 0;
            for (s->First(); !s->Eof(); s->Next())
                ++rows;
            return QString::number(rows);
        });
        add("Locate", [](TDataSet* s) {
            s->Locate(QStringLiteral("name"), QStringLiteral("Менеджер 390"));
            return Here(s);
        });
        add("an index", [](TDataSet* s) {
            auto* table = static_cast<TADOTable*>(s);
            table->SetIndexFieldNames(QStringLiteral("phone"));
            table->Open();
            table->Last();
            return Here(s);
        });
        add("a filter", [](TDataSet* s) {
            s->SetFilter(QStringLiteral("phone = '399'"));
            s->SetFiltered(true);
            return Here(s);
        });
        add("a refresh", [](TDataSet* s) {
            s->Refresh();
            return Here(s);
        });
        add("an edit posted", [](TDataSet* s) {
            s->Edit();
            s->FieldByName(QStringLiteral("phone"))->SetAsString(QStringLiteral("8-800"));
            s->Post();
            s->Refresh();
            return Here(s);
        });
        add("a new row posted", [](TDataSet* s) {
            s->Append();
            s->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Новый"));
            s->Post();
            return Here(s);
        });
        add("the last row deleted", [](TDataSet* s) {
            s->Last();
            s->Delete();
            return Here(s);
        });
    }
    void operationsSeeTheWholeResult() {
        QFETCH(TOperation, operation);
        FreshDatabase();
        const QString plain = operation(Managers(false));

        FreshDatabase();
        THeldFetch hold(kHoldAt);
        TADOTable* t = Managers(true);
        QVERIFY(hold.WaitUntilHeld());
        QVERIFY(t->Fetching());
        QCOMPARE(t->FetchedCount(), 100);
        hold.ReleaseSoon();
        QCOMPARE(operation(t), plain);
        QVERIFY(!t->Fetching());
    }

    void movesAmongTheRowsThereWaitForNothing() {
        FreshDatabase();
        THeldFetch hold(kHoldAt);
        TADOTable* t = Managers(true);
        QVERIFY(hold.WaitUntilHeld());
        t->MoveBy(50);
        t->SetRecNo(99);
        t->First();
        QVERIFY(!t->IsEmpty());
        QVERIFY(!t->Eof());
        QCOMPARE(t->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Иванова Светлана Михайловна"));
        QVERIFY(t->Fetching());  // still held: none of these waited
        hold.Release();
        // The rest arrives between events, and the grid's count grows with it.
        QTRY_VERIFY(!t->Fetching());
        QCOMPARE(t->FetchedCount(), kManagers + 5);
    }

    void endedDuringTheReading_data() {
        QTest::addColumn<QString>("end");
        QTest::newRow("closed") << "close";
        QTest::newRow("destroyed") << "destroy";
        QTest::newRow("the program's exit") << "exit";
    }
    void endedDuringTheReading() {
        QFETCH(QString, end);
        FreshDatabase();
        THeldFetch hold(kHoldAt);
        if (end == QLatin1String("exit")) {
            auto* module = new TDataModule3(nullptr);
            QVERIFY(module->ADOTable7->Fetching());
            hold.ReleaseSoon();
            delete module;  // every reading stopped and its thread gone before the module
            return;
        }
        TADOTable* t = Managers(true);
        QVERIFY(hold.WaitUntilHeld());
        hold.ReleaseSoon();
        if (end == QLatin1String("close")) {
            t->Close();
            QVERIFY(!t->Fetching());
            t->Open();  // a reading of its own again, whose rows are all there in the end
            QCOMPARE(t->RecordCount(), kManagers + 5);
        } else {
            delete t;
        }
        QTest::qWait(20);  // no news of a stopped reading reaches anything
    }

    void databaseLostDuringTheReading() {
        FreshDatabase();
        THeldFetch hold(kHoldAt);
        const QString lost = QStringLiteral("disk I/O error");
        hold.FailAtTheHold(lost);
        TADOTable* t = Managers(true);
        QVERIFY(hold.WaitUntilHeld());
        hold.Release();
        QTest::qWait(50);
        // Told when the rows are first needed, once: an open that failed.
        QVERIFY(t->Active());
        QCOMPARE_THROWS(t->RecordCount(), lost);
        QVERIFY(!t->Active());
        QCOMPARE(t->RecordCount(), 0);
        QCOMPARE(m_f->Db.Count(QStringLiteral("manager")), kManagers + 5);  // nothing written
    }
};

QTEST_MAIN(TstFetch)
#include "tst_fetch.moc"
