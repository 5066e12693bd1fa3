// The chart's points one after another, as the keyboard and readers walk them: their places across
// the series, where each is drawn, the focused one, and the keys that move it.
#include "TChart.h"

#include <QAccessible>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

// ---- the drawn points, one after another ---------------------------------------------------------

int TChart::DrawnPointCount() const {
    int count = 0;
    for (const auto& s : m_series)
        count += int(s->DrawnPoints().size());
    return count;
}

bool TChart::FindDrawnPoint(int place, const TChartSeries** series, int* drawnIndex) const {
    if (place < 0)
        return false;
    for (const auto& s : m_series) {
        const int n = int(s->DrawnPoints().size());
        if (place < n) {
            *series = s.get();
            *drawnIndex = place;
            return true;
        }
        place -= n;
    }
    return false;
}

int TChart::PlaceOf(const TChartSeries* series, int drawnIndex) const {
    int place = 0;
    for (const auto& s : m_series) {
        if (s.get() == series)
            return place + drawnIndex;
        place += int(s->DrawnPoints().size());
    }
    return -1;
}

int TChart::FocusedDrawnIndexIn(const TChartSeries& series) const {
    const TChartSeries* s = nullptr;
    int index = -1;
    return FindDrawnPoint(m_focused, &s, &index) && s == &series ? index : -1;
}

bool TChart::ShowsFocus() const {
    return m_focused >= 0 && hasFocus();
}

QPair<double, double> TChart::SliceAngles(const TChartSeries& series, int drawnIndex) {
    const double total = series.DrawnTotal();
    if (total <= 0)
        return {0, 0};
    const TChartPoint& point = series.Points()[size_t(series.DrawnPoints()[size_t(drawnIndex)])];
    return {series.SizeBefore(drawnIndex) / total * 360.0 * 16.0, std::abs(point.Value) / total * 360.0 * 16.0};
}

QRect TChart::DrawnPointRect(int place) const {
    const TChartSeries* series = nullptr;
    int index = -1;
    if (!FindDrawnPoint(place, &series, &index))
        return {};
    const TChartPoint& point = series->Points()[size_t(series->DrawnPoints()[size_t(index)])];
    const QRect plot = PlotRect();
    if (series->Kind() == TSeriesKind::Bar) {
        const TBarLayout bars = BarLayout(plot, VisibleValues());
        return bars.Front(bars.Centre(point.Position), point.Value);
    }
    // The slice's box: its centre and points along its rim, the rim's depth below on the near half.
    const TPieLayout pie = PieLayout(plot);
    const auto [start, span] = SliceAngles(*series, index);
    const QPointF centre = QRectF(pie.Top).center();
    QRectF box(centre, QSizeF(0, 0));
    for (int i = 0; i <= 16; ++i) {
        const double a = (start + span * i / 16.0) / 16.0 * kPi / 180.0;
        const QPointF rim(centre.x() + pie.Top.width() / 2.0 * std::cos(a),
                          centre.y() - pie.Top.height() / 2.0 * std::sin(a));
        box |= QRectF(rim, QSizeF(1, 1));
        if (std::sin(a) < 0)
            box |= QRectF(rim + QPointF(0, pie.Thickness), QSizeF(1, 1));
    }
    return box.toAlignedRect();
}

