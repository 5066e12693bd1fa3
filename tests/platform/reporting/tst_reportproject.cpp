// Reading report project files: the active-report rule, the empty project, refused files with a
// message naming the fault, and a corpus of truncated and mutated files that must all end in a
// clean error (or, for a harmless mutation, a project that passes the same checks).
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QRandomGenerator>
#include <QTest>

#include "EReportError.h"
#include "TReportProject.h"
#include "TMutator.h"
#include "TReportTestFiles.h"
#include "TTestChecks.h"

namespace {

QByteArray Project(const QString& active, const QStringList& reports) {
    QString list;
    for (const QString& r : reports)
        list +=
            (list.isEmpty() ? QString() : QStringLiteral(",")) + QStringLiteral("{\"name\":\"%1\"}").arg(r);
    return QStringLiteral(
               "{\"format\":\"zirt-report-project\",\"version\":1,\"activeReport\":\"%1\",\"reports\":[%2]}")
        .arg(active, list)
        .toUtf8();
}

QByteArray WithReport(const QString& reportBody) {
    return (QStringLiteral(
                "{\"format\":\"zirt-report-project\",\"version\":1,\"reports\":[{\"name\":\"R\",") +
            reportBody + QStringLiteral("}]}"))
        .toUtf8();
}

// Parses, and for a file that parses checks the invariants the paginator relies on.
bool ParsesCleanly(const QByteArray& bytes, QString* message) {
    try {
        const TReportProject p = TReportProject::Parse(bytes, QStringLiteral("x.rav"));
        for (const TReportDefinition& r : p.Reports()) {
            double width = 0;
            for (const TReportColumnLayout& c : r.Columns)
                width += c.Width;
            const QSizeF paper = QPageSize::size(r.PageSize, QPageSize::Millimeter);
            const double page = r.Landscape ? paper.height() : paper.width();
            if (r.Name.isEmpty() || width > page - r.MarginLeft - r.MarginRight + 0.01 || r.FontSize < 4)
                *message = QStringLiteral("accepted a project the paginator cannot lay out");
        }
        return true;
    } catch (const EReportError& e) {
        *message = e.Message();
        return false;
    }
}

}  // namespace

