// The data module on its own over a fresh database, for tests of the module and of what uses it
// without windows. Every box it shows, at creation or at its exit (a pending change the database
// refuses), is answered, so a failing case ends instead of waiting on a box. Relies on TTestDatabase
// and TModalAnswerer; the answerer outlives the module.
#pragma once

#include "TModalAnswerer.h"
#include "TTestDatabase.h"
#include "Unit3.h"

class TDataModuleFixture {
public:
    TTestDatabase Db;
    TModalAnswerer Boxes;

    ~TDataModuleFixture() { Destroy(); }

    // Made as the program makes it; the boxes its opening shows are in Boxes.Seen(). As the program's
    // own instance (DataModule3) where the code under test reaches it that way.
    TDataModule3* Create(bool asTheProgramInstance = false) {
        Destroy();
        m_module = new TDataModule3(nullptr);
        if (asTheProgramInstance)
            DataModule3 = m_module;
        return m_module;
    }
    // Its exit step runs here, its boxes answered; the program's instance goes with it.
    void Destroy() {
        delete m_module;  // clears DataModule3 when it is that instance
        m_module = nullptr;
    }
    TDataModule3* Module() const { return m_module; }

private:
    TDataModule3* m_module = nullptr;
};
