// The handler dispatcher.
#include "THandlerDispatch.h"

#include "Exception.h"
#include "TErrorBox.h"

bool Dispatch(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const Exception& e) {
        ShowException(e);
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
