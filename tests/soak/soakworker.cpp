// One of the programs of the several-programs test: the program's data module on the database of
// XDG_DATA_HOME for a bounded time, recording sales for its own manager as the sale entry window does
// and changing the prices and descriptions of a few wares that every worker shares, through the wares
// data set's post, with short random pauses. It writes every outcome it was told to its log, one line
// each, so that the test can hold the database against what each program believes it wrote:
//   sale <number>                          the sale the lines then go to (the window's DBText3)
//   line <sale> <ware> <quantity>          a sale line the database took
//   post <ware> <column> <original> <new>  a post reported as succeeded
//   refused <what> <message>               a refusal, as the program was told it
//   box <text>                             a box the data module showed (at creation or exit)
//   done <operations>
// Arguments: <worker number> <milliseconds> <seed> <log file> [remote]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>

#include "Exception.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TField.h"
#include "TModalAnswerer.h"
#include "TSqliteProvider.h"
#include "Unit3.h"

namespace {

constexpr int kSharedWares = 6;  // wares 1..6: what every worker changes
constexpr int kWares = 40;       // the demo data's, for sale lines

QFile logFile;

void Log(const QStringList& fields) {
    logFile.write((fields.join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8());
    logFile.flush();
}

// Refusal texts are kept on one line of the log.
QString OneLine(const Exception& e) {
    return e.Message().simplified();
}

class TWorker {
public:
    TWorker(TDataModule3& module, int number, quint32 seed) : m(module), m_number(number), m_random(seed) {}

    void Step() {
        if (m_random.bounded(2) == 0)
            RecordSale();
        else
            ChangeWare();
        QThread::msleep(m_random.bounded(12));
    }

private:
    // The sale entry window's two steps: the header for this worker's manager, the sales read again,
    // then the lines, each sent with the sale number current in the sales.
    void RecordSale() {
        try {
            const QVariant own = ExecuteTemplate(m.ADOQuery8, {QString::number(m_number + 1)}, QString());
            m.ReadSalesAgain(own);
        } catch (const Exception& e) {
            Log({QStringLiteral("refused"), QStringLiteral("header"), OneLine(e)});
            return;
        }
        const QString sale = m.ADOQuery9->FieldByName(QStringLiteral("Idsale"))->AsString();
        Log({QStringLiteral("sale"), sale});
        for (int i = 1 + m_random.bounded(3); i > 0; --i) {
            const QString ware = QString::number(1 + m_random.bounded(kWares));
            const QString quantity = QString::number(1 + m_random.bounded(5));
            try {
                ExecuteTemplate(m.ADOQuery10, {sale, ware, quantity}, QStringLiteral("','"));
                Log({QStringLiteral("line"), sale, ware, quantity});
            } catch (const Exception& e) {
                Log({QStringLiteral("refused"), QStringLiteral("line"), OneLine(e)});
            }
        }
    }

    // A user at the goods: now and then the rows read again, then one value typed and posted. A refused
    // post is given up (Esc) and the rows read again, as the user would to see the other's value.
    void ChangeWare() {
        TADOTable* wares = m.ADOTable3;
        try {
            if (m_random.bounded(4) == 0)
                wares->Refresh();
        } catch (const Exception& e) {
            Log({QStringLiteral("refused"), QStringLiteral("refresh"), OneLine(e)});
        }
        const qint64 ware = 1 + m_random.bounded(kSharedWares);
        const bool price = m_random.bounded(2) == 0;
        const QString column = price ? QStringLiteral("orderprice") : QStringLiteral("description");
        ++m_serial;
        // Unique in the whole run, so the audit can tell every written value's post.
        const QString value = price ? QString::number(m_number * 100000 + m_serial)
                                    : QStringLiteral("w%1-%2").arg(m_number).arg(m_serial);
        if (!wares->Locate(QStringLiteral("Idwares"), ware))
            return;
        TField* field = wares->FieldByName(column);
        const QString original = field->AsString();
        try {
            wares->Edit();
            field->SetAsString(value);
            wares->Post();
            Log({QStringLiteral("post"), QString::number(ware), column, original, value});
        } catch (const Exception& e) {
            Log({QStringLiteral("refused"), QStringLiteral("post"), QString::number(ware), column, value,
                 OneLine(e)});
            wares->Cancel();
            try {
                wares->Refresh();
            } catch (const Exception&) {
            }
        }
    }

    TDataModule3& m;
    const int m_number;
    QRandomGenerator m_random;
    int m_serial = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    const QStringList args = qt.arguments();
    if (args.size() < 5) {
        std::fputs("usage: soakworker NUMBER MILLISECONDS SEED LOG [remote]\n", stderr);
        return 2;
    }
    const int number = args.at(1).toInt();
    const int milliseconds = args.at(2).toInt();
    logFile.setFileName(args.at(4));
    if (!logFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 2;
    if (args.size() > 5 && args.at(5) == QLatin1String("remote"))
        TSqliteProvider::TakeEveryFileAsRemote(true);

    TModalAnswerer boxes;  // a box the module shows is answered and logged, never waited on
    int operations = 0;
    {
        TDataModule3 module(nullptr);
        TWorker worker(module, number, args.at(3).toUInt());
        QElapsedTimer clock;
        clock.start();
        for (; clock.elapsed() < milliseconds; ++operations)
            worker.Step();
    }
    for (const TSeenModal& box : boxes.Seen())
        Log({QStringLiteral("box"), box.Text.simplified()});
    Log({QStringLiteral("done"), QString::number(operations)});
    return 0;
}
