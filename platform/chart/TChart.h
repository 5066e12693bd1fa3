// The chart control: a title, a pseudo-3-D plot (a depth offset, the view tilted without
// perspective) of bar and pie series, walls, axes, frame, marks and legend, and zooming and panning
// with the mouse where allowed. Drawing costs what the plot can show, not what the series hold:
// bars that share a pixel column draw once, slices thinner than a pixel at the rim merge.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QWidget>
#include <memory>
#include <vector>

#include "TChartSeries.h"

class TChart : public QWidget {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }

    // Settings, as a chart's designer sets them.
    QString Title = QStringLiteral("TDBChart");
    bool View3D = true;
    bool Orthogonal = false;
    int Elevation = 315;  // degrees; 360 - 315 = 45 tilts the view down by that much
    int Rotation = 360;   // degrees; a full turn is no rotation
    int Perspective = 0;  // percent; 0 draws every depth with the same offset
    int Depth = 12;       // pixels of the 3-D offset at a 45 degree tilt
    bool Walls = true;    // left and bottom walls, and the back wall
    QColor BackWallColor = Qt::white;
    bool AxesVisible = true;
    bool FrameVisible = true;
    bool ClipPoints = true;  // points and marks cut off at the plot area
    bool AllowZoom = true;
    bool AllowPanning = true;
    bool LegendVisible = true;

    TChartSeries* AddSeries(const QString& name, TSeriesKind kind);
    int SeriesCount() const { return int(m_series.size()); }
    TChartSeries* Series(int index) const;
    // Redraws after the series changed (points added or cleared), keeps the focused point among
    // those left and tells readers the points are new.
    void SeriesChanged();

    // The drawn points of all series, series after series, each in its drawing order; what the
    // keyboard walks and readers list. A point is found by its place in that order.
    int DrawnPointCount() const;
    // Up to this many points, a change is told to readers as new children, which the Linux bridge
    // sends one signal each for; past it, as changed data the reader fetches when it needs it.
    static constexpr int PointsToldOneByOne = 2000;
    // The series of the drawn point at place and its index into the series' DrawnPoints(); false
    // when there is none.
    bool FindDrawnPoint(int place, const TChartSeries** series, int* drawnIndex) const;
    // Where the drawn point at place is drawn: a bar's front face, a slice's bounding box.
    QRect DrawnPointRect(int place) const;
    // The drawn point under pixel, -1 for none.
    int DrawnPointAt(const QPoint& pixel) const;
    // The point the keyboard stands on, -1 for none; drawn highlighted while the chart has the focus.
    int FocusedPoint() const { return m_focused; }
    void SetFocusedPoint(int place);

    // The colours slices take in turn.
    static const QVector<QColor>& Palette();

    // The values the plot shows on its horizontal and vertical axes; the whole extent of the bars
    // unless zoomed or panned.
    QRectF VisibleValues() const;
    QRectF WholeValues() const;
    bool Zoomed() const { return m_zoomed; }
    void ZoomToValues(const QRectF& values);
    void UndoZoom();
    // Moves the view by a distance in pixels (the content follows the mouse).
    void PanByPixels(const QPointF& distance);

    // Where the series are drawn (without the 3-D offset) and the offset itself.
    QRect PlotRect() const;
    QPoint DepthOffset() const;
    // A value pair as a point of the plot's front plane, and back.
    QPointF ToPixel(double x, double y) const;
    QPointF ToValue(const QPointF& pixel) const;

    // Draws the whole chart into painter over rect (a widget's paint, a golden image).
    void Render(QPainter& painter, const QRect& rect) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

Q_SIGNALS:
    // The points changed: what was said of them before no longer holds.
    void PointsChanged();

private:
    // Where the bars of a view stand in a plot: one position's room, a bar's width, the zero line.
    struct TBarLayout {
        QRect Plot;
        QRectF Values;
        double PerUnit = 0;
        int Width = 1;
        double ZeroY = 0;
        int Centre(double position) const;
        QRect Front(int centre, double value) const;
    };
    TBarLayout BarLayout(const QRect& plot, const QRectF& values) const;
    // The pie's top face and its rim below, within a plot.
    struct TPieLayout {
        QRect Top;
        QRect Bottom;
        int Thickness = 0;
    };
    TPieLayout PieLayout(const QRect& plot) const;
    // A slice's start and span in sixteenths of a degree.
    static QPair<double, double> SliceAngles(const TChartSeries& series, int drawnIndex);
    int PlaceOf(const TChartSeries* series, int drawnIndex) const;
    // The focused point within series, as an index into its drawn points; -1 when it lies elsewhere.
    int FocusedDrawnIndexIn(const TChartSeries& series) const;
    bool ShowsFocus() const;
    void ScrollToFocusedPoint();

    bool HasBars() const;
    bool HasPie() const;
    QRect LegendRect(const QRect& area) const;
    QRect PlotRectIn(const QRect& area) const;
    void DrawTitle(QPainter& p, const QRect& area) const;
    void DrawWalls(QPainter& p, const QRect& plot) const;
    void DrawAxes(QPainter& p, const QRect& plot, const QRectF& values) const;
    void DrawBars(QPainter& p, const QRect& plot, const QRectF& values, const TChartSeries& series) const;
    void DrawPie(QPainter& p, const QRect& plot, const TChartSeries& series) const;
    void DrawLegend(QPainter& p, const QRect& legend) const;

    std::vector<std::unique_ptr<TChartSeries>> m_series;
    QRectF m_view;  // the values shown while zoomed or panned
    bool m_zoomed = false;
    enum class TDrag { None, Zoom, Pan } m_drag = TDrag::None;
    QPoint m_dragStart;
    QPoint m_dragNow;
    int m_focused = -1;
};
