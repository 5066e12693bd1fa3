// The whole program started for a test, as the program entry starts it: a fresh database, the box
// answerer, the application object and every instance created in order, the main window shown.
// Destroyed in reverse: the instances, the answerer, then the database. Prepare changes the database
// before the start, for cases that need rows the demo data lacks (or a table it has).
#pragma once

#include <QStringList>
#include <QTest>

#include "ProgramInstances.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TApplication.h"
#include "TModalAnswerer.h"
#include "TTestDatabase.h"
#include "Unit2.h"

class TRunningProgram {
public:
    TTestDatabase Db;
    TModalAnswerer Boxes;
    TApplication Application;

    // Runs statements on the database before Start, on a connection of its own.
    void Prepare(const QStringList& statements) {
        TDbConnection db(TTestDatabase::ConnectionString());
        for (const QString& statement : statements)
            db.Execute(statement);
    }

    // What the database holds: the first column of every row of a statement, as text ("" for null),
    // read on a connection of its own.
    QStringList Column(const QString& statement, const QVector<QVariant>& params = {}) {
        TDbConnection db(TTestDatabase::ConnectionString());
        const std::unique_ptr<TDbCursor> rows = db.Select(statement, params);
        QStringList texts;
        while (rows->Next()) {
            const TDbValue v = rows->Value(0);
            texts << (v.Kind == TDbValue::Text      ? QString::fromUtf8(v.Utf8, v.Length)
                      : v.Kind == TDbValue::Integer ? QString::number(v.Int)
                      : v.Kind == TDbValue::Double  ? QString::number(v.Real)
                                                    : QString());
        }
        return texts;
    }

    // QVERIFY needs a void function: call it from the test's init(). boxes: how many error boxes the
    // creation is expected to show (a data set that a prepared database cannot open).
    void Start(int boxes = 0) {
        Application.Initialize();
        CreateProgramInstances(&Application);
        QVERIFY2(!Application.CreationFailedFlag(), qPrintable(Boxes.Texts().join('|')));
        Form2->Show();
        QVERIFY2(Boxes.Texts().size() == boxes, qPrintable(Boxes.Texts().join('|')));
    }
};
