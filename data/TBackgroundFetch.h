// Reading a result on a thread of its own, with a connection of its own, so that an open can return
// after its first rows. The thread alone writes the rows into its store until the result is read
// whole; the window thread takes the rows finished so far (pointers into that store, never written
// again) between events, and the store itself once the thread has ended. Relies on TDbConnection.
#pragma once

#include <QString>
#include <QVector>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "TDbTypes.h"
#include "TRowStore.h"

class TBackgroundFetch {
public:
    // Starts reading. The window thread asks for what is finished (Take) between its events: nothing
    // crosses from this thread to that one but through this object's mutex.
    TBackgroundFetch(QString connectionString, QString statement, int firstRows);
    ~TBackgroundFetch();  // stops the reading and waits for the thread
    TBackgroundFetch(const TBackgroundFetch&) = delete;
    TBackgroundFetch& operator=(const TBackgroundFetch&) = delete;

    // Waits for the result's columns and its first rows (or the end); throws what the reading failed with.
    QVector<TDbColumn> WaitForStart();
    // The rows finished since the last call, in the result's order, in the pieces they were read in;
    // with wait, every row left, once the reading has ended.
    using TPieces = std::vector<std::vector<const char*>>;
    TPieces Take(bool wait);
    bool Ended() const;
    // Once ended: what it failed with (empty when it read everything), and the rows' store.
    QString Failure() const;
    TRowStore TakeStore();

private:
    void Read(const QString& connectionString, const QString& statement, int firstRows);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QVector<TDbColumn> m_columns;
    bool m_started = false;
    TPieces m_finished;  // handed over by the next Take
    bool m_ended = false;
    bool m_stop = false;
    bool m_urgent = false;  // the window thread waits for the rest
    QString m_failure;
    TRowStore m_store;  // written by the reading thread only, until it has ended
    std::thread m_thread;
};
