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

    // The points that show, as indices into Points(), in drawing order: bars with a value, and slices
    // with a value other than 0 (a zero slice takes no room). Kept until the points change.
    const std::vector<int>& DrawnPoints() const;
    // The sum of the sizes of the slices drawn before the drawn point at drawnIndex: where it starts.
    double SizeBefore(int drawnIndex) const;
    // What a reader says of a point: "<position title>, <position>: <value>" for a bar,
    // "<label title>, <label>: <value>, <share> %" for a slice, the share of the drawn total.
    QString SpokenText(const TChartPoint& point, const QLocale& locale = QLocale()) const;

    // A mark shows the point's label, or without one its value as "#,##0.###".
    QString MarkText(const TChartPoint& point, const QLocale& locale = QLocale()) const;
    // "#,##0.###": thousands grouped, at most three decimals, the locale's separators.
    static QString FormatValue(double value, const QLocale& locale = QLocale());

    QColor Color = Qt::red;  // every bar; slices take the chart's palette instead
    bool ShowMarks = true;
    int MarkLineLength = 20;  // pixels from the point to its mark
    bool InLegend = true;
    // What the columns a series reads are called, for readers; empty leaves the title out.
    QString ValueTitle;
    QString PositionTitle;
    QString LabelTitle;

private:
    QString m_name;
    TSeriesKind m_kind;
    // Bars arrive mostly in order; the rest are put in place once, by a stable sort, when read.
    void Summarise() const;

    mutable std::vector<TChartPoint> m_points;
    mutable bool m_sorted = true;
    mutable bool m_summarised = false;
    mutable std::vector<TRun> m_runs;
    mutable std::vector<int> m_drawn;
    mutable std::vector<double> m_sizeBefore;
    mutable double m_min = 0, m_max = 0, m_total = 0;
};
