// Benchmarks of the data module on the large generated database: creating it (connect and open
// the 14 data sets), the memory its snapshots hold, one sort choice by name and following the
// supplier through the detail chain. Each figure is set against a raw sqlite3 loop that fetches the
// same results into std::string / number cells (the floor), measured in the same run. The
// snapshots are also set against the bare payload of their results (snapshot-payload-ratio).
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "Exception.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TDbConnection.h"
#include "TDbConnectionString.h"
#include "TDbCursor.h"
#include "TField.h"
#include "TRussianCollation.h"
#include "TTsqlDialect.h"
#include "Unit3.h"

namespace {

using TCell = std::variant<std::monostate, long long, double, std::string>;
// A deque, so growing never moves cells: the floor pays for fetching and the cells, nothing else.
using TCells = std::deque<TCell>;

QString DatabaseFile() {
    return MapConnectionString(TDataModule3::ConnectionStringText()).File;
}

// The statements of the 14 data sets opened at creation, as the database runs them.
QStringList OpenStatements(const TDataModule3& module) {
    QStringList statements;
    for (TDataSet* dataSet : module.OpenedAtCreation()) {
        if (auto* query = qobject_cast<TADOQuery*>(dataSet))
            statements.append(TsqlToSqlite(query->SQL().Text()));
        else if (auto* table = qobject_cast<TADOTable*>(dataSet))
            statements.append(TsqlToSqlite(QStringLiteral("select * from ") + table->TableName()));
    }
    return statements;
}

class TRawDatabase {
public:
    TRawDatabase() {
        if (sqlite3_open_v2(DatabaseFile().toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(DatabaseFile()));
            std::exit(2);
        }
        RegisterRussianCollation(m_db);
    }
    ~TRawDatabase() { sqlite3_close(m_db); }

    // How long the statement takes to give its first row: what an open could show after.
    double FirstRowSeconds(const QString& statement) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = statement.toUtf8();
        QElapsedTimer clock;
        clock.start();
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
            return -1;
        sqlite3_step(stmt);
        const double seconds = clock.nsecsElapsed() / 1e9;
        sqlite3_finalize(stmt);
        return seconds;
    }

    // Fetches every row into one flat vector of cells; returns the number of rows.
    size_t Fetch(const QString& statement, TCells& cells) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = statement.toUtf8();
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "floor: %s\n", sqlite3_errmsg(m_db));
            std::exit(2);
        }
        const int n = sqlite3_column_count(stmt);
        size_t rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            ++rows;
            for (int i = 0; i < n; ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                    case SQLITE_INTEGER:
                        cells.emplace_back(static_cast<long long>(sqlite3_column_int64(stmt, i)));
                        break;
                    case SQLITE_FLOAT:
                        cells.emplace_back(sqlite3_column_double(stmt, i));
                        break;
                    case SQLITE_NULL:
                        cells.emplace_back(std::monostate());
                        break;
                    default:
                        cells.emplace_back(
                            std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                        size_t(sqlite3_column_bytes(stmt, i))));
                        break;
                }
            }
        }
        sqlite3_finalize(stmt);
        return rows;
    }
    sqlite3* Handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// The bare payload of every result the module holds: the UTF-8 bytes of each text cell and 8 bytes
// for each number or date cell, nulls nothing; no tags, lengths, pointers or block slack. A date
// arrives as ISO text but counts as the 8 bytes a time stamp needs.
struct TPayload {
    size_t Bytes = 0;
    size_t Rows = 0, Cells = 0, Texts = 0, Dates = 0;
};

