// Checks shared by the tests: "this call throws this message", "let the event queue settle"
// (instead of a fixed wait when a test asserts that nothing appeared) and typing text as keys.
#pragma once

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QTest>
#include <QWidget>
#include <exception>

#include "Exception.h"

namespace TTestChecks {

// The message of the Exception that call throws; "<no exception>" when it returns, and the text of
// a foreign exception marked as such, so a comparison with the expected message fails readably.
template <class F>
QString ThrownMessage(F&& call) {
    try {
        call();
    } catch (const Exception& error) {
        return error.Message();
    } catch (const std::exception& error) {
        return QStringLiteral("<foreign exception> ") + QString::fromUtf8(error.what());
    }
    return QStringLiteral("<no exception>");
}

// Runs every event that is queued now and every one those post in turn, including deferred deletes
// and zero-time timers, until a pass finds nothing left to do or the time is up.
inline void SettleEvents(int milliseconds = 2000) {
    const QDeadlineTimer deadline(milliseconds);
    for (int idle = 0; idle < 3 && !deadline.hasExpired();) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const bool busy =
            QCoreApplication::instance()->eventDispatcher()->processEvents(QEventLoop::AllEvents);
        idle = busy ? 0 : idle + 1;
    }
}

// Types text into widget as key presses carrying it, as the keyboard gives it: QTest's own key
// names cover ASCII only, so Cyrillic letters and the rest go as their text, one key per character
// (a character outside the basic plane is one key carrying both of its UTF-16 units).
inline void TypeText(QWidget* widget, const QString& text) {
    for (const char32_t c : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
}

}  // namespace TTestChecks

// QCOMPARE of the message that a call throws: QCOMPARE_THROWS(t->Post(), "...").
#define QCOMPARE_THROWS(call, message) QCOMPARE(TTestChecks::ThrownMessage([&] { call; }), QString(message))
