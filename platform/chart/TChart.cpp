// Drawing and mouse handling of the chart. The plot is laid out from the widget's rectangle on
// every paint (title above, legend at the right, axis labels left and below, the 3-D offset up and
// to the right); the view's values map linearly onto the plot's front plane.
#include "TChart.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "TChartAccessible.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMargin = 4;
constexpr int kMinDrag = 4;  // pixels a drag must cover to zoom; less is a click
const QColor kWallColor(224, 224, 224);
const QColor kMarkBack(255, 255, 225);

// A step of 1, 2 or 5 times a power of ten giving about count ticks over span.
double TickStep(double span, int count) {
    if (span <= 0 || count <= 0)
        return 1;
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (raw <= m * power)
            return m * power;
    }
    return 10 * power;
}

QRect MarkRect(const QFontMetrics& fm, const QString& text, const QPoint& anchorBottomCentre) {
    const int w = fm.horizontalAdvance(text) + 6;
    const int h = fm.height() + 2;
    return QRect(anchorBottomCentre.x() - w / 2, anchorBottomCentre.y() - h, w, h);
}

void DrawMark(QPainter& p, const QRect& box, const QString& text) {
    p.setPen(Qt::black);
    p.setBrush(kMarkBack);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.drawText(box, Qt::AlignCenter, text);
}

// A slice's mark: on a short line out from the middle of its rim, the box beyond the line's end on
// the side the slice faces. Angles in sixteenths of a degree.
struct TSliceMark {
    QPoint Rim;
    QPoint End;
    QRect Box;
};

TSliceMark PlaceSliceMark(const QRect& top, double start, double span, int lineLength, const QFontMetrics& fm,
                          const QString& text) {
    const double mid = (start + span / 2.0) / 16.0 * kPi / 180.0;
    const QPointF centre = QRectF(top).center();
    const QPointF rim(centre.x() + top.width() / 2.0 * std::cos(mid), centre.y() - top.height() / 2.0 * std::sin(mid));
    const QPointF out(std::cos(mid) * lineLength, -std::sin(mid) * lineLength);
    const QPoint end = (rim + out).toPoint();
    QRect box = MarkRect(fm, text, end);
    box.moveLeft(std::cos(mid) >= 0 ? end.x() : end.x() - box.width());
    box.moveTop(std::sin(mid) >= 0 ? end.y() - box.height() : end.y());
    return {rim.toPoint(), end, box};
}

// The focused point: a lighter face and a dotted outline.
QPen FocusPen() {
    return QPen(Qt::black, 1, Qt::DotLine);
}

}  // namespace

TChart::TChart(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    // Tab or a click gives it the focus; the arrow keys then walk its points.
    setFocusPolicy(Qt::StrongFocus);
    InstallChartAccessibility();
}

TChart::~TChart() = default;

TChartSeries* TChart::AddSeries(const QString& name, TSeriesKind kind) {
    m_series.push_back(std::make_unique<TChartSeries>(name, kind));
    return m_series.back().get();
}

TChartSeries* TChart::Series(int index) const {
    return index >= 0 && index < SeriesCount() ? m_series[size_t(index)].get() : nullptr;
}

void TChart::SeriesChanged() {
    // New points may lie outside a zoomed view; the user's view stays until they undo it.
    const int count = DrawnPointCount();
    if (m_focused >= count)
        m_focused = count - 1;
    // What readers were told of the old points goes first, then they hear the children changed.
    Q_EMIT PointsChanged();
    QAccessibleEvent event(this, count <= PointsToldOneByOne ? QAccessible::ObjectReorder
                                                             : QAccessible::VisibleDataChanged);
    QAccessible::updateAccessibility(&event);
    update();
}

