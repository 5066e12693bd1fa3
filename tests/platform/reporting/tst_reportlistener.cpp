// The data listener: reachable on a user-only local socket, answering only data requests of its own
// connection, carrying every request out on the window thread, and stopping promptly.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QObject>
#include <QTest>
#include <QThread>

#include "TReportListener.h"
#include "TVectorSource.h"

namespace {

// The window-thread side records which thread carried the pass out.
class TThreadSource : public TVectorSource {
public:
    using TVectorSource::TVectorSource;
    void Pass(const QVector<TReportCondition>& conditions, TReportPassVisitor& visitor) override {
        PassThread = QThread::currentThread();
        TVectorSource::Pass(conditions, visitor);
    }
    QThread* PassThread = nullptr;
};

// Sends one line and spins the event loop (the window thread's part) until the answer is in.
QJsonObject Ask(const QString& server, const QByteArray& line) {
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(3000))
        return {{QStringLiteral("connect"), socket.errorString()}};
    socket.write(line);
    socket.flush();
    QByteArray answer;
    for (int i = 0; i < 500 && !answer.contains('\n'); ++i) {
        QTest::qWait(10);
        answer += socket.readAll();
    }
    return QJsonDocument::fromJson(answer).object();
}

}  // namespace

class TstReportListener : public QObject {
    Q_OBJECT

    std::unique_ptr<TThreadSource> m_source;
    std::unique_ptr<QObject> m_context;
    std::unique_ptr<TReportListener> m_listener;

private Q_SLOTS:
    void init() {
        m_source = std::make_unique<TThreadSource>(QStringLiteral("RvDataSetConnection1"),
                                                   TVectorSource::PriceColumns());
        m_source->Rows = TVectorSource::PriceRows(5);
        m_context = std::make_unique<QObject>();
        m_listener = std::make_unique<TReportListener>(m_source.get(), m_context.get());
        QVERIFY(m_listener->Listening());
    }
    void cleanup() {
        m_listener.reset();
        m_context.reset();
        m_source.reset();
    }

    void socketIsUserOnly() {
        const QFileInfo info(m_listener->ServerName());
        QVERIFY(info.exists());
        QVERIFY(!(info.permissions() & (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                        QFileDevice::ReadOther | QFileDevice::WriteOther)));
    }

    void columnsAndRows() {
        const QJsonObject columns =
            Ask(m_listener->ServerName(), R"({"connection":"rvdatasetconnection1","request":"columns"})"
                                          "\n");
        QCOMPARE(columns.value("columns").toArray().size(), 4);
        QCOMPARE(columns.value("columns").toArray().at(2).toObject().value("name").toString(),
                 QStringLiteral("saleprice"));
        QVERIFY(!columns.contains("rows"));
        const QJsonObject rows =
            Ask(m_listener->ServerName(), R"({"connection":"RvDataSetConnection1","request":"rows",)"
                                          R"("conditions":[{"field":"saleprice","op":">","value":103}]})"
                                          "\n");
        const QJsonArray data = rows.value("rows").toArray();
        QCOMPARE(data.size(), 3);  // prices are 101.5 .. 105.5
        QCOMPARE(data.at(0).toArray().at(0).toString(), QStringLiteral("Товар 3"));
        QCOMPARE(m_source->PassThread, QThread::currentThread());
    }

    void onlyItsOwnDataRequests_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("error");
        QTest::newRow("garbage") << QByteArray("GET / HTTP/1.0\n") << "not a data request";
        QTest::newRow("other connection") << QByteArray(R"({"connection":"Other","request":"rows"})"
                                                        "\n")
                                          << "no data connection";
        QTest::newRow("other request")
            << QByteArray(R"({"connection":"RvDataSetConnection1","request":"delete"})"
                          "\n")
            << "unknown request";
        QTest::newRow("bad condition")
            << QByteArray(
                   R"({"connection":"RvDataSetConnection1","request":"rows","conditions":[{"field":"a","op":"~"}]})"
                   "\n")
            << "bad condition";
        QTest::newRow("too long") << QByteArray(70000, 'x') + '\n' << "too long";
    }
    void onlyItsOwnDataRequests() {
        QFETCH(QByteArray, line);
        QFETCH(QString, error);
        const QJsonObject answer = Ask(m_listener->ServerName(), line);
        QVERIFY2(answer.value("error").toString().contains(error),
                 qPrintable(QJsonDocument(answer).toJson()));
        QCOMPARE(m_source->Passes, 0);
    }

    void stopsPromptlyEvenWithAClientHanging() {
        QLocalSocket idle;
        idle.connectToServer(m_listener->ServerName());
        QVERIFY(idle.waitForConnected(3000));
        const QString name = m_listener->ServerName();
        m_listener.reset();  // must return (joined) although a client never sent its line
        QVERIFY(!QFileInfo::exists(name));
    }
};

QTEST_MAIN(TstReportListener)
#include "tst_reportlistener.moc"
