// The fonts prepared pages are drawn with, and text measuring that gives the same result on every
// device: widths are taken at a fixed 72 dots per inch, ten times enlarged, so hinting does not
// creep in. Window thread only (the measuring cache is not shared).
#pragma once

#include <QFont>
#include <QString>
#include <memory>

#include "TPreparedReport.h"

class TReportFonts {
public:
    explicit TReportFonts(double bodyPoints);

    // The font of a kind at its size in points, for drawing on a device.
    QFont Font(TPreparedFont kind) const;
    double Points(TPreparedFont kind) const;
    // Advance of the text in millimetres; ascent of the font in millimetres.
    double TextWidth(TPreparedFont kind, const QString& text);
    double Ascent(TPreparedFont kind) const;
    double Descent(TPreparedFont kind) const;
    // The text shortened with an ellipsis to fit the width (mm); unchanged when it fits.
    // textWidth, when given, receives the width of the result.
    QString Elided(TPreparedFont kind, const QString& text, double width, double* textWidth = nullptr);

    static QString Family();

private:
    struct TMetrics;
    TMetrics& MetricsOf(TPreparedFont kind);
    double m_body;
    struct TMetricsSet;
    std::shared_ptr<TMetricsSet> m_metrics;
};
