// A window timer: Enabled, Interval and OnTimer. Changing the interval restarts a running timer,
// and every tick reaches OnTimer through the handler dispatcher.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class TTimer : public QObject {
    Q_OBJECT
public:
    // Created enabled with an interval of 1000 ms, like the toolkit's timer component.
    explicit TTimer(QObject* parent = nullptr);

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    int Interval() const { return m_interval; }
    void SetInterval(int milliseconds);
    // Whether ticks are being delivered (enabled, a positive interval and a handler).
    bool Running() const { return m_timer.isActive(); }

    std::function<void()> OnTimer;

private:
    void Restart();

    QTimer m_timer;
    bool m_enabled = true;
    int m_interval = 1000;
};
