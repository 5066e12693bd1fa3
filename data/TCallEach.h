// Telling every receiver of a list: the data set's sources, a source's links. A receiver may bind or
// unbind receivers while being told, so the walk goes over a copy and skips those gone meanwhile; one
// receiver's failure (a label naming a missing column, a cell text that does not convert) does not keep
// the others from being told, and the first failure goes on to the caller afterwards.
#pragma once

#include <QVector>
#include <exception>

template <typename TReceiver, typename TCall>
void CallEach(const QVector<TReceiver*>& receivers, const TCall& call) {
    const QVector<TReceiver*> snapshot = receivers;
    std::exception_ptr failure;
    for (TReceiver* receiver : snapshot) {
        if (!receivers.contains(receiver))
            continue;
        try {
            call(receiver);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}