const QVector<QColor>& TChart::Palette() {
    static const QVector<QColor> palette{
        QColor(255, 0, 0),     QColor(0, 128, 0),     QColor(255, 255, 0), QColor(0, 0, 255),
        QColor(255, 255, 255), QColor(128, 128, 128), QColor(255, 0, 255), QColor(0, 128, 128),
        QColor(0, 0, 128),     QColor(128, 0, 0),     QColor(0, 255, 0),   QColor(128, 128, 0),
        QColor(128, 0, 128),   QColor(192, 192, 192), QColor(0, 255, 255), QColor(0, 0, 0)};
    return palette;
}

bool TChart::HasBars() const {
    return std::any_of(m_series.begin(), m_series.end(),
                       [](const auto& s) { return s->Kind() == TSeriesKind::Bar; });
}

bool TChart::HasPie() const {
    return std::any_of(m_series.begin(), m_series.end(),
                       [](const auto& s) { return s->Kind() == TSeriesKind::Pie; });
}

// ---- values and pixels --------------------------------------------------------------------------

QRectF TChart::WholeValues() const {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool any = false;
    for (const auto& s : m_series) {
        if (s->Kind() != TSeriesKind::Bar || s->Count() == 0)
            continue;
        const std::vector<TChartPoint>& points = s->Points();
        // Sorted by position: the ends give the horizontal extent.
        minX = any ? std::min(minX, points.front().Position) : points.front().Position;
        maxX = any ? std::max(maxX, points.back().Position) : points.back().Position;
        any = true;
        minY = std::min(minY, s->MinValue());
        maxY = std::max(maxY, s->MaxValue());
    }
    if (!any)
        return QRectF(0, 0, 1, 1);
    if (maxY <= minY)
        maxY = minY + 1;
    // Half a bar's room beside the outer bars; above the tallest, room for its mark to be read.
    double spanY = (maxY - minY) * 1.05;
    int markRoom = 0;
    for (const auto& s : m_series) {
        if (s->Kind() == TSeriesKind::Bar && s->ShowMarks)
            markRoom =
                std::max(markRoom, s->MarkLineLength + QFontMetrics(font()).height() + 4 - DepthOffset().y());
    }
    const int plotHeight = PlotRect().height();
    if (markRoom > 0 && plotHeight > 2 * markRoom)
        spanY = (maxY - minY) * plotHeight / double(plotHeight - markRoom);
    return QRectF(minX - 0.5, minY, (maxX - minX) + 1.0, spanY);
}

QRectF TChart::VisibleValues() const {
    return m_zoomed ? m_view : WholeValues();
}

void TChart::ZoomToValues(const QRectF& values) {
    if (values.width() <= 0 || values.height() <= 0)
        return;
    m_view = values;
    m_zoomed = true;
    update();
}

void TChart::UndoZoom() {
    m_zoomed = false;
    update();
}

void TChart::PanByPixels(const QPointF& distance) {
    const QRect plot = PlotRect();
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    QRectF view = VisibleValues();
    // Dragging right shows what lay to the left; dragging down shows what lay above.
    view.translate(-distance.x() / plot.width() * view.width(), distance.y() / plot.height() * view.height());
    m_view = view;
    m_zoomed = true;
    update();
}

QPoint TChart::DepthOffset() const {
    if (!View3D)
        return {};
    // Orthogonal views look straight along the depth at 45 degrees; otherwise the elevation tilts
    // the view and the rotation turns it (a full turn is none). No perspective: one offset for all.
    const double tilt = Orthogonal ? 45.0 : std::fmod(360.0 - Elevation + 360.0, 360.0);
    const double turn = Orthogonal ? 0.0 : std::fmod(double(Rotation), 360.0);
    const double dx = Depth * std::cos((tilt + turn) * kPi / 180.0);
    const double dy = Depth * std::sin(tilt * kPi / 180.0);
    return QPoint(int(std::lround(std::abs(dx))), -int(std::lround(std::abs(dy))));
}

