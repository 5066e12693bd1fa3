// Holds every background reading mid-way while it lives: connections made on a thread other than the
// window thread (the readings' own) give their rows up to a count, then wait until released, or fail
// there as a database lost during the reading fails. Connections of the window thread are untouched.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "Exception.h"
#include "TDbConnection.h"
#include "TForwardingProvider.h"

class THeldFetch {
public:
    explicit THeldFetch(int rowsBeforeTheHold) : m_rows(rowsBeforeTheHold) {
        TDbConnection::SetProviderWrapper([this](std::unique_ptr<TDbProvider> real) -> std::unique_ptr<TDbProvider> {
            if (QThread::currentThread() == QCoreApplication::instance()->thread())
                return real;
            return std::make_unique<THeldProvider>(this, std::move(real));
        });
    }
    ~THeldFetch() {
        Release();
        if (m_releaser.joinable())
            m_releaser.join();
        TDbConnection::SetProviderWrapper({});
    }
    THeldFetch(const THeldFetch&) = delete;
    THeldFetch& operator=(const THeldFetch&) = delete;

    // Lets every held reading go on (or fail, after FailAtTheHold).
    void Release() {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_released = true;
        }
        m_changed.notify_all();
    }
    // Releases from another thread a moment later, so that the window thread can wait for the rows.
    void ReleaseSoon() {
        m_releaser = std::thread([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            Release();
        });
    }
    void FailAtTheHold(const QString& message) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_failure = message;
    }
    // Whether a reading has reached the hold within the time.
    bool WaitUntilHeld(int milliseconds = 5000) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_held > 0; });
    }

private:
    class THeldCursor : public TDbCursor {
    public:
        THeldCursor(THeldFetch* hold, std::unique_ptr<TDbCursor> real) : m_hold(hold), m_real(std::move(real)) {}
        const QVector<TDbColumn>& Columns() const override { return m_real->Columns(); }
        bool Next() override {
            if (m_given++ == m_hold->m_rows)
                m_hold->Hold();
            return m_real->Next();
        }
        TDbValue Value(int column) const override { return m_real->Value(column); }

    private:
        THeldFetch* m_hold;
        std::unique_ptr<TDbCursor> m_real;
        int m_given = 0;
    };

    class THeldProvider : public TForwardingProvider {
    public:
        THeldProvider(THeldFetch* hold, std::unique_ptr<TDbProvider> real)
            : TForwardingProvider(std::move(real)), m_hold(hold) {}
        std::unique_ptr<TDbCursor> Select(const QString& statement, const QVector<QVariant>& params) override {
            return std::make_unique<THeldCursor>(m_hold, TForwardingProvider::Select(statement, params));
        }

    private:
        THeldFetch* m_hold;
    };

    void Hold() {
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_held;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_released; });
        if (!m_failure.isEmpty())
            throw EDatabaseError(m_failure);
    }

    const int m_rows;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_released = false;
    int m_held = 0;
    QString m_failure;
    std::thread m_releaser;
};
