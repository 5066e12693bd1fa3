// The start as a user sees it: the real program launched under an X server, timed from the launch to
// the splash's first appearance on screen and to the main window's, on the large database of
// XDG_DATA_HOME and on the demo database in the same run (best of three each, alternating). Without
// an X server it says so and measures nothing.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include "TTestDatabase.h"
#include "TXClient.h"

namespace {

const QString kCaption = QStringLiteral("База данных");
const QSize kSplashSize(723, 451);
const QSize kMainSize(772, 508);

struct TStart {
    double Splash = -1;  // seconds from the launch; -1: never seen
    double Main = -1;
};

TStart Launch(TXClient& x, const QString& dataHome) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    TStart start;
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(PROJECT1_PATH), {});
    if (!program.waitForStarted())
        return start;
    TXWindow main;
    while (clock.elapsed() < 60000 && program.state() == QProcess::Running && !main.Id) {
        for (const TXWindow& window : x.WindowsOf(program.processId())) {
            if (!window.Viewable || window.Name != kCaption)
                continue;
            if (window.Size == kSplashSize && start.Splash < 0)
                start.Splash = clock.nsecsElapsed() / 1e9;
            if (window.Size == kMainSize) {
                start.Main = clock.nsecsElapsed() / 1e9;
                main = window;
            }
        }
        QThread::msleep(2);
    }
    if (main.Id)
        x.Close(main.Id);
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
    }
    return start;
}

void Print(const char* name, double value, double floor) {
    std::printf("%s: %.3f s (floor %.3f s, ratio %.2f)\n", name, value, floor, floor > 0 ? value / floor : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication qt(argc, argv);
    // One connection for the whole run: an X server resets when its last client leaves, and refuses
    // connections while it does.
    TXClient x;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !x.Available()) {
        std::printf("# start-to-splash, start-to-main-window: no X server, not measured\n");
        return 0;
    }
    const QString large = qEnvironmentVariable("XDG_DATA_HOME");
    TTestDatabase demo;  // sets XDG_DATA_HOME for this process only; the launches are told each one's
    TStart best[2];
    for (int round = 0; round < 3; ++round) {
        for (int which = 0; which < 2; ++which) {
            const TStart s = Launch(x, which == 0 ? large : demo.DataHome());
            TStart& b = best[which];
            if (s.Splash >= 0 && (b.Splash < 0 || s.Splash < b.Splash))
                b.Splash = s.Splash;
            if (s.Main >= 0 && (b.Main < 0 || s.Main < b.Main))
                b.Main = s.Main;
        }
    }
    // The floor is the same start on the demo database; the goals are 0.5 s to the splash and a ratio of
    // at most 1.3 to the main window.
    Print("start-to-splash", best[0].Splash, best[1].Splash);
    Print("start-to-main-window", best[0].Main, best[1].Main);
    std::printf("# goals: start-to-splash at most 0.5 s, start-to-main-window ratio at most 1.3\n");
    return 0;
}
