// Cancel on the data module's own data sets: after a value is set in an edited row, an inserted row or
// a row of a detail, Cancel leaves the field, the text controls show and the database as they were.
// Relies on TDataModuleFixture (the module over a fresh demo database, its boxes answered).
#include <QObject>
#include <QTest>

#include "TADOTable.h"
#include "TDataModuleFixture.h"
#include "TField.h"
#include "Unit3.h"

class TstCancel : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TDataModuleFixture> m_f;

private Q_SLOTS:
    void init() { m_f = std::make_unique<TDataModuleFixture>(); }
    void cleanup() { m_f.reset(); }

    void cancelLeavesEverythingAsItWas_data() {
        QTest::addColumn<QString>("dataSet");  // a table of the module
        QTest::addColumn<QString>("table");    // what it reads
        QTest::addColumn<QString>("action");   // "edit", "append", or "insert" before the current row
        QTest::addColumn<int>("row");          // the row current before the action
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shownWhileSet");  // its display text before the cancel
        QTest::newRow("edited row") << "ADOTable4"
                                    << "provider"
                                    << "edit" << 2 << "name"
                                    << "ООО «Отменённое»"
                                    << "ООО «Отменённое»";
        QTest::newRow("edited number") << "ADOTable3"
                                       << "wares"
                                       << "edit" << 0 << "orderprice"
                                       << "12345"
                                       << "12345";
        QTest::newRow("appended row") << "ADOTable7"
                                      << "manager"
                                      << "append" << 1 << "name"
                                      << "Отменов О. О."
                                      << "Отменов О. О.";
        QTest::newRow("row inserted in the middle") << "ADOTable4"
                                                    << "provider"
                                                    << "insert" << 3 << "name"
                                                    << "ООО «Вставленное»"
                                                    << "ООО «Вставленное»";
        // ADOTable6 shows the orders of the supplier current in ADOTable4 (the first).
        QTest::newRow("edited row of a detail") << "ADOTable6"
                                                << "[order]"
                                                << "edit" << 1 << "orderdate"
                                                << "2020-01-02 03:04:05"
                                                << "02.01.2020 3:04:05";
        QTest::newRow("appended row of a detail") << "ADOTable6"
                                                  << "[order]"
                                                  << "append" << 0 << "orderdate"
                                                  << "2020-01-02 03:04:05"
                                                  << "02.01.2020 3:04:05";
    }
    void cancelLeavesEverythingAsItWas() {
        QFETCH(QString, dataSet);
        QFETCH(QString, table);
        QFETCH(QString, action);
        QFETCH(int, row);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, shownWhileSet);
        TDataModule3* module = m_f->Create();
        QCOMPARE(m_f->Boxes.Texts(), QStringList());
        auto* t = module->findChild<TADOTable*>(dataSet);
        t->SetRecNo(row);
        QCOMPARE(t->RecNo(), row);
        const int rows = t->RecordCount();
        // An appended row stands after the last one; cancelled, it leaves the last row current.
        const int current = action == QLatin1String("append") ? rows - 1 : row;
        t->SetRecNo(current);
        const QString text = t->FieldByName(field)->AsString();
        const QString shown = t->FieldByName(field)->DisplayText();
        t->SetRecNo(row);
        const int stored = m_f->Db.Count(table);
        const QString where =
            table + QStringLiteral(" where ") + field + QStringLiteral(" = '") + value + QStringLiteral("'");
        QCOMPARE(m_f->Db.Count(where), 0);

        if (action == QLatin1String("edit"))
            t->Edit();
        else if (action == QLatin1String("append"))
            t->Append();
        else
            t->Insert();
        t->FieldByName(field)->SetAsString(value);
        QCOMPARE(t->FieldByName(field)->DisplayText(), shownWhileSet);
        t->Cancel();

        QCOMPARE(t->State(), dsBrowse);
        QCOMPARE(t->RecordCount(), rows);
        QCOMPARE(t->RecNo(), current);
        QCOMPARE(t->FieldByName(field)->AsString(), text);
        QCOMPARE(t->FieldByName(field)->DisplayText(), shown);
        QCOMPARE(m_f->Db.Count(table), stored);
        QCOMPARE(m_f->Db.Count(where), 0);
        // Nothing is left pending either: the module's exit step posts nothing and shows nothing.
        m_f->Destroy();
        QCOMPARE(m_f->Boxes.Texts(), QStringList());
        QCOMPARE(m_f->Db.Count(table), stored);
    }
};

QTEST_MAIN(TstCancel)
#include "tst_cancel.moc"
