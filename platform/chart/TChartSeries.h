// One series of a chart: its points in drawing order and how its marks read. Bars stand in ascending
// order of their position, equal positions in the order they were added; slices keep their order.
#pragma once

#include <QColor>
#include <QLocale>
#include <QString>
#include <vector>

enum class TSeriesKind { Bar, Pie };

struct TChartPoint {
    double Value = 0;     // bar height or slice size; 0 for a point without a value
    double Position = 0;  // a bar's place on the horizontal axis
    QString Label;        // a slice's label; bars have none
    bool Drawn = true;    // false for a point whose value was null: it counts, but is not drawn
};

class TChartSeries {
public:
    TChartSeries(QString name, TSeriesKind kind);

    const QString& Name() const { return m_name; }
    TSeriesKind Kind() const { return m_kind; }

    void Clear();
    // A new bar goes after every bar whose position is less than or equal to its own.
    void AddBar(double position, double value, bool drawn = true);
    void AddSlice(const QString& label, double value, bool drawn = true);
    int Count() const { return int(m_points.size()); }
    // The points in drawing order.
    const std::vector<TChartPoint>& Points() const;

    // Bars at one position stand on one spot; only the one reaching furthest from the axis shows.
    struct TRun {
        double Position = 0;
        int Tallest = -1;  // index of the point that shows; -1 when none of them is drawn
    };
    // One run per distinct position, in order, and the extent of the values (nulls count as 0).
    // Kept until the points change, so a paint costs the positions, not the points.
    const std::vector<TRun>& Runs() const;
    double MinValue() const;
    double MaxValue() const;
    double DrawnTotal() const;  // the sum of the drawn points' sizes, for slices

    // A mark shows the point's label, or without one its value as "#,##0.###".
    QString MarkText(const TChartPoint& point, const QLocale& locale = QLocale()) const;
    // "#,##0.###": thousands grouped, at most three decimals, the locale's separators.
    static QString FormatValue(double value, const QLocale& locale = QLocale());

    QColor Color = Qt::red;  // every bar; slices take the chart's palette instead
    bool ShowMarks = true;
    int MarkLineLength = 20;  // pixels from the point to its mark
    bool InLegend = true;

private:
    QString m_name;
    TSeriesKind m_kind;
    // Bars arrive mostly in order; the rest are put in place once, by a stable sort, when read.
    void Summarise() const;

    mutable std::vector<TChartPoint> m_points;
    mutable bool m_sorted = true;
    mutable bool m_summarised = false;
    mutable std::vector<TRun> m_runs;
    mutable double m_min = 0, m_max = 0, m_total = 0;
};