QRect TChart::LegendRect(const QRect& area) const {
    if (!LegendVisible || !HasBars())
        return {};
    const QFontMetrics fm(font());
    int width = fm.horizontalAdvance(QStringLiteral("00000000")) + 24;
    for (const auto& s : m_series) {
        if (!s->InLegend || s->Kind() != TSeriesKind::Bar)
            continue;
        const int rows = std::min(s->Count(), std::max(1, (area.height() - 8) / (fm.height() + 2)));
        for (int i = 0; i < rows; ++i)
            width = std::max(width, fm.horizontalAdvance(s->MarkText(s->Points()[size_t(i)])) + 24);
    }
    width = std::min(width, area.width() / 3);
    return QRect(area.right() - width - kMargin, area.top() + kMargin, width, area.height() - 2 * kMargin);
}

QRect TChart::PlotRectIn(const QRect& area) const {
    const QFontMetrics fm(font());
    QRect plot = area.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (!Title.isEmpty())
        plot.setTop(plot.top() + fm.height() + kMargin);
    const QRect legend = LegendRect(area);
    if (!legend.isEmpty())
        plot.setRight(legend.left() - kMargin);
    if (HasBars()) {
        if (AxesVisible) {
            plot.setLeft(plot.left() + fm.horizontalAdvance(QStringLiteral("000 000")) + 6);
            plot.setBottom(plot.bottom() - fm.height() - 6);
        }
        const QPoint off = DepthOffset();
        plot.setTop(plot.top() - off.y());
        plot.setRight(plot.right() - off.x());
    } else if (HasPie()) {
        const int room = fm.height() + 12;  // marks outside the pie
        plot.adjust(room * 2, room, -room * 2, -room);
    }
    return plot;
}

QRect TChart::PlotRect() const {
    return PlotRectIn(rect());
}

TChart::TBarLayout TChart::BarLayout(const QRect& plot, const QRectF& values) const {
    TBarLayout bars;
    bars.Plot = plot;
    bars.Values = values;
    // A bar takes most of one position's room; bars at one position stand in one column.
    bars.PerUnit = plot.width() / values.width();
    bars.Width = std::clamp(int(bars.PerUnit * 0.7), 1, 40);
    bars.ZeroY = plot.bottom() - (0 - values.top()) / values.height() * plot.height();
    return bars;
}

int TChart::TBarLayout::Centre(double position) const {
    return int(std::lround(Plot.left() + (position - Values.left()) * PerUnit));
}

QRect TChart::TBarLayout::Front(int centre, double value) const {
    const double topY = Plot.bottom() - (value - Values.top()) / Values.height() * Plot.height();
    const int top = int(std::lround(std::min(topY, ZeroY)));
    const int bottom = int(std::lround(std::max(topY, ZeroY)));
    return QRect(centre - Width / 2, top, Width, std::max(1, bottom - top));
}

TChart::TPieLayout TChart::PieLayout(const QRect& plot) const {
    // The tilt flattens the circle; its depth shows as the darker rim below.
    const QPoint off = DepthOffset();
    const double squash = View3D ? std::max(0.3, std::cos((45.0) * kPi / 180.0)) : 1.0;
    TPieLayout pie;
    pie.Thickness = View3D ? -off.y() : 0;
    const int diameter = std::min(plot.width(), int((plot.height() - pie.Thickness) / squash));
    pie.Top = QRect(plot.center().x() - diameter / 2,
                    plot.top() + (plot.height() - pie.Thickness - int(diameter * squash)) / 2, diameter,
                    int(diameter * squash));
    pie.Bottom = pie.Top.translated(0, pie.Thickness);
    return pie;
}

QPointF TChart::ToPixel(double x, double y) const {
    const QRect plot = PlotRect();
    const QRectF v = VisibleValues();
    return QPointF(plot.left() + (x - v.left()) / v.width() * plot.width(),
                   plot.bottom() - (y - v.top()) / v.height() * plot.height());
}

