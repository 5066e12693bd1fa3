// Points of a series. Ordering bars by a stable sort on first reading gives the same order as
// inserting each after its equals, at n log n instead of n squared for rows in no order.
#include "TChartSeries.h"

#include <algorithm>
#include <cmath>

TChartSeries::TChartSeries(QString name, TSeriesKind kind) : m_name(std::move(name)), m_kind(kind) {}

void TChartSeries::Clear() {
    m_points.clear();
    m_sorted = true;
}

void TChartSeries::AddBar(double position, double value, bool drawn) {
    if (!m_points.empty() && position < m_points.back().Position)
        m_sorted = false;
    m_points.push_back({drawn ? value : 0, position, QString(), drawn});
}

void TChartSeries::AddSlice(const QString& label, double value, bool drawn) {
    m_points.push_back({drawn ? value : 0, 0, label, drawn});
}

const std::vector<TChartPoint>& TChartSeries::Points() const {
    if (!m_sorted) {
        std::stable_sort(m_points.begin(), m_points.end(),
                         [](const TChartPoint& a, const TChartPoint& b) { return a.Position < b.Position; });
        m_sorted = true;
    }
    return m_points;
}

QString TChartSeries::MarkText(const TChartPoint& point, const QLocale& locale) const {
    return point.Label.isEmpty() ? FormatValue(point.Value, locale) : point.Label;
}

QString TChartSeries::FormatValue(double value, const QLocale& locale) {
    // Three decimals rounded, then the zeros after the last significant one dropped ("0.###").
    QString text = locale.toString(std::round(value * 1000.0) / 1000.0, 'f', 3);
    const QString point = locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(locale.zeroDigit()))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    if (text == QLatin1String("-") + locale.zeroDigit())
        text = locale.zeroDigit();
    return text;
}
