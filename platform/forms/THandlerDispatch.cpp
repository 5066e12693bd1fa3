// The handler dispatcher: catches what escapes a handler and shows it in the application's error box.
// Relies on TErrorBox.
#include "THandlerDispatch.h"

#include "Exception.h"
#include "TErrorBox.h"

bool Dispatch(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const Exception& e) {
        ShowException(e);
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        // Nothing may unwind into Qt, whatever was thrown.
        ShowErrorBox(QStringLiteral("Unknown exception"));
    }
    return false;
}