int TChart::DrawnPointAt(const QPoint& pixel) const {
    const QRect plot = PlotRect();
    // Later series are drawn over earlier ones.
    for (auto it = m_series.rbegin(); it != m_series.rend(); ++it) {
        const TChartSeries& series = **it;
        const std::vector<int>& drawn = series.DrawnPoints();
        const std::vector<TChartPoint>& points = series.Points();
        if (series.Kind() == TSeriesKind::Bar) {
            const TBarLayout bars = BarLayout(plot, VisibleValues());
            if (bars.PerUnit <= 0 || (ClipPoints && !plot.adjusted(0, DepthOffset().y(), 0, 0).contains(pixel)))
                continue;
            // Only the positions whose bars can reach the pixel's column, found by the bars' order.
            const double from = bars.Values.left() + (pixel.x() - plot.left() - bars.Width) / bars.PerUnit;
            const double to = bars.Values.left() + (pixel.x() - plot.left() + bars.Width) / bars.PerUnit;
            auto lo = std::lower_bound(drawn.begin(), drawn.end(), from,
                                       [&](int i, double x) { return points[size_t(i)].Position < x; });
            int best = -1;
            const int focused = FocusedDrawnIndexIn(series);
            for (auto d = lo; d != drawn.end() && points[size_t(*d)].Position <= to; ++d) {
                const TChartPoint& point = points[size_t(*d)];
                if (!bars.Front(bars.Centre(point.Position), point.Value).contains(pixel))
                    continue;
                const int index = int(d - drawn.begin());
                // The one that shows: the focused bar stands in front, otherwise the tallest.
                if (best < 0 || (index == focused && ShowsFocus()) ||
                    (best != focused &&
                     std::abs(point.Value) > std::abs(points[size_t(drawn[size_t(best)])].Value)))
                    best = index;
            }
            if (best >= 0)
                return PlaceOf(&series, best);
            continue;
        }
        const TPieLayout pie = PieLayout(plot);
        if (drawn.empty() || pie.Top.width() <= 0 || pie.Top.height() <= 0)
            continue;
        const QPointF centre = QRectF(pie.Top).center();
        const double dx = (pixel.x() - centre.x()) / (pie.Top.width() / 2.0);
        const double dy = (centre.y() - pixel.y()) / (pie.Top.height() / 2.0);
        if (dx * dx + dy * dy > 1)
            continue;
        double angle = std::atan2(dy, dx);
        if (angle < 0)
            angle += 2 * kPi;
        const double size = angle / (2 * kPi) * series.DrawnTotal();
        // The last slice starting at or before that share of the whole.
        int lo = 0, hi = int(drawn.size());
        while (hi - lo > 1) {
            const int mid = (lo + hi) / 2;
            (series.SizeBefore(mid) <= size ? lo : hi) = mid;
        }
        return PlaceOf(&series, lo);
    }
    return -1;
}

void TChart::SetFocusedPoint(int place) {
    const int count = DrawnPointCount();
    place = place < 0 || count == 0 ? -1 : std::min(place, count - 1);
    if (place == m_focused)
        return;
    m_focused = place;
    ScrollToFocusedPoint();
    update();
    // A reader speaks the point the keyboard now stands on.
    if (place >= 0 && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(place);
        QAccessible::updateAccessibility(&event);
    }
}

void TChart::ScrollToFocusedPoint() {
    const TChartSeries* series = nullptr;
    int index = -1;
    if (!m_zoomed || !FindDrawnPoint(m_focused, &series, &index) || series->Kind() != TSeriesKind::Bar)
        return;
    const TChartPoint& point = series->Points()[size_t(series->DrawnPoints()[size_t(index)])];
    // The view keeps its size and moves just far enough for the bar's room and its top.
    QRectF view = m_view;
    if (point.Position - 0.5 < view.left())
        view.moveLeft(point.Position - 0.5);
    else if (point.Position + 0.5 > view.right())
        view.moveRight(point.Position + 0.5);
    if (point.Value < view.top())
        view.moveTop(point.Value - view.height() * 0.1);
    else if (point.Value > view.bottom())
        view.moveBottom(point.Value + view.height() * 0.1);
    m_view = view;
}

// ---- the keyboard -------------------------------------------------------------------------------

void TChart::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Without a focused point every key starts at the first (End at the last).
    int place = m_focused;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            place = std::max(0, m_focused - 1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            place = m_focused + 1;
            break;
        case Qt::Key_Home:
            place = 0;
            break;
        case Qt::Key_End:
            place = DrawnPointCount() - 1;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    if (place >= 0)
        SetFocusedPoint(place);
    event->accept();
}

void TChart::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (m_focused < 0 && DrawnPointCount() > 0)
        m_focused = 0;
    update();
    // The chart itself is announced once this returns; its focused point right after.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus() && m_focused >= 0) {
                QAccessibleEvent focus(this, QAccessible::Focus);
                focus.setChild(m_focused);
                QAccessible::updateAccessibility(&focus);
            }
        },
        Qt::QueuedConnection);
}

void TChart::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}
