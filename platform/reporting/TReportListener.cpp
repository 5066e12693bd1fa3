// The listener thread. Protocol: one request per connection, one line of JSON
//   {"connection": "<name>", "request": "columns"}            -> {"columns": [{name,type,size,label}...]}
//   {"connection": "<name>", "request": "rows", "conditions": [...]} -> {"columns": [...], "rows":
//   [[...]...]}
// answered with one line of JSON; anything else is answered {"error": "..."}. Requests go to the
// window thread as queued calls; the thread waits for the answer in one-second steps so that a
// stop request is seen even while the window thread is busy.
#include "TReportListener.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMetaObject>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "Exception.h"
#include "TPaginator.h"
#include "TReportDataSource.h"

namespace {

// Requests are short; a peer sending more is not the engine.
const qint64 kMaxRequest = 64 * 1024;
const int kStepMs = 1000;

QJsonArray ColumnsJson(const QVector<TReportColumn>& columns) {
    QJsonArray out;
    for (const TReportColumn& c : columns)
        out.append(QJsonObject{{QStringLiteral("name"), c.Name},
                               {QStringLiteral("type"), QString::fromLatin1(QMetaType(c.Type).name())},
                               {QStringLiteral("size"), c.Size},
                               {QStringLiteral("label"), c.DisplayLabel}});
    return out;
}

class TCollector : public TReportPassVisitor {
public:
    explicit TCollector(bool rows) : m_rows(rows) {}
    void Columns(const QVector<TReportColumn>& columns) override {
        Answer.insert(QStringLiteral("columns"), ColumnsJson(columns));
    }
    bool Row(const QVector<QVariant>& values) override {
        if (!m_rows)
            return false;
        QJsonArray row;
        for (const QVariant& v : values)
            row.append(v.isNull() ? QJsonValue() : QJsonValue(ReportCellValue(v)));
        m_data.append(row);
        return true;
    }
    QJsonObject Finish() {
        if (m_rows)
            Answer.insert(QStringLiteral("rows"), m_data);
        return Answer;
    }
    QJsonObject Answer;

private:
    bool m_rows;
    QJsonArray m_data;
};

QByteArray ErrorAnswer(const QString& text) {
    return QJsonDocument(QJsonObject{{QStringLiteral("error"), text}}).toJson(QJsonDocument::Compact) + '\n';
}

// Whether the peer of a local socket runs as this user; the socket file's mode already keeps
// others out, this holds even where the file's mode is not honoured.
bool SameUser(qintptr descriptor) {
#ifdef SO_PEERCRED
    struct ucred cred;
    socklen_t length = sizeof(cred);
    if (getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0)
        return false;
    return cred.uid == getuid();
#else
    return true;
#endif
}

// One request carried to the window thread and its answer back; shared so that either side may go first.
struct TJob {
    std::mutex Mutex;
    std::condition_variable Done;
    bool Finished = false;
    QByteArray Answer;
};

}  // namespace

