// How long the next connection attempt may wait: the full time-out normally, a short one when an
// attempt failed a moment ago. A start-up against a locked or unreachable database makes fifteen
// attempts in a row; only the first should pay the whole wait.
#pragma once

#include <QElapsedTimer>

class TRetryPace {
public:
    // The window after a failure within which attempts are short (ms).
    static constexpr qint64 kShortWindowMs = 15000;

    int Wait(int full, int quick) const {
        return m_failed.isValid() && m_failed.elapsed() < kShortWindowMs ? quick : full;
    }
    void Failed() { m_failed.start(); }
    void Succeeded() { m_failed.invalidate(); }

private:
    QElapsedTimer m_failed;  // invalid until an attempt fails
};
