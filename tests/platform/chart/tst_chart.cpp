// The chart control: the order bars stand in, the marks' number format, null points, what a pixel
// column shows, and zooming and panning with the mouse on bars but never on a pie.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

#include "TChart.h"

namespace {

QImage Picture(const TChart& chart) {
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::lightGray);
    QPainter painter(&image);
    chart.Render(painter, image.rect());
    return image;
}

int PixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

// The order history's bars and the sales history's pie as the main window sets them up, over a
// few fixed points, in the window font and Russian number format.
void SetUpLikeTheHistoryTabs(TChart& chart, TSeriesKind kind) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    chart.setFont(font);
    chart.setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    TChartSeries* series = chart.AddSeries(
        kind == TSeriesKind::Bar ? QStringLiteral("Series1") : QStringLiteral("Series2"), kind);
    if (kind == TSeriesKind::Bar) {
        chart.resize(489, 194);
        const double positions[] = {5, 2, 5, 1, 3, 8, 4};
        const double prices[] = {34125, 12990.5, 8450, 0, 21000, 45990, 1999.99};
        for (int i = 0; i < 7; ++i)
            series->AddBar(positions[i], prices[i], i != 3);  // the fourth row's price is null
        return;
    }
    chart.resize(432, 162);
    chart.Walls = chart.AxesVisible = chart.FrameVisible = chart.ClipPoints = false;
    chart.AllowZoom = chart.AllowPanning = chart.LegendVisible = false;
    series->MarkLineLength = 8;
    series->InLegend = false;
    for (int quantity : {2, 1, 3, 0, 5, 2, 1, 4})
        series->AddSlice(quantity ? QString::number(quantity) : QString(), quantity, quantity != 0);
}

// Empty when the picture matches the golden one within the tolerance. Fonts are rasterised a little
// differently from one machine's FreeType and fontconfig to another's: glyph edges move by a pixel.
// That touches a few hundred pixels of the marks' text; a wrong bar, wall, slice or mark touches
// more than a thousand. So a pixel counts as different when a channel is off by more than 64, and
// at most 1 % of the pixels may differ. ZIRT_UPDATE_GOLDEN=1 writes the golden picture instead.
QString CompareWithGolden(const QString& name, const QImage& actual) {
    const QString golden = QStringLiteral(ZIRT_CHART_GOLDEN_DIR "/") + name;
    if (qEnvironmentVariableIntValue("ZIRT_UPDATE_GOLDEN")) {
        actual.save(golden);
        return {};
    }
    const QString kept = QDir::current().absoluteFilePath(name + QStringLiteral(".actual.png"));
    const QImage expected(golden);
    if (expected.isNull()) {
        actual.save(kept);
        return QStringLiteral("golden picture %1 is missing; actual one in %2").arg(golden, kept);
    }
    if (expected.size() != actual.size())
        return QStringLiteral("%1 is %2x%3, the chart drew %4x%5")
            .arg(golden)
            .arg(expected.width())
            .arg(expected.height())
            .arg(actual.width())
            .arg(actual.height());
    int different = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QColor a = actual.pixelColor(x, y), e = expected.pixelColor(x, y);
            different += std::abs(a.red() - e.red()) > 64 || std::abs(a.green() - e.green()) > 64 ||
                         std::abs(a.blue() - e.blue()) > 64;
        }
    }
    if (different * 100 > actual.width() * actual.height()) {
        actual.save(kept);
        return QStringLiteral("%1 pixels differ from %2; actual picture in %3")
            .arg(different)
            .arg(golden, kept);
    }
    return {};
}

}  // namespace

class TstChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void barsStandInAscendingPositions_data() {
        QTest::addColumn<QVector<double>>("positions");
        QTest::addColumn<QVector<int>>("rows");  // the rows the bars come from, left to right
        QTest::newRow("5, 2, 5") << QVector<double>{5, 2, 5} << QVector<int>{1, 0, 2};
        QTest::newRow("in order") << QVector<double>{1, 2, 3} << QVector<int>{0, 1, 2};
        QTest::newRow("descending") << QVector<double>{3, 2, 1} << QVector<int>{2, 1, 0};
        QTest::newRow("equal keep rows") << QVector<double>{7, 7, 7, 1} << QVector<int>{3, 0, 1, 2};
    }
    void barsStandInAscendingPositions() {
        QFETCH(QVector<double>, positions);
        QFETCH(QVector<int>, rows);
        TChartSeries series(QStringLiteral("Series1"), TSeriesKind::Bar);
        for (int i = 0; i < positions.size(); ++i)
            series.AddBar(positions[i], 100 + i);  // the value tells the row
        QVector<int> order;
        for (const TChartPoint& point : series.Points())
            order.append(int(point.Value) - 100);
        QCOMPARE(order, rows);
    }

    void marksReadAsTheLocaleWritesNumbers_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const QString nbsp(QChar(0x00A0));
        QTest::newRow("ru grouped") << "ru_RU" << 34125.0 << QString("34") + nbsp + "125";
        QTest::newRow("ru decimals") << "ru_RU" << 1234.5 << QString("1") + nbsp + "234,5";
        QTest::newRow("en three decimals") << "en_US" << 1234567.12345 << "1,234,567.123";
        QTest::newRow("rounds up") << "en_US" << 0.9996 << "1";
        QTest::newRow("tiny is zero") << "en_US" << -0.0001 << "0";
        QTest::newRow("negative") << "de_DE" << -2.25 << "-2,25";
        QTest::newRow("whole") << "en_US" << 12.0 << "12";
    }
    void marksReadAsTheLocaleWritesNumbers() {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(TChartSeries::FormatValue(value, QLocale(locale)), text);
    }

    void nullPointsCountButAreNotDrawn_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("bar") << int(TSeriesKind::Bar);
        QTest::newRow("pie") << int(TSeriesKind::Pie);
    }
    void nullPointsCountButAreNotDrawn() {
        // Red is the bars' colour and the first slice's: with the first point null, no red shows.
        QFETCH(int, kind);
        TChart chart;
        chart.resize(400, 240);
        chart.LegendVisible = false;  // it lists every point, drawn or not
        TChartSeries* series = chart.AddSeries(QStringLiteral("Series1"), TSeriesKind(kind));
        if (TSeriesKind(kind) == TSeriesKind::Bar) {
            series->AddBar(1, 0, false);
            series->AddBar(2, 0, false);
        } else {
            series->AddSlice(QStringLiteral("5"), 0, false);
            series->AddSlice(QStringLiteral("3"), 3);
        }
        QCOMPARE(series->Count(), 2);
        const QImage image = Picture(chart);
        QCOMPARE(PixelsOf(image, Qt::red), 0);
        if (TSeriesKind(kind) == TSeriesKind::Pie)
            QVERIFY(PixelsOf(image, TChart::Palette().at(1)) > 100);  // the second slice is the whole pie
    }

    void aPixelColumnShowsItsTallestBar() {
        // Bars at one position stand in one column: the picture is that of the tallest alone, so
        // drawing costs the columns the plot has, not the points the series holds.
        TChart crowded, alone;
        for (TChart* chart : {&crowded, &alone})
            chart->resize(400, 240);
        TChartSeries* many = crowded.AddSeries(QStringLiteral("Series1"), TSeriesKind::Bar);
        TChartSeries* one = alone.AddSeries(QStringLiteral("Series1"), TSeriesKind::Bar);
        for (double v : {3.0, 9.0, 1.0, 9.0, 4.0})
            many->AddBar(2, v);
        many->AddBar(5, 6);
        one->AddBar(2, 9);
        one->AddBar(5, 6);
        crowded.LegendVisible = alone.LegendVisible = false;  // the legend lists every point
        QCOMPARE(Picture(crowded), Picture(alone));
        QVERIFY(PixelsOf(Picture(alone), Qt::red) > 100);
    }

    void pictureMatchesItsGolden_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("golden");
        QTest::newRow("bars") << int(TSeriesKind::Bar) << "order-history-bars.png";
        QTest::newRow("pie") << int(TSeriesKind::Pie) << "sales-history-pie.png";
    }
    void pictureMatchesItsGolden() {
        QFETCH(int, kind);
        QFETCH(QString, golden);
        TChart chart;
        SetUpLikeTheHistoryTabs(chart, TSeriesKind(kind));
        const QString wrong = CompareWithGolden(golden, Picture(chart));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    void zoomAndPanWithTheMouse_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("bars") << int(TSeriesKind::Bar) << true;
        QTest::newRow("bars, not allowed") << int(TSeriesKind::Bar) << false;
        QTest::newRow("pie, even if allowed") << int(TSeriesKind::Pie) << true;
    }
    void zoomAndPanWithTheMouse() {
        QFETCH(int, kind);
        QFETCH(bool, allowed);
        TChart chart;
        chart.resize(489, 194);
        chart.AllowZoom = chart.AllowPanning = allowed;
        TChartSeries* series = chart.AddSeries(QStringLiteral("Series1"), TSeriesKind(kind));
        for (int i = 1; i <= 20; ++i)
            TSeriesKind(kind) == TSeriesKind::Bar ? series->AddBar(i, i * 10)
                                                  : series->AddSlice(QString::number(i), i);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        const QRectF whole = chart.VisibleValues();
        const QRect plot = chart.PlotRect();
        const bool works = allowed && TSeriesKind(kind) == TSeriesKind::Bar;

        // A rectangle dragged down and to the right zooms into it.
        const QPoint from = plot.topLeft() + QPoint(plot.width() / 4, plot.height() / 4);
        const QPoint to = plot.center();
        QTest::mousePress(&chart, Qt::LeftButton, {}, from);
        QTest::mouseMove(&chart, to);
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, to);
        QCOMPARE(chart.Zoomed(), works);
        if (works) {
            QVERIFY(chart.VisibleValues().width() < whole.width() / 2);
            QVERIFY(whole.contains(chart.VisibleValues()));
        }

        // Dragging with the right button moves the view both ways.
        const QRectF before = chart.VisibleValues();
        QTest::mousePress(&chart, Qt::RightButton, {}, plot.center());
        QTest::mouseMove(&chart, plot.center() + QPoint(30, 20));
        QTest::mouseRelease(&chart, Qt::RightButton, {}, plot.center() + QPoint(30, 20));
        if (works) {
            QVERIFY(chart.VisibleValues().left() < before.left());
            QVERIFY(chart.VisibleValues().top() > before.top());
            QCOMPARE(chart.VisibleValues().size(), before.size());
        } else {
            QCOMPARE(chart.VisibleValues(), whole);
        }

        // Dragged back up and to the left, the whole view returns.
        QTest::mousePress(&chart, Qt::LeftButton, {}, to);
        QTest::mouseMove(&chart, from);
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, from);
        QVERIFY(!chart.Zoomed());
        QCOMPARE(chart.VisibleValues(), whole);
    }
};

QTEST_MAIN(TstChart)
#include "tst_chart.moc"