QByteArray TReportListener::Answer(TReportDataSource* source, const QByteArray& request) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(request.trimmed(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return ErrorAnswer(QStringLiteral("not a data request"));
    const QJsonObject o = doc.object();
    const QString connection = o.value(QStringLiteral("connection")).toString();
    if (connection.compare(source->ConnectionName(), Qt::CaseInsensitive) != 0)
        return ErrorAnswer(QStringLiteral("no data connection \"%1\" here").arg(connection));
    const QString kind = o.value(QStringLiteral("request")).toString();
    if (kind != QLatin1String("columns") && kind != QLatin1String("rows"))
        return ErrorAnswer(QStringLiteral("unknown request"));
    QVector<TReportCondition> conditions;
    const QJsonValue list = o.value(QStringLiteral("conditions"));
    if (!list.isUndefined() && !list.isArray())
        return ErrorAnswer(QStringLiteral("conditions must be a list"));
    for (const QJsonValue& v : list.toArray()) {
        const QJsonObject c = v.toObject();
        TReportCondition condition;
        condition.Field = c.value(QStringLiteral("field")).toString();
        condition.Op = c.value(QStringLiteral("op")).toString(QStringLiteral("="));
        condition.Value = c.value(QStringLiteral("value")).toVariant();
        if (condition.Field.isEmpty() || !TReportCondition::IsKnownOp(condition.Op))
            return ErrorAnswer(QStringLiteral("bad condition"));
        conditions.append(condition);
    }
    TCollector collector(kind == QLatin1String("rows"));
    try {
        source->Pass(conditions, collector);
    } catch (const Exception& e) {
        return ErrorAnswer(e.Message());
    } catch (const std::exception& e) {
        return ErrorAnswer(QString::fromLocal8Bit(e.what()));
    }
    return QJsonDocument(collector.Finish()).toJson(QJsonDocument::Compact) + '\n';
}

class TListenerThread : public QThread {
public:
    TListenerThread(TReportDataSource* source, QObject* context, QString name)
        : m_source(source), m_context(context), m_name(std::move(name)) {}

    bool Listening() const { return m_listening.loadAcquire() != 0; }
    // The standard library's, which thread checkers see through (Qt's wait condition releases its
    // mutex inside Qt, where they cannot).
    std::mutex StartMutex;
    std::condition_variable Started;
    bool StartDone = false;

protected:
    void run() override {
        QLocalServer server;
        server.setSocketOptions(QLocalServer::UserAccessOption);
        QLocalServer::removeServer(m_name);
        const bool ok = server.listen(m_name);
        m_listening.storeRelease(ok ? 1 : 0);
        {
            // Told under the lock: the window thread's wait ends only after this, so the thread's
            // end need not be seen for the condition to be destroyed safely afterwards.
            const std::lock_guard<std::mutex> lock(StartMutex);
            StartDone = true;
            Started.notify_all();
        }
        if (!ok)
            return;
        while (!isInterruptionRequested()) {
            if (!server.waitForNewConnection(kStepMs))
                continue;
            while (QLocalSocket* socket = server.nextPendingConnection()) {
                Serve(socket);
                delete socket;
            }
        }
        server.close();
    }

private:
    void Serve(QLocalSocket* socket) {
        if (!SameUser(socket->socketDescriptor())) {
            socket->abort();
            return;
        }
        QByteArray request;
        while (!request.contains('\n') && request.size() <= kMaxRequest && !isInterruptionRequested()) {
            if (!socket->waitForReadyRead(kStepMs)) {
                if (socket->state() != QLocalSocket::ConnectedState)
                    break;
                continue;
            }
            request += socket->read(kMaxRequest + 1 - request.size());
        }
        QByteArray answer;
        if (request.size() > kMaxRequest) {
            answer = ErrorAnswer(QStringLiteral("request too long"));
        } else if (!request.contains('\n')) {
            return;
        } else {
            answer = OnWindowThread(request.left(request.indexOf('\n')));
            if (answer.isEmpty())
                return;
        }
        socket->write(answer);
        while (socket->bytesToWrite() > 0 && !isInterruptionRequested())
            if (!socket->waitForBytesWritten(kStepMs) && socket->state() != QLocalSocket::ConnectedState)
                break;
        socket->disconnectFromServer();
    }

    // Hands the request to the window thread and waits for its answer; empty when stopping first.
    QByteArray OnWindowThread(const QByteArray& request) {
        auto job = std::make_shared<TJob>();
        TReportDataSource* source = m_source;
        QMetaObject::invokeMethod(
            m_context,
            [job, source, request] {
                const QByteArray answer = TReportListener::Answer(source, request);
                const std::lock_guard<std::mutex> lock(job->Mutex);
                job->Answer = answer;
                job->Finished = true;
                job->Done.notify_all();
            },
            Qt::QueuedConnection);
        std::unique_lock<std::mutex> lock(job->Mutex);
        while (!job->Finished) {
            if (isInterruptionRequested())
                return {};
            job->Done.wait_for(lock, std::chrono::milliseconds(kStepMs));
        }
        return job->Answer;
    }

    TReportDataSource* m_source;
    QObject* m_context;
    QString m_name;
    QAtomicInt m_listening;
};

struct TReportListener::TPrivate {
    std::unique_ptr<TListenerThread> Thread;
    QString Name;
};

TReportListener::TReportListener(TReportDataSource* source, QObject* context)
    : d(std::make_unique<TPrivate>()) {
    // In the user's runtime folder (mode 0700) when there is one; the socket itself is user-only too.
    QString folder;
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    d->Name = folder + QStringLiteral("/zirt-report-%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(source->ConnectionName());
    d->Thread = std::make_unique<TListenerThread>(source, context, d->Name);
    d->Thread->setObjectName(QStringLiteral("ReportListener"));
    d->Thread->start();
    std::unique_lock<std::mutex> lock(d->Thread->StartMutex);
    d->Thread->Started.wait(lock, [this] { return d->Thread->StartDone; });
}

TReportListener::~TReportListener() {
    d->Thread->requestInterruption();
    // A connection of our own wakes the thread from its wait, so stopping takes no full step.
    if (d->Thread->Listening()) {
        QLocalSocket wake;
        wake.connectToServer(d->Name);
        wake.waitForConnected(kStepMs);
        d->Thread->wait();
        wake.abort();
    }
    d->Thread->wait();
}

QString TReportListener::ServerName() const {
    return d->Name;
}

bool TReportListener::Listening() const {
    return d->Thread->Listening();
}