TPayload Payload(TRawDatabase& raw, const TDataModule3& module, const QStringList& statements) {
    TPayload payload;
    const QList<TDataSet*> dataSets = module.OpenedAtCreation();
    for (int s = 0; s < statements.size() && s < dataSets.size(); ++s) {
        const TDataSet* dataSet = dataSets.at(s);
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = statements.at(s).toUtf8();
        if (sqlite3_prepare_v2(raw.Handle(), sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
            continue;
        const int n = sqlite3_column_count(stmt);
        std::vector<bool> dates(size_t(n), false);
        for (int c = 0; c < n && c < dataSet->FieldCount(); ++c)
            dates[size_t(c)] = dataSet->Field(c)->DataType() == QMetaType::QDateTime;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            ++payload.Rows;
            payload.Cells += size_t(n);
            for (int c = 0; c < n; ++c) {
                const int type = sqlite3_column_type(stmt, c);
                if (type == SQLITE_NULL)
                    continue;
                if (type != SQLITE_TEXT) {
                    payload.Bytes += 8;
                } else if (dates[size_t(c)]) {
                    payload.Bytes += 8;
                    ++payload.Dates;
                } else {
                    payload.Bytes += size_t(sqlite3_column_bytes(stmt, c));
                    ++payload.Texts;
                }
            }
        }
        sqlite3_finalize(stmt);
    }
    return payload;
}

long RssKb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// The module's side of snapshot-memory, in a child: peak RSS growth while creating the module;
// the statements it opened travel back to the parent for the floor's side.
// The rows the opens at creation read in the background, all of them.
void CompleteEveryFetch(const TDataModule3& module) {
    for (TDataSet* dataSet : module.OpenedAtCreation())
        dataSet->CompleteFetch();
}

long ModuleMemory(int argc, char** argv, QStringList& statements) {
    QApplication app(argc, argv);
    {
        // Load the driver and its libraries first; they are not snapshot memory.
        TADOConnection warm(nullptr, QStringLiteral("warm"));
        warm.SetConnectionString(TDataModule3::ConnectionStringText());
        warm.Database().Select(QStringLiteral("select 1"));
    }
    const long before = RssKb("VmRSS:");
    auto* module = new TDataModule3(nullptr);
    CompleteEveryFetch(*module);
    const long grown = RssKb("VmHWM:") - before;
    statements = OpenStatements(*module);
    delete module;
    return grown;
}

long FloorMemory(const QStringList& statements) {
    TRawDatabase raw;
    TCells warm;
    raw.Fetch(QStringLiteral("select 1"), warm);
    const long before = RssKb("VmRSS:");
    std::vector<TCells> results;
    for (const QString& statement : statements) {
        results.emplace_back();
        raw.Fetch(statement, results.back());
    }
    return RssKb("VmHWM:") - before;
}

// Runs measure in a child process so that peak RSS belongs to it alone; the child sends back a
// number and a text.
long InChild(const std::function<long(QByteArray&)>& measure, QByteArray& text) {
    int fd[2];
    if (pipe(fd) != 0)
        return -1;
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fd[0]);
        QByteArray out;
        const long value = measure(out);
        const qint64 size = out.size();
        bool ok = write(fd[1], &value, sizeof value) == sizeof value &&
                  write(fd[1], &size, sizeof size) == sizeof size;
        ok = ok && write(fd[1], out.constData(), size_t(size)) == size;
        _exit(ok ? 0 : 1);
    }
    close(fd[1]);
    long value = -1;
    qint64 size = 0;
    if (read(fd[0], &value, sizeof value) != sizeof value || read(fd[0], &size, sizeof size) != sizeof size)
        value = -1;
    text.clear();
    char buffer[4096];
    ssize_t got;
    while (value >= 0 && text.size() < size && (got = read(fd[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, int(got));
    close(fd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return value;
}

void Print(const char* name, double value, double floor, const char* unit) {
    std::printf("%s: %.3f %s (floor %.3f %s, ratio %.2f)\n", name, value, unit, floor, unit,
                floor > 0 ? value / floor : 0.0);
    std::fflush(stdout);
}

// The best of several runs; setup (freeing what the previous run built) is not timed.
template <class S, class F>
double BestSeconds(int runs, S setup, F f) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        f();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (!QFile::exists(DatabaseFile())) {
        std::fprintf(stderr, "bench-data: no database at %s\n", qPrintable(DatabaseFile()));
        return 2;
    }

    // snapshot-memory: each side in its own process, before this one holds anything.
    QByteArray statementText;
    const long moduleKb = InChild(
        [&](QByteArray& out) {
            QStringList statements;
            const long kb = ModuleMemory(argc, argv, statements);
            out = statements.join(QChar(0)).toUtf8();
            return kb;
        },
        statementText);
    const QStringList statements = QString::fromUtf8(statementText).split(QChar(0));
    QByteArray unused;
    const long floorKb = InChild([&](QByteArray&) { return FloorMemory(statements); }, unused);
    if (moduleKb < 0 || floorKb < 0 || statements.size() != 14) {
        std::fprintf(stderr, "bench-data: the memory measurement failed\n");
        return 1;
    }
    Print("snapshot-memory", moduleKb / 1024.0, floorKb / 1024.0, "MiB");

    QApplication app(argc, argv);
    TRawDatabase raw;
    const auto floorOpen = [&] {
        std::vector<TCells> results;
        for (const QString& statement : statements) {
            results.emplace_back();
            raw.Fetch(statement, results.back());
        }
    };
    floorOpen();  // warm the page cache for both sides
    TDataModule3* module = nullptr;
    const double ours = BestSeconds(
        3,
        [&] {
            delete module;
            module = nullptr;
        },
        [&] {
            module = new TDataModule3(nullptr);
            CompleteEveryFetch(*module);
        });
    std::vector<TCells> held;
    const double floor = BestSeconds(
        3, [&] { held.clear(); },
        [&] {
            for (const QString& statement : statements) {
                held.emplace_back();
                raw.Fetch(statement, held.back());
            }
        });
    held.clear();
    Print("open-all", ours, floor, "s");
    // Where the time of the opens at creation goes: each data set's open on its own (until it returns
    // and until every row is there), and how soon its statement gives a first row.
    for (int i = 0; i < module->OpenedAtCreation().size(); ++i) {
        TDataSet* dataSet = module->OpenedAtCreation().at(i);
        dataSet->Close();
        QElapsedTimer clock;
        clock.start();
        dataSet->Open();
        const double returned = clock.nsecsElapsed() / 1e9;
        const int rows = dataSet->RecordCount();
        std::printf("# open %s: returns after %.4f s, %d rows there after %.3f s; first row of the "
                    "statement after %.4f s\n",
                    qPrintable(dataSet->Name()), returned, rows, clock.nsecsElapsed() / 1e9,
                    raw.FirstRowSeconds(statements.value(i)));
    }
    // How long the module's creation keeps the start waiting, which is what comes before the splash.
    const double created = BestSeconds(
        3,
        [&] {
            delete module;
            module = nullptr;
        },
        [&] { module = new TDataModule3(nullptr); });
    std::printf("# module created (before the splash) after %.3f s\n", created);
    CompleteEveryFetch(*module);
    size_t heldBytes = 0;
    int rows = 0;
    for (TDataSet* dataSet : module->OpenedAtCreation()) {
        heldBytes += dataSet->SnapshotBytes();
        rows += dataSet->RecordCount();
    }
    std::printf("# snapshots: %d rows in %.1f MiB of blocks\n", rows, heldBytes / 1048576.0);
    const TPayload payload = Payload(raw, *module, statements);
    std::printf("snapshot-payload-ratio: %.2f (floor 1.00)\n",
                payload.Bytes ? double(heldBytes) / double(payload.Bytes) : 0.0);
    // What the snapshots hold beyond the payload: a tag byte per cell, a length per text, a date as
    // its 19-byte text, a pointer per row and the unused ends of blocks; small integers as varints
    // take less than their 8 bytes and pay some of it back.
    const double mib = 1048576.0;
    std::printf(
        "# snapshot payload: %.1f MiB; %zu rows, %zu cells (tags %.1f MiB), %zu texts, %zu dates "
        "(%.1f MiB as text), row index %.1f MiB\n",
        payload.Bytes / mib, payload.Rows, payload.Cells, payload.Cells / mib, payload.Texts, payload.Dates,
        payload.Dates * 11 / mib, payload.Rows * sizeof(void*) / mib);

    // sort-name: one sort choice on the goods list with the Russian collation.
    const QString clause = QStringLiteral("ORDER BY Наименование ASC");
    const double sortOurs = BestSeconds(
        3, [] {},
        [&] {
            module->ADOQuery1->Close();
            module->ADOQuery1->SQL().SetStrings(7, clause);
            module->ADOQuery1->Open();
            module->ADOQuery1->CompleteFetch();  // every row sorted and there
        });
    const QString sorted = TsqlToSqlite(module->ADOQuery1->SQL().Text());
    TCells sortedCells;
    const double sortFloor = BestSeconds(
        3, [&] { sortedCells.clear(); }, [&] { raw.Fetch(sorted, sortedCells); });
    sortedCells.clear();
    Print("sort-name", sortOurs, sortFloor, "s");
    std::printf("# sort-name rows: %d\n", module->ADOQuery1->RecordCount());

    // detail-follow: 1,000 moves of the supplier with ADOTable6 and ADOTable11 following.
    constexpr int kMoves = 1000;
    TADOTable* suppliers = module->ADOTable4;
    suppliers->First();
    const qint64 requestsBefore = module->ADOConnection1->DatabaseRequests();
    qint64 visible = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kMoves; ++i) {
        if (suppliers->Eof())
            suppliers->First();
        else
            suppliers->Next();
        visible += module->ADOTable6->RecordCount() + module->ADOTable11->RecordCount();
    }
    const double followOurs = timer.nsecsElapsed() / 1e6 / kMoves;
    const qint64 requests = module->ADOConnection1->DatabaseRequests() - requestsBefore;

    // The floor asks the database for both details at every move.
    sqlite3_stmt* orders = nullptr;
    sqlite3_stmt* wares = nullptr;
    sqlite3_prepare_v2(raw.Handle(), "select * from [order] where Idprovider = ?", -1, &orders, nullptr);
    sqlite3_prepare_v2(raw.Handle(), "select * from View_2 where Idprovider = ?", -1, &wares, nullptr);
    suppliers->First();
    const int idField = suppliers->FieldByName(QStringLiteral("Idprovider"))->Index();
    qint64 floorVisible = 0;
    timer.restart();
    for (int i = 0; i < kMoves; ++i) {
        const qint64 id =
            suppliers->ValueAt((i + 1) % std::max(1, suppliers->RecordCount()), idField).toLongLong();
        for (sqlite3_stmt* stmt : {orders, wares}) {
            TCells cells;
            sqlite3_reset(stmt);
            sqlite3_bind_int64(stmt, 1, id);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                ++floorVisible;
                for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                    if (sqlite3_column_type(stmt, c) == SQLITE_TEXT)
                        cells.emplace_back(
                            std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                        size_t(sqlite3_column_bytes(stmt, c))));
                    else
                        cells.emplace_back(static_cast<long long>(sqlite3_column_int64(stmt, c)));
                }
            }
        }
    }
    const double followFloor = timer.nsecsElapsed() / 1e6 / kMoves;
    sqlite3_finalize(orders);
    sqlite3_finalize(wares);
    Print("detail-follow", followOurs, followFloor, "ms/move");
    std::printf("detail-follow-db-requests: %lld requests (floor %d requests, ratio %.2f)\n",
                static_cast<long long>(requests), 2 * kMoves, double(requests) / (2 * kMoves));
    std::printf("# detail-follow visible rows: %lld (floor %lld)\n", static_cast<long long>(visible),
                static_cast<long long>(floorVisible));
    delete module;
    return 0;
}
