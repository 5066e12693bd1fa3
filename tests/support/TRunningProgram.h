// The whole program started for a test, as the program entry starts it: a fresh database, the box
// answerer, the application object and every instance created in order, the main window shown.
// Destroyed in reverse: the instances (their exit boxes still answered), the answerer, then the
// database. Relies on TTestDatabase for every look at the database behind the program's back.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTest>

#include "ProgramInstances.h"
#include "TApplication.h"
#include "TModalAnswerer.h"
#include "TDataSet.h"
#include "TTestChecks.h"
#include "TTestDatabase.h"
#include "Unit2.h"
#include "Unit3.h"

class TRunningProgram {
public:
    TTestDatabase Db;
    TModalAnswerer Boxes;
    TApplication Application;

    // Runs statements on the database before Start (rows the demo data lacks, or a table it has).
    void Prepare(const QStringList& statements) {
        for (const QString& statement : statements)
            Execute(statement);
    }

    // The database as another program sees it, from anywhere a test runs, a modal window's event loop
    // included, which no exception may cross: a failing statement is the test's failure, recorded
    // where it happened, and the result is empty.
    QVariant Scalar(const QString& sql) {
        return Recorded(sql, [&] { return Db.Scalar(sql); });
    }
    int Count(const QString& tableAndCondition) {
        return Recorded(tableAndCondition, [&] { return Db.Count(tableAndCondition); });
    }
    QStringList Row(const QString& sql) {
        return Recorded(sql, [&] { return Db.Row(sql); });
    }
    QStringList Column(const QString& sql, const QVector<QVariant>& params = {}) {
        return Recorded(sql, [&] { return Db.Column(sql, params); });
    }
    void Execute(const QString& sql) {
        Recorded(sql, [&] { return Db.Execute(sql); });
    }

    // QVERIFY needs a void function: call it from the test's init(). boxes: how many error boxes the
    // creation is expected to show (a data set that a prepared database cannot open).
    void Start(int boxes = 0) {
        Application.Initialize();
        CreateProgramInstances(&Application);
        QVERIFY2(!Application.CreationFailedFlag(), qPrintable(Boxes.Texts().join('|')));
        Form2->Show();
        QVERIFY2(Boxes.Texts().size() == boxes, qPrintable(Boxes.Texts().join('|')));
        WaitForTheRows();
    }

    // The rows the opens at creation read in the background have all arrived, as they have a moment
    // after a real start: what the windows show is then what they show for good.
    static void WaitForTheRows() {
        const auto fetching = [] {
            if (DataModule3)
                for (TDataSet* dataSet : DataModule3->DataSets())
                    if (dataSet->Fetching())
                        return true;
            return false;
        };
        QElapsedTimer clock;
        clock.start();
        while (fetching() && clock.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QVERIFY2(!fetching(), "the rows read in the background did not arrive");
    }

private:
    template <class F>
    static auto Recorded(const QString& sql, F&& read) -> decltype(read()) {
        decltype(read()) result{};
        const QString failure = TTestChecks::ThrownMessage([&] { result = read(); });
        [&] {
            QVERIFY2(failure == QLatin1String("<no exception>"),
                     qPrintable(sql + QStringLiteral(": ") + failure));
        }();
        return result;
    }
};
