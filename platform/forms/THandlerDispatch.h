// The one door from Qt into our code. Every slot bound to a handler, overridden event function
// and timer tick runs through Dispatch: an exception that escapes the handler ends that handler
// and is shown in the application's error box; the event loop then goes on. No exception may
// unwind through Qt's own frames.
#pragma once

#include <functional>

// Runs the handler; returns false when it ended with an exception (already shown).
bool Dispatch(const std::function<void()>& handler);

// Wraps a handler for QObject::connect: connect(button, &QPushButton::clicked, Handler([this]{...})).
template <class F>
auto Handler(F f) {
    return [f](auto&&...) { Dispatch(f); };
}