class TstReportProject : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void activeReport_data() {
        QTest::addColumn<QString>("active");
        QTest::addColumn<QStringList>("reports");
        QTest::addColumn<int>("expected");
        QTest::newRow("the saved one") << "B" << QStringList{"A", "B", "C"} << 1;
        QTest::newRow("no match: first") << "D" << QStringList{"A", "B"} << 0;
        QTest::newRow("case counts") << "b" << QStringList{"A", "B"} << 0;
        QTest::newRow("none saved: first") << "" << QStringList{"A", "B"} << 0;
        QTest::newRow("no reports") << "A" << QStringList{} << -1;
    }
    void activeReport() {
        QFETCH(QString, active);
        QFETCH(QStringList, reports);
        QFETCH(int, expected);
        const TReportProject p = TReportProject::Parse(Project(active, reports), QStringLiteral("p.rav"));
        QCOMPARE(p.Reports().size(), reports.size());
        QCOMPARE(p.ActiveReportIndex(), expected);
    }

    void newEmptyProject() {
        const TReportProject p = TReportProject::NewEmpty();
        QCOMPARE(p.Name(), QStringLiteral("Project1.rav"));
        QCOMPARE(p.Reports().size(), 1);
        QCOMPARE(p.ActiveReportIndex(), 0);
        QVERIFY(p.Reports().at(0).Connection.isEmpty());
        QVERIFY(p.Reports().at(0).Columns.isEmpty());
    }

    void sharedPriceList() {
        const QByteArray bytes = TReportTestFiles::ReadAll(TReportTestFiles::SharedProject());
        QVERIFY(!bytes.isEmpty());
        const TReportProject p = TReportProject::Parse(bytes, QStringLiteral("Project1.rav"));
        QCOMPARE(p.ActiveReportIndex(), 0);
        const TReportDefinition& r = p.Reports().at(0);
        QCOMPARE(r.Connection.toLower(), QStringLiteral("rvdatasetconnection1"));
        QStringList fields;
        for (const TReportColumnLayout& c : r.Columns)
            fields.append(c.Field);
        QCOMPARE(fields, (QStringList{"name", "description", "saleprice", "percent"}));
        QVERIFY(r.FooterText.contains(QLatin1String("{page}")));
        QVERIFY(r.HeaderText.contains(QLatin1String("{date}")));
    }

    void roundTrip() {
        const TReportProject p = TReportProject::Parse(
            TReportTestFiles::ReadAll(TReportTestFiles::SharedProject()), QStringLiteral("a"));
        const TReportProject q = TReportProject::Parse(p.ToJson(), QStringLiteral("b"));
        QCOMPARE(q.ToJson(), p.ToJson());
        QCOMPARE(q.Reports().at(0).Columns.at(2).Decimals, 2);
        QCOMPARE(q.Reports().at(0).Columns.at(2).Align, TReportAlign::Right);
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("not JSON") << QByteArray("PK\x03\x04 binary") << "cannot be read";
        QTest::newRow("a list") << QByteArray("[1,2]") << "must be an object";
        QTest::newRow("other format")
            << QByteArray(R"({"format":"x","reports":[]})") << "not a report project";
        QTest::newRow("no format") << QByteArray(R"({"reports":[]})") << "format is missing";
        QTest::newRow("version 2") << QByteArray(R"({"format":"zirt-report-project","version":2})")
                                   << "version 2";
        QTest::newRow("reports not a list")
            << QByteArray(R"({"format":"zirt-report-project","reports":{}})") << "reports must be a list";
        QTest::newRow("report not an object")
            << QByteArray(R"({"format":"zirt-report-project","reports":[7]})")
            << "reports[0] must be an object";
        QTest::newRow("nameless report")
            << QByteArray(R"({"format":"zirt-report-project","reports":[{"title":"x"}]})")
            << "name is missing";
        QTest::newRow("width text")
            << WithReport(R"("data":{"connection":"c"},"columns":[{"field":"a","width":"5"}])")
            << "columns[0].width must be a number";
        QTest::newRow("width zero") << WithReport(
                                           R"("data":{"connection":"c"},"columns":[{"field":"a","width":0}])")
                                    << "width must be between";
        QTest::newRow("too wide")
            << WithReport(
                   R"("data":{"connection":"c"},"columns":[{"field":"a","width":150},{"field":"b","width":40}])")
            << "wider than the page";
        QTest::newRow("columns without data")
            << WithReport(R"("columns":[{"field":"a"}])") << "no data connection";
        QTest::newRow("unknown page") << WithReport(R"("page":{"size":"B17"})") << "not a known page size";
        QTest::newRow("margins eat the page")
            << WithReport(R"("page":{"size":"A5","margins":{"top":100,"bottom":100}})") << "no room";
        QTest::newRow("negative margin")
            << WithReport(R"("page":{"margins":{"left":-5}})") << "between 0 and 100";
        QTest::newRow("bad op")
            << WithReport(R"("data":{"connection":"c","conditions":[{"field":"a","op":"LIKE","value":"x"}]})")
            << "is not one of";
        QTest::newRow("condition value list")
            << WithReport(R"("data":{"connection":"c","conditions":[{"field":"a","value":[1]}]})")
            << "value must be text or a number";
        QTest::newRow("align")
            << WithReport(R"("data":{"connection":"c"},"columns":[{"field":"a","align":"justify"}])")
            << "align must be";
        QTest::newRow("font size huge") << WithReport(R"("fontSize":1e308)") << "fontSize must be between";
    }
    void refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fragment);
        const QString message =
            TTestChecks::ThrownMessage([&] { TReportProject::Parse(bytes, QStringLiteral("/tmp/p.rav")); });
        QVERIFY2(message.contains(fragment), qPrintable(message));
        QVERIFY2(message.contains(QLatin1String("/tmp/p.rav")), qPrintable(message));
    }

    // Every proper prefix of the shared project is incomplete JSON and must be refused.
    void truncatedFiles() {
        const QByteArray full = TReportTestFiles::ReadAll(TReportTestFiles::SharedProject()).trimmed();
        QVERIFY(full.size() > 100);
        for (int length = 1; length < full.size(); ++length) {
            QString message;
            QVERIFY2(!ParsesCleanly(full.left(length), &message), qPrintable(QString::number(length)));
            QVERIFY(!message.isEmpty());
        }
    }

    // Byte flips, cuts, grammar pieces and copied stretches at random places (fixed seed, so a failure
    // repeats): each must end in a project that holds or in an EReportError, never in anything else.
    void mutatedFiles() {
        const QByteArray full = TReportTestFiles::ReadAll(TReportTestFiles::SharedProject());
        TMutator mutator(20261209, {"{", "}", "[", "]", "\"", ",", ":", "0", "9", "-", "e", ".", "\\", " "});
        const int rounds = TMutator::Rounds(4000);
        int refused = 0;
        for (int round = 0; round < rounds; ++round) {
            const QByteArray bytes = mutator.Mutate({full});
            QString message;
            try {
                if (!ParsesCleanly(bytes, &message))
                    ++refused;
                else
                    QVERIFY2(message.isEmpty(), qPrintable(message));
            } catch (...) {
                QFAIL(qPrintable(QStringLiteral("round %1 threw something else").arg(round)));
            }
        }
        qInfo("report projects: %d inputs tried, %d refused, 0 crashes", rounds, refused);
        QVERIFY(refused > rounds / 2);
    }

    void deepNesting() {
        const QByteArray bytes = QByteArray(100000, '[') + QByteArray(100000, ']');
        QString message;
        QVERIFY(!ParsesCleanly(bytes, &message));
    }
};

QTEST_GUILESS_MAIN(TstReportProject)
#include "tst_reportproject.moc"