QPointF TChart::ToValue(const QPointF& pixel) const {
    const QRect plot = PlotRect();
    const QRectF v = VisibleValues();
    return QPointF(v.left() + (pixel.x() - plot.left()) / std::max(1, plot.width()) * v.width(),
                   v.top() + (plot.bottom() - pixel.y()) / std::max(1, plot.height()) * v.height());
}

// ---- drawing ------------------------------------------------------------------------------------

void TChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter, rect());
    if (m_drag == TDrag::Zoom) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(m_dragStart, m_dragNow).normalized());
    }
}

void TChart::Render(QPainter& p, const QRect& area) const {
    p.save();
    p.setFont(font());
    p.setRenderHint(QPainter::Antialiasing, false);
    DrawTitle(p, area);
    const QRect plot = PlotRectIn(area);
    const QRectF values = VisibleValues();
    const bool bars = HasBars();
    if (bars && Walls)
        DrawWalls(p, plot);
    if (bars && AxesVisible)
        DrawAxes(p, plot, values);
    for (const auto& s : m_series) {
        if (s->Kind() == TSeriesKind::Bar)
            DrawBars(p, plot, values, *s);
        else
            DrawPie(p, plot, *s);
    }
    if (bars && FrameVisible) {
        const QPoint off = DepthOffset();
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(plot.translated(off).adjusted(0, 0, -1, -1));
    }
    const QRect legend = LegendRect(area);
    if (!legend.isEmpty())
        DrawLegend(p, legend);
    p.restore();
}

void TChart::DrawTitle(QPainter& p, const QRect& area) const {
    if (Title.isEmpty())
        return;
    const QFontMetrics fm(font());
    p.setPen(Qt::blue);
    p.drawText(QRect(area.left(), area.top() + kMargin, area.width(), fm.height()), Qt::AlignHCenter, Title);
}

void TChart::DrawWalls(QPainter& p, const QRect& plot) const {
    const QPoint off = DepthOffset();
    p.setPen(Qt::black);
    if (off != QPoint()) {
        p.setBrush(kWallColor);
        // The left wall joins the plot's left edge to the back wall's, the bottom wall its bottom edges.
        p.drawPolygon(
            QPolygon({plot.topLeft(), plot.topLeft() + off, plot.bottomLeft() + off, plot.bottomLeft()}));
        p.drawPolygon(QPolygon(
            {plot.bottomLeft(), plot.bottomRight(), plot.bottomRight() + off, plot.bottomLeft() + off}));
    }
    p.setBrush(BackWallColor);
    p.drawRect(plot.translated(off).adjusted(0, 0, -1, -1));
}

