// Benchmarks of the charts on the large generated database. chart-fill: filling the order history's
// bars from orders_info against a bare walk over the same data set reading the same two columns
// (the floor). chart-paint: one full paint of the bar chart, and of the pie of the sales history,
// with every point against the same chart holding every hundredth point (the floor): a paint
// costs what the plot can show, not what the series hold.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "TADOTable.h"
#include "TDBChart.h"
#include "TField.h"
#include "Unit3.h"

namespace {

void Print(const char* name, double value, double floor, const char* unit) {
    std::printf("%s: %.3f %s (floor %.3f %s, ratio %.2f)\n", name, value, unit, floor, unit,
                floor > 0 ? value / floor : 0.0);
    std::fflush(stdout);
}

template <class F>
double BestSeconds(int runs, F f) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

// The floor of filling: the same walk, the same two columns read, no points kept.
double BareWalk(TDataSet* dataSet, const QString& value, const QString& position) {
    double sum = 0;
    const int row = dataSet->RecNo();
    dataSet->DisableControls();
    TField* v = dataSet->FieldByName(value);
    TField* p = dataSet->FieldByName(position);
    dataSet->First();
    while (!dataSet->Eof()) {
        sum += (v->IsNull() ? 0 : v->AsFloat()) + p->AsFloat();
        dataSet->Next();
    }
    dataSet->SetRecNo(row);
    dataSet->EnableControls();
    return sum;
}

double PaintMs(const TChart& chart) {
    QImage image(chart.size(), QImage::Format_RGB32);
    const double seconds = BestSeconds(5, [&] {
        image.fill(Qt::lightGray);
        QPainter painter(&image);
        chart.Render(painter, image.rect());
    });
    return seconds * 1000;
}

// A copy of a series' points, every step-th of them.
void CopyEvery(const TChartSeries& from, TChartSeries& to, int step) {
    const std::vector<TChartPoint>& points = from.Points();
    for (size_t i = 0; i < points.size(); i += size_t(step)) {
        if (from.Kind() == TSeriesKind::Bar)
            to.AddBar(points[i].Position, points[i].Value, points[i].Drawn);
        else
            to.AddSlice(points[i].Label, points[i].Value, points[i].Drawn);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TDataModule3 module(nullptr);
    TADOTable* orders = module.ADOTable1;
    TADOTable* sales = module.ADOTable8;
    if (!orders->Active() || !sales->Active()) {
        std::fprintf(stderr, "bench-chart: the history views did not open\n");
        return 2;
    }

    TDBChart bars;
    bars.resize(489, 194);
    TChartSeries* series = bars.AddBarSeries(QStringLiteral("Series1"), orders, QStringLiteral("Цена"),
                                             QStringLiteral("Кол-во"));
    const double fill = BestSeconds(3, [&] { bars.FillFrom(orders); });
    double sink = 0;
    const double walk =
        BestSeconds(3, [&] { sink += BareWalk(orders, QStringLiteral("Цена"), QStringLiteral("Кол-во")); });
    Print("chart-fill", fill, walk, "s");
    std::printf("# chart-fill points: %d (checksum %.0f)\n", series->Count(), sink);

    TChart fewBars;
    fewBars.resize(bars.size());
    CopyEvery(*series, *fewBars.AddSeries(QStringLiteral("Series1"), TSeriesKind::Bar), 100);
    Print("chart-paint", PaintMs(bars), PaintMs(fewBars), "ms");

    TDBChart pie;
    pie.resize(432, 162);
    pie.Walls = pie.AxesVisible = pie.FrameVisible = pie.ClipPoints = pie.LegendVisible = false;
    TChartSeries* slices = pie.AddPieSeries(QStringLiteral("Series2"), sales, QStringLiteral("Количество"),
                                            QStringLiteral("Количество"));
    slices->MarkLineLength = 8;
    TChart fewSlices;
    fewSlices.resize(pie.size());
    fewSlices.Walls = fewSlices.AxesVisible = fewSlices.FrameVisible = fewSlices.ClipPoints = false;
    fewSlices.LegendVisible = false;
    CopyEvery(*slices, *fewSlices.AddSeries(QStringLiteral("Series2"), TSeriesKind::Pie), 100);
    Print("chart-paint-pie", PaintMs(pie), PaintMs(fewSlices), "ms");
    std::printf("# chart-paint points: %d bars, %d slices\n", series->Count(), slices->Count());
    return 0;
}
