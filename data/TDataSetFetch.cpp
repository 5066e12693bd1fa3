// The data set's background reading: the rows a TBackgroundFetch finished, taken by a timer of the
// window thread and added at the end, and waiting for the rest where the whole result is needed.
#include <QTimerEvent>

#include "Exception.h"
#include "TDataSetPrivate.h"

namespace {

std::function<void(bool)> waitIndicator;
// How often the window thread takes the rows a background reading finished: soon enough for a grid
// that grows as they come, rarely enough to cost nothing.
constexpr int kTakeRowsEveryMs = 25;

}  // namespace

bool TDataSet::Fetching() const {
    return d->Fetch != nullptr;
}

void TDataSet::SetWaitIndicator(std::function<void(bool waiting)> indicator) {
    waitIndicator = std::move(indicator);
}

void TDataSet::CompleteFetch() {
    if (!d->Fetch)
        return;
    const TInvariantCheck check(this);
    const bool waits = waitIndicator && !d->Fetch->Ended();
    if (waits)
        waitIndicator(true);
    const TBackgroundFetch::TPieces rest = d->Fetch->Take(true);
    if (waits)
        waitIndicator(false);
    const QString failure = d->Fetch->Failure();
    if (!failure.isEmpty()) {
        Close();
        throw EDatabaseError(failure);
    }
    AppendArrivedRows(rest);
    EndFetch();
}

void TDataSet::timerEvent(QTimerEvent* event) {
    if (event->timerId() == d->FetchTimer)
        TakeArrivedRows();
    else
        QObject::timerEvent(event);
}

void TDataSet::StartFetchTimer() {
    d->FetchTimer = startTimer(kTakeRowsEveryMs);
}

void TDataSet::StopFetchTimer() {
    if (d->FetchTimer)
        killTimer(d->FetchTimer);
    d->FetchTimer = 0;
}

void TDataSet::TakeArrivedRows() {
    if (!d->Fetch)
        return;
    const TInvariantCheck check(this);
    AppendArrivedRows(d->Fetch->Take(false));
    // A failure waits for the rows to be needed, where it is told as an open that failed.
    if (d->Fetch->Ended() && d->Fetch->Failure().isEmpty()) {
        AppendArrivedRows(d->Fetch->Take(false));
        EndFetch();
    }
}

void TDataSet::AppendArrivedRows(const std::vector<std::vector<const char*>>& pieces) {
    if (pieces.empty())
        return;
    const int first = d->Visible.Count();
    d->Visible.Append(pieces);
    NotifyDataSources(TDataEvent::RowsArrived, first);
}

void TDataSet::EndFetch() {
    StopFetchTimer();
    d->Store = d->Fetch->TakeStore();
    d->Fetch.reset();
    NotifyDataSources(TDataEvent::RowsArrived, d->Visible.Count());
}
