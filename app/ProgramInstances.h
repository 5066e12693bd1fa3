// The program's instances, created in their fixed order by the program entry: Form1, Form2,
// DataModule3, Form4 ... Form15, each hidden, each held in its program-wide global.
#pragma once

class TApplication;

void CreateProgramInstances(TApplication* application);
