// The scoped transaction guard on both providers: nothing is kept unless committed, a guard inside
// another joins it, and ending a guard never throws, not even with the connection gone.
#include <QObject>
#include <QTest>

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TDbTransaction.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"

class TstTransaction : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TTestDatabase> m_database;
    std::unique_ptr<TDbConnection> m_db;

    // Discount levels as another connection sees them, so only committed rows count.
    qint64 Levels() {
        TDbConnection other(m_db->ConnectionString());
        const std::unique_ptr<TDbCursor> c = other.Select(QStringLiteral("SELECT count(*) FROM discount"));
        return c->Next() ? c->Value(0).Int : -1;
    }
    void AddLevel() { m_db->Execute(QStringLiteral("INSERT INTO discount ([percent]) VALUES (50)")); }
    // Every case runs on both providers: the data row says which.
    void Connect() {
        QFETCH(bool, odbc);
        m_db = std::make_unique<TDbConnection>(odbc ? m_database->OdbcConnectionString()
                                                    : TTestDatabase::ConnectionString());
        m_db->Open();
    }

private Q_SLOTS:
    void init() { m_database = std::make_unique<TTestDatabase>(); }
    void cleanup() {
        m_db.reset();
        m_database.reset();
    }

    void keptOnlyWhenCommitted_data() {
        QTest::addColumn<bool>("odbc");
        QTest::addColumn<bool>("commit");
        for (const bool odbc : {false, true}) {
            const char* provider = odbc ? "ODBC" : "embedded";
            QTest::addRow("%s, committed", provider) << odbc << true;
            QTest::addRow("%s, left without commit", provider) << odbc << false;
        }
    }
    void keptOnlyWhenCommitted() {
        Connect();
        QFETCH(bool, commit);
        const qint64 before = Levels();
        {
            TDbTransaction transaction(*m_db);
            QVERIFY(m_db->InTransaction());
            AddLevel();
            AddLevel();
            if (commit)
                transaction.Commit();
        }
        QVERIFY(!m_db->InTransaction());
        QCOMPARE(Levels(), before + (commit ? 2 : 0));
        // The connection is back to committing each statement by itself.
        AddLevel();
        QCOMPARE(Levels(), before + (commit ? 3 : 1));
    }

    void innerGuardJoinsTheOuter_data() {
        QTest::addColumn<bool>("odbc");
        QTest::newRow("embedded") << false;
        QTest::newRow("ODBC") << true;
    }
    void innerGuardJoinsTheOuter() {
        Connect();
        const qint64 before = Levels();
        {
            TDbTransaction outer(*m_db);
            {
                TDbTransaction inner(*m_db);
                AddLevel();
                inner.Commit();
            }
            QVERIFY(m_db->InTransaction());
        }
        QCOMPARE(Levels(), before);
    }

    // Closing the connection ends the transaction: the guard then neither throws as it ends nor
    // connects again to roll back, and a commit reports that nothing was kept.
    void connectionClosedMidway_data() {
        QTest::addColumn<bool>("odbc");
        QTest::addColumn<bool>("commit");
        QTest::newRow("embedded, left") << false << false;
        QTest::newRow("embedded, committed") << false << true;
        QTest::newRow("ODBC, left") << true << false;
        QTest::newRow("ODBC, committed") << true << true;
    }
    void connectionClosedMidway() {
        Connect();
        QFETCH(bool, commit);
        const qint64 before = Levels();
        {
            TDbTransaction transaction(*m_db);
            AddLevel();
            m_db->Close();
            QVERIFY(!m_db->InTransaction());
            if (commit)
                QCOMPARE_THROWS(transaction.Commit(), TDbTransaction::EndedMessage());
        }
        QVERIFY(!m_db->Connected());
        QCOMPARE(Levels(), before);
    }
};

QTEST_MAIN(TstTransaction)
#include "tst_transaction.moc"
