// Points of a series. Ordering bars by a stable sort on first reading gives the same order as
// inserting each after its equals, at n log n instead of n squared for rows in no order.
#include "TChartSeries.h"

#include <algorithm>
#include <cmath>

TChartSeries::TChartSeries(QString name, TSeriesKind kind) : m_name(std::move(name)), m_kind(kind) {}

void TChartSeries::Clear() {
    m_points.clear();
    m_sorted = true;
    m_summarised = false;
}

void TChartSeries::AddBar(double position, double value, bool drawn) {
    if (!m_points.empty() && position < m_points.back().Position)
        m_sorted = false;
    m_summarised = false;
    m_points.push_back({drawn ? value : 0, position, QString(), drawn});
}

void TChartSeries::AddSlice(const QString& label, double value, bool drawn) {
    m_summarised = false;
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

void TChartSeries::Summarise() const {
    if (m_summarised)
        return;
    const std::vector<TChartPoint>& points = Points();
    m_runs.clear();
    m_drawn.clear();
    m_sizeBefore.clear();
    m_min = m_max = m_total = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const TChartPoint& point = points[i];
        m_min = std::min(m_min, point.Value);
        m_max = std::max(m_max, point.Value);
        if (point.Drawn && (m_kind == TSeriesKind::Bar || point.Value != 0)) {
            m_drawn.push_back(int(i));
            m_sizeBefore.push_back(m_total);
        }
        if (point.Drawn)
            m_total += std::abs(point.Value);
        if (m_kind != TSeriesKind::Bar)
            continue;
        if (m_runs.empty() || m_runs.back().Position != point.Position)
            m_runs.push_back({point.Position, -1});
        TRun& run = m_runs.back();
        if (point.Drawn &&
            (run.Tallest < 0 || std::abs(point.Value) > std::abs(points[size_t(run.Tallest)].Value)))
            run.Tallest = int(i);
    }
    m_summarised = true;
}

const std::vector<TChartSeries::TRun>& TChartSeries::Runs() const {
    Summarise();
    return m_runs;
}

double TChartSeries::MinValue() const {
    Summarise();
    return m_min;
}

double TChartSeries::MaxValue() const {
    Summarise();
    return m_max;
}

double TChartSeries::DrawnTotal() const {
    Summarise();
    return m_total;
}

const std::vector<int>& TChartSeries::DrawnPoints() const {
    Summarise();
    return m_drawn;
}

double TChartSeries::SizeBefore(int drawnIndex) const {
    Summarise();
    return drawnIndex >= 0 && size_t(drawnIndex) < m_sizeBefore.size() ? m_sizeBefore[size_t(drawnIndex)] : 0;
}

QString TChartSeries::SpokenText(const TChartPoint& point, const QLocale& locale) const {
    const auto titled = [](const QString& title, const QString& what) {
        return title.isEmpty() ? what : title + QStringLiteral(", ") + what;
    };
    const QString value = FormatValue(point.Value, locale);
    if (m_kind == TSeriesKind::Bar)
        return titled(PositionTitle, FormatValue(point.Position, locale)) + QStringLiteral(": ") + value;
    const double total = DrawnTotal();
    const double share = total > 0 ? std::abs(point.Value) / total * 100.0 : 0;
    return titled(LabelTitle, point.Label) + QStringLiteral(": ") + value + QStringLiteral(", ") +
           locale.toString(share, 'f', 1) + QStringLiteral(" %");
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
