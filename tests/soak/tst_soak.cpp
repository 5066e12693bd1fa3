// Several programs on one database file: separate processes of the data module (soakworker) record
// sales and change the same wares at once, in WAL mode and in the rollback-journal mode of a file on a
// network disk. Afterwards the database is held against what each program was told: every sale line on
// a sale of the program that sent it, no post reported as succeeded overwritten unseen, every refusal
// the conflict message (or a lock said plainly), the file whole. ZIRT_SOAK_SECONDS and
// ZIRT_SOAK_PROCESSES make a longer or larger run (scripts/soak).
#include <QFile>
#include <QHash>
#include <QMultiHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "TSqliteProvider.h"
#include "TTestDatabase.h"
#include "TWriteBack.h"

namespace {

constexpr int kSharedWares = 6;  // as the workers change them

int Setting(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

bool IsLockRefusal(const QString& message) {
    return message.startsWith(QLatin1String("The database is in use by another program"));
}

struct TFigures {
    int Operations = 0;
    int Sales = 0;
    int Lines = 0;
    int Posts = 0;
    int Misattributed = 0;    // sale lines on another program's sale, or logged and not there
    int LostSilently = 0;     // posts reported as succeeded and overwritten unseen
    int Unexplained = 0;      // originals nobody wrote, refused values found written
    int ConflictRefusals = 0;
    int LockRefusals = 0;
    QStringList Other;        // any other refusal or box: each one is a failure
};

struct TPost {
    int Worker;
    QString Original;
    QString Value;
};

}  // namespace

class TstSoak : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void severalProgramsLoseNothing_data();
    void severalProgramsLoseNothing();
    void cleanup() { TSqliteProvider::TakeEveryFileAsRemote(false); }

private:
    // Prices as the data set shows them, so logged and stored values compare as text.
    static QString Shown(const QString& column, const QVariant& value) {
        if (value.isNull())
            return QString();
        return column == QLatin1String("orderprice") ? QString::number(value.toDouble(), 'g', 15)
                                                     : value.toString();
    }
    void Audit(TTestDatabase& db, const QVector<QStringList>& logs, qint64 firstNewSale,
               const QHash<QString, QString>& initial, TFigures& f);
};

void TstSoak::severalProgramsLoseNothing_data() {
    QTest::addColumn<bool>("remote");
    QTest::newRow("WAL") << false;
    QTest::newRow("rollback journal") << true;
}

