// The reading thread and the hand-over of its rows.
#include "TBackgroundFetch.h"

#include <memory>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_UNIX
#include <pthread.h>
#include <sched.h>
#endif

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbCursor.h"

namespace {

// Once its first rows are there, the reading takes only time no one else wants, so that the window
// thread (the splash, the windows) never waits for it; when the window thread must wait for the rest,
// it runs as any thread again, so that other programs keeping the computer busy cannot hold it up.
// Where the system has no such class it always runs as any thread.
void SetIdle(std::thread::native_handle_type thread, bool idle) {
#ifdef SCHED_IDLE
    sched_param none{};
    pthread_setschedparam(thread, idle ? SCHED_IDLE : SCHED_OTHER, &none);
#else
    Q_UNUSED(thread);
    Q_UNUSED(idle);
#endif
}

// The C library would give each reading thread a memory arena of its own, and a dozen readings at
// the start would keep a dozen arenas' worth of memory; one arena serves them as well.
void ShareMallocArenas() {
#ifdef __GLIBC__
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_ARENA_MAX, 1); });
#endif
}

void SetSelfIdle() {
#ifdef SCHED_IDLE
    SetIdle(pthread_self(), true);
#endif
}

// Rows handed over at a time after the first ones: few enough calls to the window thread, soon enough
// for a grid that grows as they come.
constexpr size_t kRowsPerHandOver = 8192;

}  // namespace

TBackgroundFetch::TBackgroundFetch(QString connectionString, QString statement, int firstRows) {
    ShareMallocArenas();
    m_thread = std::thread([this, connectionString = std::move(connectionString),
                            statement = std::move(statement), firstRows] {
        Read(connectionString, statement, firstRows);
    });
}

TBackgroundFetch::~TBackgroundFetch() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_thread.join();
}

void TBackgroundFetch::Read(const QString& connectionString, const QString& statement, int firstRows) {
    QString failure;
    try {
        TDbConnection db(connectionString);
        // One pass over the result: a large page cache would only hold what was read, once per reading.
        if (db.IsEmbedded())
            db.Execute(QStringLiteral("PRAGMA cache_size = -128"));
        const std::unique_ptr<TDbCursor> cursor = db.Select(statement);
        const QVector<TDbColumn> columns = cursor->Columns();
        const int width = columns.size();
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_columns = columns;
        }
        size_t batch = size_t(firstRows);
        bool more = true;
        while (more) {
            // Pieces of a fixed size, kept apart until taken: no one vector of every row grows (and
            // doubles) here beside the one the data set builds.
            std::vector<const char*> rows;
            rows.reserve(batch);
            while (rows.size() < batch && (more = cursor->Next()))
                rows.push_back(m_store.AddFromCursor(*cursor, width));
            {
                const std::lock_guard<std::mutex> lock(m_mutex);
                if (!rows.empty())
                    m_finished.push_back(std::move(rows));
                const bool first = !m_started;
                m_started = true;
                if (m_stop)
                    return;  // nobody takes the rest: the store goes with this object
                if (first && !m_urgent)
                    SetSelfIdle();
            }
            m_changed.notify_all();
            batch = kRowsPerHandOver;
        }
    } catch (const Exception& e) {
        failure = e.Message();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_failure = failure;
        m_started = true;
        m_ended = true;
    }
    m_changed.notify_all();
}

QVector<TDbColumn> TBackgroundFetch::WaitForStart() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_started; });
    if (m_ended && !m_failure.isEmpty())
        throw EDatabaseError(m_failure);
    return m_columns;
}

TBackgroundFetch::TPieces TBackgroundFetch::Take(bool wait) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (wait && !m_ended) {
        m_urgent = true;
        SetIdle(m_thread.native_handle(), false);
        m_changed.wait(lock, [this] { return m_ended; });
    }
    TPieces pieces;
    pieces.swap(m_finished);
    return pieces;
}

bool TBackgroundFetch::Ended() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_ended;
}

QString TBackgroundFetch::Failure() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_failure;
}

TRowStore TBackgroundFetch::TakeStore() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    Q_ASSERT_X(m_ended, "TBackgroundFetch", "the store is the reading thread's until it has ended");
    return std::move(m_store);
}
