// The whole program started for a test, as the program entry starts it: a fresh database, the box
// answerer, the application object and every instance created in order, the main window shown.
// Destroyed in reverse: the instances, the answerer, then the database.
#pragma once

#include <QStringList>
#include <QTest>

#include "ProgramInstances.h"
#include "TApplication.h"
#include "TModalAnswerer.h"
#include "TTestDatabase.h"
#include "Unit2.h"

class TRunningProgram {
public:
    TTestDatabase Db;
    TModalAnswerer Boxes;
    TApplication Application;

    // QVERIFY needs a void function: call it from the test's init().
    void Start() {
        Application.Initialize();
        CreateProgramInstances(&Application);
        QVERIFY2(!Application.CreationFailedFlag(), qPrintable(Boxes.Texts().join('|')));
        Form2->Show();
        QCOMPARE(Boxes.Texts(), QStringList());
    }
};