void TstSoak::severalProgramsLoseNothing() {
    QFETCH(bool, remote);
    const int processes = qBound(2, Setting("ZIRT_SOAK_PROCESSES", 4), 5);  // one manager each
    const int milliseconds = 1000 * Setting("ZIRT_SOAK_SECONDS", 6);
    TSqliteProvider::TakeEveryFileAsRemote(remote);
    TTestDatabase db;
    QCOMPARE(db.Scalar(QStringLiteral("PRAGMA journal_mode")).toString(),
             remote ? QStringLiteral("delete") : QStringLiteral("wal"));
    const qint64 firstNewSale = db.Scalar(QStringLiteral("SELECT max(Idsale) FROM sale")).toLongLong() + 1;
    QHash<QString, QString> initial;  // "ware/column" -> value
    for (int ware = 1; ware <= kSharedWares; ++ware) {
        for (const QString& column : {QStringLiteral("orderprice"), QStringLiteral("description")})
            initial.insert(QStringLiteral("%1/%2").arg(ware).arg(column),
                           Shown(column, db.Scalar(QStringLiteral("SELECT %1 FROM wares WHERE Idwares = %2")
                                                       .arg(column)
                                                       .arg(ware))));
    }

    QTemporaryDir logs;
    std::vector<std::unique_ptr<QProcess>> workers;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const quint32 seed = QRandomGenerator::global()->generate();
    for (int i = 0; i < processes; ++i) {
        auto worker = std::make_unique<QProcess>();
        worker->setProcessEnvironment(environment);
        worker->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList args{QString::number(i), QString::number(milliseconds), QString::number(seed + i),
                         logs.filePath(QString::number(i))};
        if (remote)
            args << QStringLiteral("remote");
        worker->start(QStringLiteral(SOAK_WORKER_PATH), args);
        QVERIFY(worker->waitForStarted());
        workers.push_back(std::move(worker));
    }
    QVector<QStringList> lines(processes);
    for (int i = 0; i < processes; ++i) {
        QVERIFY(workers[i]->waitForFinished(milliseconds + 60000));
        QCOMPARE(workers[i]->exitStatus(), QProcess::NormalExit);
        QCOMPARE(workers[i]->exitCode(), 0);
        QFile log(logs.filePath(QString::number(i)));
        QVERIFY(log.open(QIODevice::ReadOnly));
        lines[i] = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(!lines[i].isEmpty() && lines[i].last().startsWith(QLatin1String("done\t")),
                 qPrintable(QStringLiteral("worker %1 did not finish its run").arg(i)));
    }

    TFigures f;
    Audit(db, lines, firstNewSale, initial, f);
    qInfo("%s: %d processes x %d s (seed %u): %d operations (%d sales, %d lines, %d posts); sale lines "
          "misattributed %d; updates lost silently %d; conflict refusals %d; lock refusals %d",
          remote ? "rollback journal" : "WAL", processes, milliseconds / 1000, seed, f.Operations, f.Sales,
          f.Lines, f.Posts, f.Misattributed, f.LostSilently, f.ConflictRefusals, f.LockRefusals);
    QCOMPARE(f.Misattributed, 0);
    QCOMPARE(f.LostSilently, 0);
    QCOMPARE(f.Unexplained, 0);
    QCOMPARE(f.Other, QStringList());
    // The run met the contention it is about: posts on rows another program had changed since.
    QVERIFY(f.Sales > processes && f.Posts > processes && f.ConflictRefusals > 0);
    QCOMPARE(db.Column(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
    QCOMPARE(db.Column(QStringLiteral("PRAGMA foreign_key_check")), QStringList());
}

void TstSoak::Audit(TTestDatabase& db, const QVector<QStringList>& logs, qint64 firstNewSale,
                    const QHash<QString, QString>& initial, TFigures& f) {
    // Whose each new sale is: the manager a worker records for is its number + 1.
    QHash<QString, int> saleOwner;
    const QString from = QString::number(firstNewSale);
    const QStringList managers =
        db.Column(QStringLiteral("SELECT idmanager FROM sale WHERE Idsale >= %1 ORDER BY Idsale").arg(from));
    const QStringList ordered =
        db.Column(QStringLiteral("SELECT Idsale FROM sale WHERE Idsale >= %1 ORDER BY Idsale").arg(from));
    for (int i = 0; i < ordered.size(); ++i)
        saleOwner.insert(ordered.at(i), managers.at(i).toInt() - 1);
    f.Sales = ordered.size();

    QMultiHash<QString, int> loggedLines;  // "sale ware quantity" -> the worker that was told it went in
    QHash<QString, QVector<TPost>> posts;  // "ware/column" -> posts reported as succeeded
    QSet<QString> refusedValues;
    for (int worker = 0; worker < logs.size(); ++worker) {
        for (const QString& line : logs.at(worker)) {
            const QStringList p = line.split(QLatin1Char('\t'));
            const QString& kind = p.at(0);
            if (kind == QLatin1String("done")) {
                f.Operations += p.value(1).toInt();
            } else if (kind == QLatin1String("sale")) {
                // The sale the lines go to must be one this worker's header made.
                if (saleOwner.value(p.value(1), -1) != worker)
                    ++f.Misattributed;
            } else if (kind == QLatin1String("line")) {
                loggedLines.insert(p.mid(1).join(QLatin1Char(' ')), worker);
            } else if (kind == QLatin1String("post")) {
                posts[p.value(1) + QLatin1Char('/') + p.value(2)].append({worker, p.value(3), p.value(4)});
                ++f.Posts;
            } else if (kind == QLatin1String("refused")) {
                const QString message = p.last();
                if (p.value(1) == QLatin1String("post"))
                    refusedValues.insert(p.value(2) + QLatin1Char('/') + p.value(3) + QLatin1Char('=') + p.value(4));
                if (message == TWriteBack::RowNotLocatedMessage() && p.value(1) == QLatin1String("post"))
                    ++f.ConflictRefusals;
                else if (IsLockRefusal(message))
                    ++f.LockRefusals;
                else
                    f.Other << line;
            } else {
                f.Other << line;  // a box: nothing the module does here should show one
            }
        }
    }

    // Every line in the database is one its sale's own program was told it recorded, and back.
    const QStringList stored = db.Column(
        QStringLiteral("SELECT idsale || ' ' || idwares || ' ' || quantity FROM saleitem WHERE idsale >= ") + from);
    f.Lines = stored.size();
    for (const QString& line : stored) {
        const int owner = saleOwner.value(line.section(QLatin1Char(' '), 0, 0), -1);
        auto it = loggedLines.find(line, owner);
        if (it == loggedLines.end())
            ++f.Misattributed;
        else
            loggedLines.erase(it);
    }
    f.Misattributed += loggedLines.size();

    // A value a post wrote is still there, or the post that replaced it read it as its original.
    for (auto it = initial.begin(); it != initial.end(); ++it) {
        const QString ware = it.key().section(QLatin1Char('/'), 0, 0);
        const QString column = it.key().section(QLatin1Char('/'), 1, 1);
        const QString now = Shown(column, db.Scalar(QStringLiteral("SELECT %1 FROM wares WHERE Idwares = %2")
                                                         .arg(column, ware)));
        QSet<QString> seenAsOriginal;
        QSet<QString> written{it.value()};
        for (const TPost& post : posts.value(it.key())) {
            seenAsOriginal.insert(post.Original);
            written.insert(post.Value);
        }
        for (const TPost& post : posts.value(it.key())) {
            if (post.Value != now && !seenAsOriginal.contains(post.Value))
                ++f.LostSilently;
            if (!written.contains(post.Original))
                ++f.Unexplained;  // read a value no one wrote
        }
        for (const QString& original : seenAsOriginal + QSet<QString>{now}) {
            if (refusedValues.contains(it.key() + QLatin1Char('=') + original))
                ++f.Unexplained;  // a post reported as refused was written after all
        }
    }
}

QTEST_MAIN(TstSoak)
#include "tst_soak.moc"
