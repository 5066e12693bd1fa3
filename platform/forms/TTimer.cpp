// The window timer. Relies on THandlerDispatch for every tick.
#include "TTimer.h"

#include "THandlerDispatch.h"

TTimer::TTimer(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (OnTimer)
            Dispatch(OnTimer);
    });
    Restart();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Restart();
}

void TTimer::SetInterval(int milliseconds) {
    if (milliseconds == m_interval)
        return;
    m_interval = milliseconds;
    Restart();
}

void TTimer::Restart() {
    m_timer.stop();
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
}
