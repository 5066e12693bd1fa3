// The background listener of a data connection: a thread waiting in one-second steps on a local
// socket only the same user can reach, handing every data request to the window thread and waiting
// until it is done. It touches no data itself. Stopped (and joined) by its destructor.
#pragma once

#include <QString>
#include <memory>

class QObject;
class TReportDataSource;

class TReportListener {
public:
    // source must outlive the listener; context (a QObject of the window thread) carries the requests.
    TReportListener(TReportDataSource* source, QObject* context);
    ~TReportListener();

    // The full path of the local socket.
    QString ServerName() const;
    bool Listening() const;

    // Answers one request line (what the window thread does for the thread); public for tests.
    static QByteArray Answer(TReportDataSource* source, const QByteArray& request);

private:
    struct TPrivate;
    std::unique_ptr<TPrivate> d;
};
