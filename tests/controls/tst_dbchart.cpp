// The data-bound chart over real tables: what it reads from which column, which changes of the data
// set refill it, that filling moves no control bound to the data set, and what readers are told.
#include <QTest>

#include "TAccessibleEvents.h"
#include "TControlsFixture.h"
#include "TDBChart.h"
#include "TDataLink.h"
#include "TDataSet.h"
#include "TField.h"
#include "TTestChecks.h"

namespace {

// Records what the data set's bound controls are told.
class TRecordingLink : public TDataLink {
public:
    void DataEvent(TDataEvent event, int) override { Events.append(event); }
    QVector<TDataEvent> Events;
};

QVector<QPair<double, double>> Bars(const TChartSeries& series) {
    QVector<QPair<double, double>> bars;
    for (const TChartPoint& point : series.Points())
        bars.append({point.Position, point.Drawn ? point.Value : -1});
    return bars;
}

}  // namespace

class TstDBChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsItsColumnsOnOpenAndEmptiesOnClose() {
        // Goods: the bar's value is the discount level (one ware has none), its place the ware's key.
        TControlsFixture f(QStringLiteral("wares"));
        TDBChart chart;
        TChartSeries* series = chart.AddBarSeries(QStringLiteral("Series1"), f.Table,
                                                  QStringLiteral("iddiscount"), QStringLiteral("IDWARES"));
        QCOMPARE(series->Count(), 0);
        f.Table->Open();
        QVector<QPair<double, double>> expected;
        const TField* key = f.Table->FieldByName(QStringLiteral("Idwares"));
        const TField* level = f.Table->FieldByName(QStringLiteral("iddiscount"));
        for (int row = 0; row < f.Table->RecordCount(); ++row)
            expected.append({f.Table->ValueAt(row, key->Index()).toDouble(),
                             f.Table->IsNullAt(row, level->Index())
                                 ? -1
                                 : f.Table->ValueAt(row, level->Index()).toDouble()});
        std::stable_sort(expected.begin(), expected.end(), [](auto a, auto b) { return a.first < b.first; });
        QCOMPARE(Bars(*series), expected);
        // The demo shop has a ware without a discount level: its bar counts but is not drawn.
        QVERIFY(std::any_of(expected.begin(), expected.end(), [](auto bar) { return bar.second < 0; }));
        QCOMPARE(f.Table->RecNo(), 0);
        f.Table->Close();
        QCOMPARE(series->Count(), 0);
        f.Table->Open();
        QCOMPARE(series->Count(), expected.size());
    }

    void onlyAPostRefills_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("refilled");
        QTest::newRow("move") << "move" << false;
        QTest::newRow("cancelled edit") << "cancel" << false;
        QTest::newRow("delete") << "delete" << false;
        QTest::newRow("refresh") << "refresh" << false;
        QTest::newRow("post") << "post" << true;
    }
    void onlyAPostRefills() {
        QFETCH(QString, action);
        QFETCH(bool, refilled);
        TControlsFixture f;  // discount levels; the last two are referred to by nothing
        TDBChart chart;
        TChartSeries* series = chart.AddBarSeries(QStringLiteral("Series1"), f.Table,
                                                  QStringLiteral("percent"), QStringLiteral("Iddiscount"));
        f.Table->Open();
        const int rows = f.Table->RecordCount();
        QCOMPARE(series->Count(), rows);
        series->AddBar(1000, 1);  // gone only if the chart fills again
        f.Table->Last();
        TField* percent = f.Table->FieldByName(QStringLiteral("percent"));
        if (action == QLatin1String("move")) {
            f.Table->First();
        } else if (action == QLatin1String("cancel")) {
            f.Table->Edit();
            percent->SetAsString(QStringLiteral("33"));
            f.Table->Cancel();
        } else if (action == QLatin1String("delete")) {
            f.Table->Delete();
        } else if (action == QLatin1String("refresh")) {
            f.Table->Refresh();
        } else {
            f.Table->Edit();
            percent->SetAsString(QStringLiteral("33"));
            f.Table->Post();
        }
        QCOMPARE(series->Count(), refilled ? rows : rows + 1);
        if (refilled)
            QVERIFY(Bars(*series).contains(
                {f.Table->FieldByName(QStringLiteral("Iddiscount"))->AsFloat(), 33.0}));
    }

    void fillingMovesNoBoundControl() {
        TControlsFixture f;
        TRecordingLink link;
        link.SetDataSource(f.Source);
        TDBChart chart;
        chart.AddBarSeries(QStringLiteral("Series1"), f.Table, QStringLiteral("percent"),
                           QStringLiteral("Iddiscount"));
        f.Table->Open();
        f.Table->Next();
        f.Table->Next();
        link.Events.clear();
        chart.FillFrom(f.Table);
        QCOMPARE(f.Table->RecNo(), 2);
        QVERIFY(!link.Events.contains(TDataEvent::Scrolled));
        QVERIFY(!f.Table->ControlsDisabled());
        link.SetDataSource(nullptr);
    }

    void aMissingColumnFailsAndHoldsNothingBack() {
        TControlsFixture f;
        TDBChart chart;
        TChartSeries* series = chart.AddBarSeries(QStringLiteral("Series1"), f.Table, QStringLiteral("price"),
                                                  QStringLiteral("Iddiscount"));
        series->AddBar(1, 1);
        QCOMPARE_THROWS(f.Table->Open(), "ADOTable1: Field 'price' not found");
        QCOMPARE(series->Count(), 1);  // not emptied behind the reader's back
        QVERIFY(!f.Table->ControlsDisabled());
        QVERIFY(!chart.Filling());
    }

    void readersHearTheColumnsAndEachFill_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("bars") << int(TSeriesKind::Bar);
        QTest::newRow("slices") << int(TSeriesKind::Pie);
    }
    void readersHearTheColumnsAndEachFill() {
        QFETCH(int, kind);
        TControlsFixture f;
        TDBChart chart;
        const QString value = QStringLiteral("percent"), other = QStringLiteral("Iddiscount");
        TChartSeries* series = TSeriesKind(kind) == TSeriesKind::Bar
                                   ? chart.AddBarSeries(QStringLiteral("Series1"), f.Table, value, other)
                                   : chart.AddPieSeries(QStringLiteral("Series1"), f.Table, value, other);
        QCOMPARE(series->ValueTitle, value);
        QCOMPARE(TSeriesKind(kind) == TSeriesKind::Bar ? series->PositionTitle : series->LabelTitle, other);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&chart);
        TAccessibleEvents events(&chart);
        f.Table->Open();
        QCOMPARE(events.Take(), QStringList{"reorder"});
        QVERIFY(face->childCount() > 0);
        QVERIFY2(face->child(0)->text(QAccessible::Name).startsWith(other + QStringLiteral(", ")),
                 qPrintable(face->child(0)->text(QAccessible::Name)));
        f.Table->Close();
        QCOMPARE(events.Take(), QStringList{"reorder"});
        QCOMPARE(face->childCount(), 0);
    }
};

QTEST_MAIN(TstDBChart)
#include "tst_dbchart.moc"
