// The program entry: the application object, the program's instances in order, the message loop.
// COM has no counterpart here, so there is nothing to initialise for it and nothing to release.
#include <QApplication>

#include "ProgramInstances.h"
#include "TApplication.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    TApplication application;
    application.Initialize();
    CreateProgramInstances(&application);
    return application.Run();
}
