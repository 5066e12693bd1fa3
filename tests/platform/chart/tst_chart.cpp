// The chart control: the order bars stand in, the marks' number format, null points, what a pixel
// column shows, zooming and panning with the mouse on bars but never on a pie, and what readers get:
// the points as children, the keyboard walking them, the focused one drawn, changes announced.
#include <QAccessible>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

#include "TAccessibleEvents.h"
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

// Shows the chart in an active window with the keyboard focus on it, as Tab leaves it.
bool FocusOn(TChart& chart) {
    chart.show();
    chart.activateWindow();
    if (!QTest::qWaitForWindowActive(&chart))
        return false;
    chart.setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    return chart.hasFocus();
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

    void readersHearEachDrawnPointInOrder_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("points");
        const QString nbsp(QChar(0x00A0));
        QTest::newRow("bars by position, the null one left out")
            << int(TSeriesKind::Bar) << "TDBChart" << "TDBChart"
            << QStringList{"Кол-во, 2: 12" + nbsp + "990,5", "Кол-во, 3: 21" + nbsp + "000",
                           "Кол-во, 4: 1" + nbsp + "999,99",  "Кол-во, 5: 34" + nbsp + "125",
                           "Кол-во, 5: 8" + nbsp + "450",     "Кол-во, 8: 45" + nbsp + "990"};
        QTest::newRow("slices as read, the null one left out, no title")
            << int(TSeriesKind::Pie) << "" << "Диаграмма"
            << QStringList{"Количество, 2: 2, 11,1 %", "Количество, 1: 1, 5,6 %",  "Количество, 3: 3, 16,7 %",
                           "Количество, 5: 5, 27,8 %", "Количество, 2: 2, 11,1 %", "Количество, 1: 1, 5,6 %",
                           "Количество, 4: 4, 22,2 %"};
    }
    void readersHearEachDrawnPointInOrder() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QString, name);
        QFETCH(QStringList, points);
        TChart chart;
        SetUpLikeTheHistoryTabs(chart, TSeriesKind(kind));
        chart.Series(0)->PositionTitle = QStringLiteral("Кол-во");
        chart.Series(0)->LabelTitle = QStringLiteral("Количество");
        chart.Title = title;
        chart.setAccessibleName(QStringLiteral("Диаграмма"));
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&chart);
        QCOMPARE(face->role(), QAccessible::Chart);
        QCOMPARE(face->text(QAccessible::Name), name);
        // The name the window gave stays to be heard.
        QCOMPARE(face->text(QAccessible::Description), title.isEmpty() ? QString() : QStringLiteral("Диаграмма"));
        const QRect onScreen(chart.mapToGlobal(QPoint()), chart.size());
        QStringList heard;
        for (int i = 0; i < face->childCount(); ++i) {
            QAccessibleInterface* point = face->child(i);
            heard << point->text(QAccessible::Name);
            QCOMPARE(point->role(), QAccessible::ListItem);
            QCOMPARE(face->indexOfChild(point), i);
            QVERIFY2(!point->rect().isEmpty() && onScreen.contains(point->rect()), qPrintable(heard.last()));
        }
        QCOMPARE(heard, points);
    }

    void keysWalkThePointsAndEachIsAnnounced_data() {
        // l, r, u, d, h, e: Left, Right, Up, Down, Home, End; a digit: a click on that point
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("focused");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("tabbed in") << "" << 0 << QStringList{"focus: A, 1: 10"};
        QTest::newRow("right") << "r" << 1 << QStringList{"focus: A, 2: 20"};
        QTest::newRow("down, down, up") << "ddu" << 1
                                        << QStringList{"focus: A, 2: 20", "focus: A, 3: 30", "focus: A, 2: 20"};
        QTest::newRow("left at the first") << "l" << 0 << QStringList{};
        QTest::newRow("on into the next series") << "rrr" << 3
                                                 << QStringList{"focus: A, 2: 20", "focus: A, 3: 30",
                                                                "focus: B, 1: 40"};
        QTest::newRow("end, then right at the last") << "er" << 4 << QStringList{"focus: B, 2: 50"};
        QTest::newRow("home") << "rrh" << 0
                              << QStringList{"focus: A, 2: 20", "focus: A, 3: 30", "focus: A, 1: 10"};
        QTest::newRow("a click on a bar, then left") << "3l" << 2
                                                     << QStringList{"focus: B, 1: 40", "focus: A, 3: 30"};
    }
    void keysWalkThePointsAndEachIsAnnounced() {
        QFETCH(QString, keys);
        QFETCH(int, focused);
        QFETCH(QStringList, told);
        TChart chart;
        chart.resize(400, 240);
        int value = 10;
        for (const auto& [name, bars] : {std::pair{"A", 3}, std::pair{"B", 2}}) {
            TChartSeries* s = chart.AddSeries(QString::fromLatin1(name), TSeriesKind::Bar);
            s->PositionTitle = QString::fromLatin1(name);
            for (int position = 1; position <= bars; ++position, value += 10)
                s->AddBar(position, value);
        }
        TAccessibleEvents events(&chart);
        QVERIFY(FocusOn(chart));
        if (!keys.isEmpty())
            events.Take();  // the announcement on tabbing in
        const QHash<QChar, Qt::Key> key{{'l', Qt::Key_Left}, {'r', Qt::Key_Right}, {'u', Qt::Key_Up},
                                        {'d', Qt::Key_Down}, {'h', Qt::Key_Home},  {'e', Qt::Key_End}};
        for (QChar k : keys) {
            if (k.isDigit())
                QTest::mouseClick(&chart, Qt::LeftButton, {}, chart.DrawnPointRect(k.digitValue()).center());
            else
                QTest::keyClick(&chart, key.value(k));
        }
        QCOMPARE(chart.FocusedPoint(), focused);
        QCOMPARE(events.Take(), told);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&chart);
        QCOMPARE(face->focusChild(), face->child(focused));
        QVERIFY(face->child(focused)->state().focused);
        QVERIFY(!face->child(focused == 0 ? 1 : 0)->state().focused);
    }

    void theFocusedPointIsDrawnInFront_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QColor>("lit");  // the focused point's face
        QTest::newRow("a bar hidden behind a taller one") << int(TSeriesKind::Bar) << QColor(Qt::red).lighter(160);
        QTest::newRow("a slice") << int(TSeriesKind::Pie) << TChart::Palette().at(1).lighter(150);
    }
    void theFocusedPointIsDrawnInFront() {
        QFETCH(int, kind);
        QFETCH(QColor, lit);
        TChart chart;
        chart.resize(400, 240);
        chart.LegendVisible = false;
        TChartSeries* series = chart.AddSeries(QStringLiteral("Series1"), TSeriesKind(kind));
        if (TSeriesKind(kind) == TSeriesKind::Bar) {
            series->AddBar(2, 9);
            series->AddBar(2, 3);
        } else {
            series->AddSlice(QStringLiteral("3"), 3);
            series->AddSlice(QStringLiteral("5"), 5);
        }
        chart.SetFocusedPoint(1);
        QCOMPARE(PixelsOf(Picture(chart), lit), 0);  // without the keyboard focus, nothing stands out
        QVERIFY(FocusOn(chart));
        QVERIFY(PixelsOf(Picture(chart), lit) > 20);
    }

    void aZoomedViewFollowsTheFocusedBar_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<double>("position");
        QTest::newRow("end") << "e" << 20.0;
        QTest::newRow("end, then home") << "eh" << 1.0;
    }
    void aZoomedViewFollowsTheFocusedBar() {
        QFETCH(QString, keys);
        QFETCH(double, position);
        TChart chart;
        chart.resize(489, 194);
        TChartSeries* series = chart.AddSeries(QStringLiteral("Series1"), TSeriesKind::Bar);
        for (int i = 1; i <= 20; ++i)
            series->AddBar(i, i * 10);
        QVERIFY(FocusOn(chart));
        const QRectF zoom(5.5, 0, 5, 250);
        chart.ZoomToValues(zoom);
        for (QChar k : keys)
            QTest::keyClick(&chart, k == 'e' ? Qt::Key_End : Qt::Key_Home);
        const QRectF view = chart.VisibleValues();
        QVERIFY2(view.left() <= position - 0.5 && view.right() >= position + 0.5, qPrintable(QString::number(view.left())));
        QCOMPARE(view.size(), zoom.size());
        QVERIFY(chart.Zoomed());
    }

    void aChangeOfThePointsIsAnnounced_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("focused");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("focusedAfter");
        QTest::addColumn<QString>("told");
        QTest::newRow("filled") << 0 << -1 << 5 << -1 << "reorder";
        QTest::newRow("refilled, as many") << 5 << 2 << 5 << 2 << "reorder";
        QTest::newRow("refilled, fewer") << 5 << 4 << 2 << 1 << "reorder";
        QTest::newRow("emptied") << 5 << 2 << 0 << -1 << "reorder";
        // A large database's history: no signal storm for a reader to wade through.
        QTest::newRow("filled with very many") << 5 << 2 << TChart::PointsToldOneByOne + 1 << 2 << "data changed";
    }
    void aChangeOfThePointsIsAnnounced() {
        QFETCH(int, before);
        QFETCH(int, focused);
        QFETCH(int, after);
        QFETCH(int, focusedAfter);
        QFETCH(QString, told);
        TChart chart;
        TChartSeries* series = chart.AddSeries(QStringLiteral("Series1"), TSeriesKind::Bar);
        for (int i = 0; i < before; ++i)
            series->AddBar(i, i);
        chart.SetFocusedPoint(focused);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&chart);
        const QAccessible::Id handed = before ? QAccessible::uniqueId(face->child(before - 1)) : 0;
        TAccessibleEvents events(&chart);
        series->Clear();
        for (int i = 0; i < after; ++i)
            series->AddBar(i, 100 + i);
        chart.SeriesChanged();
        QCOMPARE(events.Take(), QStringList{told});
        QCOMPARE(face->childCount(), after);
        QCOMPARE(chart.FocusedPoint(), focusedAfter);
        // What a reader was handed for the old points is gone, not left naming something else.
        if (handed)
            QVERIFY(!QAccessible::accessibleInterface(handed));
    }
};

QTEST_MAIN(TstChart)
#include "tst_chart.moc"