void TChart::DrawAxes(QPainter& p, const QRect& plot, const QRectF& values) const {
    const QFontMetrics fm(font());
    const QPoint off = DepthOffset();
    p.setPen(Qt::black);
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    // Vertical axis: ticks and labels, and a grid line across the back wall for each.
    const double stepY = TickStep(values.height(), std::max(1, plot.height() / (fm.height() * 2)));
    for (double y = std::ceil(values.top() / stepY) * stepY; y <= values.bottom() + stepY * 1e-9;
         y += stepY) {
        const int py = int(std::lround(plot.bottom() - (y - values.top()) / values.height() * plot.height()));
        p.setPen(QColor(192, 192, 192));
        if (Walls)
            p.drawLine(plot.left() + off.x(), py + off.y(), plot.right() + off.x(), py + off.y());
        p.setPen(Qt::black);
        p.drawLine(plot.left() - 4, py, plot.left(), py);
        const QString text = TChartSeries::FormatValue(y, locale());
        p.drawText(QRect(0, py - fm.height() / 2, plot.left() - 6, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, text);
    }
    // Horizontal axis: the positions.
    const double stepX =
        TickStep(values.width(), std::max(1, plot.width() / (fm.horizontalAdvance(QStringLiteral("00000")))));
    for (double x = std::ceil(values.left() / stepX) * stepX; x <= values.right(); x += stepX) {
        const int px = int(std::lround(plot.left() + (x - values.left()) / values.width() * plot.width()));
        p.drawLine(px, plot.bottom(), px, plot.bottom() + 4);
        const QString text = TChartSeries::FormatValue(x, locale());
        const int w = fm.horizontalAdvance(text);
        p.drawText(QRect(px - w / 2 - 1, plot.bottom() + 5, w + 2, fm.height()), Qt::AlignCenter, text);
    }
}

void TChart::DrawBars(QPainter& p, const QRect& plot, const QRectF& values,
                      const TChartSeries& series) const {
    const std::vector<TChartPoint>& points = series.Points();
    if (points.empty() || plot.width() <= 0 || plot.height() <= 0)
        return;
    const QPoint off = DepthOffset();
    if (ClipPoints)
        p.setClipRect(plot.adjusted(0, off.y(), off.x(), 0).adjusted(0, 0, 1, 1));
    // Only the positions in view, found by the order the series keeps.
    const std::vector<TChartSeries::TRun>& runs = series.Runs();
    const double first = values.left() - 0.5, last = values.right() + 0.5;
    const auto lo = std::lower_bound(runs.begin(), runs.end(), first,
                                     [](const TChartSeries::TRun& r, double x) { return r.Position < x; });
    const auto hi = std::upper_bound(lo, runs.end(), last,
                                     [](double x, const TChartSeries::TRun& r) { return x < r.Position; });
    const TBarLayout bars = BarLayout(plot, values);
    const QFontMetrics fm(font());

    // One bar per pixel column: the one reaching furthest from the axis, the others hidden behind it.
    QRect lastMark;
    const auto drawBar = [&](int centre, const TChartPoint& point, bool focused) {
        const QRect front = bars.Front(centre, point.Value);
        p.setPen(Qt::black);
        if (off != QPoint()) {
            p.setBrush(series.Color.lighter(130));
            p.drawPolygon(QPolygon({front.topLeft(), front.topLeft() + off,
                                    front.topRight() + QPoint(1, 0) + off, front.topRight() + QPoint(1, 0)}));
            p.setBrush(series.Color.darker(140));
            p.drawPolygon(
                QPolygon({front.topRight() + QPoint(1, 0), front.topRight() + QPoint(1, 0) + off,
                          front.bottomRight() + QPoint(1, 1) + off, front.bottomRight() + QPoint(1, 1)}));
        }
        p.setBrush(focused ? series.Color.lighter(160) : series.Color);
        p.drawRect(front);
        if (focused) {
            p.setPen(FocusPen());
            p.setBrush(Qt::NoBrush);
            p.drawRect(front.adjusted(-2, -2, 2, 2));
        }
        if (!series.ShowMarks)
            return;
        // The mark stands on a line rising from the bar's top; one that would cover the previous
        // mark is left out, as the plot has no room for it. The focused bar's always shows.
        const QPoint from(centre + off.x() / 2, front.top() + off.y() / 2);
        const QPoint to(from.x(), from.y() - series.MarkLineLength);
        const QRect box = MarkRect(fm, series.MarkText(point, locale()), to);
        if (!focused && !lastMark.isNull() && box.intersects(lastMark))
            return;
        p.setPen(Qt::black);
        p.drawLine(from, to);
        DrawMark(p, box, series.MarkText(point, locale()));
        lastMark = box;
    };
    int column = INT_MIN;
    const TChartPoint* tallest = nullptr;
    for (auto it = lo; it != hi; ++it) {
        if (it->Tallest < 0)
            continue;
        const TChartPoint& point = points[size_t(it->Tallest)];
        const int centre = bars.Centre(it->Position);
        if (centre != column) {
            if (tallest)
                drawBar(column, *tallest, false);
            column = centre;
            tallest = &point;
        } else if (std::abs(point.Value) > std::abs(tallest->Value)) {
            tallest = &point;
        }
    }
    if (tallest)
        drawBar(column, *tallest, false);
    // The focused bar comes last, in front of any bar it shares a column with.
    if (const int focused = ShowsFocus() ? FocusedDrawnIndexIn(series) : -1; focused >= 0) {
        const TChartPoint& point = points[size_t(series.DrawnPoints()[size_t(focused)])];
        if (point.Position >= first && point.Position <= last)
            drawBar(bars.Centre(point.Position), point, true);
    }
    p.setClipping(false);
}

void TChart::DrawPie(QPainter& p, const QRect& plot, const TChartSeries& series) const {
    const std::vector<TChartPoint>& points = series.Points();
    const double total = series.DrawnTotal();
    if (total <= 0 || plot.width() <= 0 || plot.height() <= 0)
        return;
    const TPieLayout pie = PieLayout(plot);
    // A slice thinner than a pixel at the rim cannot be seen; runs of them are drawn as one wedge.
    const double minSpan = 16.0 * 180.0 / kPi / std::max(1, pie.Top.width() / 2);
    const QVector<QColor>& palette = Palette();
    const QFontMetrics fm(font());

    struct TWedge {
        int Start, Span;
        QColor Color;
        const TChartPoint* Point;  // the slice whose mark it carries; null for merged runs
    };
    std::vector<TWedge> wedges;
    double angle = 0;
    double runStart = -1;
    QColor runColour;
    const auto flushRun = [&](double end) {
        if (runStart >= 0 && end > runStart)
            wedges.push_back({int(std::lround(runStart)), std::max(1, int(std::lround(end - runStart))),
                              runColour, nullptr});
        runStart = -1;
    };
    for (int i : series.DrawnPoints()) {
        const TChartPoint& point = points[size_t(i)];
        const double span = std::abs(point.Value) / total * 360.0 * 16.0;
        const QColor colour = palette[i % palette.size()];
        if (span >= minSpan) {
            flushRun(angle);
            wedges.push_back({int(std::lround(angle)), std::max(1, int(std::lround(span))), colour, &point});
        } else {
            if (runStart < 0) {
                runStart = angle;
                runColour = colour;
            }
            if (angle + span - runStart >= minSpan)
                flushRun(angle + span);
        }
        angle += span;
    }
    flushRun(angle);

    p.setPen(Qt::black);
    if (pie.Thickness > 0) {
        for (const TWedge& w : wedges) {
            p.setBrush(w.Color.darker(150));
            p.drawPie(pie.Bottom, w.Start, w.Span);
        }
    }
    for (const TWedge& w : wedges) {
        p.setBrush(w.Color);
        p.drawPie(pie.Top, w.Start, w.Span);
    }
    // The focused slice over the others, lighter and outlined, its mark drawn whatever it covers.
    const int focused = ShowsFocus() ? FocusedDrawnIndexIn(series) : -1;
    if (focused >= 0) {
        const int index = series.DrawnPoints()[size_t(focused)];
        const auto [start, span] = SliceAngles(series, focused);
        const int from = int(std::lround(start)), length = std::max(1, int(std::lround(span)));
        p.setBrush(palette[index % palette.size()].lighter(150));
        p.drawPie(pie.Top, from, length);
        p.setPen(FocusPen());
        p.setBrush(Qt::NoBrush);
        p.drawPie(pie.Top.adjusted(-2, -2, 2, 2), from, length);
    }
    if (!series.ShowMarks)
        return;
    // Marks on a short line out from the middle of each slice's rim; one that would cover a mark
    // already drawn is left out.
    std::vector<QRect> placed;
    const auto drawMark = [&](double start, double span, const TChartPoint& point, bool always) {
        const QString text = series.MarkText(point, locale());
        const TSliceMark mark = PlaceSliceMark(pie.Top, start, span, series.MarkLineLength, fm, text);
        if (!always &&
            std::any_of(placed.begin(), placed.end(), [&](const QRect& r) { return r.intersects(mark.Box); }))
            return;
        p.setPen(Qt::black);
        p.drawLine(mark.Rim, mark.End);
        DrawMark(p, mark.Box, text);
        placed.push_back(mark.Box);
    };
    const TChartPoint* focusedPoint =
        focused >= 0 ? &points[size_t(series.DrawnPoints()[size_t(focused)])] : nullptr;
    if (focusedPoint) {
        const auto [start, span] = SliceAngles(series, focused);
        drawMark(start, span, *focusedPoint, true);
    }
    for (const TWedge& w : wedges) {
        if (w.Point && w.Point != focusedPoint)
            drawMark(w.Start, w.Span, *w.Point, false);
    }
}

void TChart::DrawLegend(QPainter& p, const QRect& legend) const {
    // One series: its points' marks, as many as the legend's height holds; several: their names.
    const QFontMetrics fm(font());
    const int rowHeight = fm.height() + 2;
    QVector<QPair<QColor, QString>> rows;
    const int capacity = std::max(1, (legend.height() - 8) / rowHeight);
    std::vector<const TChartSeries*> listed;
    for (const auto& s : m_series) {
        if (s->InLegend && s->Kind() == TSeriesKind::Bar)
            listed.push_back(s.get());
    }
    if (listed.size() == 1) {
        const TChartSeries& s = *listed.front();
        for (int i = 0; i < s.Count() && rows.size() < capacity; ++i)
            rows.append({s.Color, s.MarkText(s.Points()[size_t(i)], locale())});
    } else {
        for (const TChartSeries* s : listed)
            rows.append({s->Color, s->Name()});
    }
    if (rows.isEmpty())
        return;
    const QRect box(legend.left(), legend.top(), legend.width(), rows.size() * rowHeight + 6);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    for (int i = 0; i < rows.size(); ++i) {
        const int y = box.top() + 3 + i * rowHeight;
        p.setBrush(rows[i].first);
        p.drawRect(box.left() + 4, y + 2, 10, rowHeight - 5);
        p.drawText(QRect(box.left() + 18, y, box.width() - 22, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(rows[i].second, Qt::ElideRight, box.width() - 22));
    }
}

// ---- the mouse ----------------------------------------------------------------------------------

void TChart::mousePressEvent(QMouseEvent* event) {
    // A point clicked becomes the focused one, where the keys go on from.
    if (event->button() == Qt::LeftButton) {
        if (const int place = DrawnPointAt(event->position().toPoint()); place >= 0)
            SetFocusedPoint(place);
    }
    // Zooming and panning act on the bars' axes; a pie has none.
    if (!HasBars())
        return;
    if (event->button() == Qt::LeftButton && AllowZoom)
        m_drag = TDrag::Zoom;
    else if (event->button() == Qt::RightButton && AllowPanning)
        m_drag = TDrag::Pan;
    else
        return;
    m_dragStart = m_dragNow = event->position().toPoint();
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_drag == TDrag::Pan) {
        PanByPixels(at - m_dragNow);
        m_dragNow = at;
    } else if (m_drag == TDrag::Zoom) {
        m_dragNow = at;
        update();
    }
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    const TDrag drag = m_drag;
    m_drag = TDrag::None;
    if (drag != TDrag::Zoom) {
        update();
        return;
    }
    m_dragNow = event->position().toPoint();
    const QPoint d = m_dragNow - m_dragStart;
    // Down and to the right zooms into the rectangle; back up and to the left shows everything.
    if (d.x() >= kMinDrag && d.y() >= kMinDrag) {
        const QPointF a = ToValue(m_dragStart), b = ToValue(m_dragNow);
        ZoomToValues(QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                            QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y()))));
    } else if (d.x() <= -kMinDrag || d.y() <= -kMinDrag) {
        UndoZoom();
    } else {
        update();
    }
}
