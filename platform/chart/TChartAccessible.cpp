// The chart's accessible interfaces: the chart (QAccessibleWidget, one child per drawn point) and
// each point. A chart may hold a hundred thousand bars: a point's interface is made when first
// asked for, kept by its place, and every one is let go when the points change, so no reader keeps
// one that names a point no longer there.
#include "TChartAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

#include "TChart.h"

namespace {

class TChartPointAccessible : public QAccessibleInterface {
public:
    TChartPointAccessible(TChart* chart, int place) : m_chart(chart), m_place(place) {}

    int Place() const { return m_place; }
    const TChart* Chart() const { return m_chart; }

    bool isValid() const override { return m_chart && m_place < m_chart->DrawnPointCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_chart ? m_chart->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_chart); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        const TChartSeries* series = nullptr;
        const TChartPoint* point = Point(&series);
        if (!point)
            return {};
        if (t == QAccessible::Name)
            return series->SpokenText(*point, m_chart->locale());
        if (t == QAccessible::Description && !series->ValueTitle.isEmpty())
            return series->ValueTitle + QStringLiteral(": ") +
                   TChartSeries::FormatValue(point->Value, m_chart->locale());
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_chart)
            return {};
        const QRect r = m_chart->DrawnPointRect(m_place);
        return QRect(m_chart->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!m_chart)
            return s;
        s.focusable = s.selectable = true;
        s.selected = m_chart->FocusedPoint() == m_place;
        s.focused = s.selected && m_chart->hasFocus();
        s.invisible = !m_chart->isVisible();
        // A bar the zoomed view leaves out.
        s.offscreen = !m_chart->rect().intersects(m_chart->DrawnPointRect(m_place));
        return s;
    }

private:
    const TChartPoint* Point(const TChartSeries** series) const {
        int index = -1;
        if (!m_chart || !m_chart->FindDrawnPoint(m_place, series, &index))
            return nullptr;
        return &(*series)->Points()[size_t((*series)->DrawnPoints()[size_t(index)])];
    }

    QPointer<TChart> m_chart;
    int m_place;
};

class TChartAccessibleWidget : public QAccessibleWidget {
public:
    explicit TChartAccessibleWidget(TChart* chart) : QAccessibleWidget(chart, QAccessible::Chart) {
        m_pointsChanged = QObject::connect(chart, &TChart::PointsChanged, [this] { ReleasePoints(); });
    }
    ~TChartAccessibleWidget() override {
        QObject::disconnect(m_pointsChanged);
        ReleasePoints();
    }

    QString text(QAccessible::Text t) const override {
        // The title is what the eye reads; the name the window gives the chart stays as the description.
        const QString title = Chart()->Title;
        if (t == QAccessible::Name)
            return title.isEmpty() ? widget()->accessibleName() : title;
        if (t == QAccessible::Description && !title.isEmpty() && !widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return Chart()->DrawnPointCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto it = m_points.constFind(index); it != m_points.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* face = new TChartPointAccessible(Chart(), index);
        m_points.insert(index, QAccessible::registerAccessibleInterface(face));
        return face;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* point = dynamic_cast<const TChartPointAccessible*>(child);
        return point && point->Chart() == Chart() && point->isValid() ? point->Place() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return child(Chart()->DrawnPointAt(Chart()->mapFromGlobal(QPoint(x, y))));
    }
    QAccessibleInterface* focusChild() const override {
        if (Chart()->hasFocus() && Chart()->FocusedPoint() >= 0)
            return child(Chart()->FocusedPoint());
        return QAccessibleWidget::focusChild();
    }

private:
    TChart* Chart() const { return static_cast<TChart*>(widget()); }
    void ReleasePoints() {
        for (QAccessible::Id id : qAsConst(m_points))
            QAccessible::deleteAccessibleInterface(id);
        m_points.clear();
    }

    mutable QHash<int, QAccessible::Id> m_points;
    QMetaObject::Connection m_pointsChanged;
};

QAccessibleInterface* ChartFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TChart") && object && object->isWidgetType())
        return new TChartAccessibleWidget(static_cast<TChart*>(object));
    return nullptr;
}

}  // namespace

void InstallChartAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(ChartFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
