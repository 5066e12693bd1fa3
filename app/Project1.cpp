// The program entry: the application object, the program's instances in order, the message loop.
// COM has no counterpart here, so there is nothing to initialise for it and nothing to release.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "ProgramInstances.h"
#include "TApplication.h"

namespace {

// Whether a window system can be reached at all. Without one Qt aborts with advice about reinstalling;
// the user is told the plain reason instead. A platform named in QT_QPA_PLATFORM is the user's choice.
bool DisplayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

// The desktop entry's id (the Wayland app id, by which task bars and the menu group the windows) and
// the icon of every window: the desktop theme's where it has one, else the same renderings built in.
void SetDesktopIdentity() {
    QGuiApplication::setDesktopFileName(QStringLiteral(ZIRT_APP_ID));
    QIcon builtIn;
    for (const int size : {48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(ZIRT_APP_ID), builtIn));
}

}  // namespace

int main(int argc, char** argv) {
    if (!DisplayAvailable()) {
        const char* name = argc > 0 && argv[0] ? argv[0] : "zirt";
        if (const char* slash = std::strrchr(name, '/'))
            name = slash + 1;
        std::fprintf(stderr, "%s: no display to show the windows on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
                     name);
        return 1;
    }
    QApplication qt(argc, argv);
    SetDesktopIdentity();
    TApplication application;
    application.Initialize();
    CreateProgramInstances(&application);
    return application.Run();
}
