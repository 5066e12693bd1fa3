// locked-start: creating the data module (connect, then open the 14 data sets, each failure in its
// own error box, answered at once) while another program holds a write lock on a database file in
// the old journal mode, where no read gets past the lock; against one full wait for the lock (the
// floor: the least a start can spend before it may say the database is locked). Goal: under 10 s,
// the 15 boxes all shown. Each run gets a fresh demo database.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <sqlite3.h>

#include "TModalAnswerer.h"
#include "TSqliteProvider.h"
#include "TTestDatabase.h"
#include "Unit3.h"

namespace {

struct TStart {
    double Seconds = 0;
    int Boxes = 0;
};

TStart StartModule(bool locked) {
    TTestDatabase database;
    sqlite3* other = nullptr;
    sqlite3_open(QFile::encodeName(database.File()).constData(), &other);
    sqlite3_exec(other, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);
    if (locked)
        sqlite3_exec(other, "BEGIN EXCLUSIVE; INSERT INTO discount ([percent]) VALUES (42)", nullptr, nullptr,
                     nullptr);
    TModalAnswerer boxes;  // presses each box's OK as soon as it shows
    QElapsedTimer timer;
    timer.start();
    auto* module = new TDataModule3(nullptr);
    const double seconds = timer.nsecsElapsed() / 1e9;
    delete module;
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    return {seconds, int(boxes.Seen().size())};
}

}  // namespace

int main(int argc, char** argv) {
    // The boxes' platform chatter is not a figure.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    const TStart free = StartModule(false);
    const TStart locked = StartModule(true);
    const double floor = TSqliteProvider::kBusyTimeoutMs / 1000.0;
    std::printf("locked-start: %.3f s (floor %.3f s, ratio %.2f)\n", locked.Seconds, floor,
                locked.Seconds / floor);
    std::printf("# locked-start error boxes: %d; the same start with the file free: %.3f s, %d boxes\n",
                locked.Boxes, free.Seconds, free.Boxes);
    return 0;
}
