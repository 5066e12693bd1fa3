// Fonts and device-independent measuring for prepared pages.
#include "TReportFonts.h"

#include <QFontMetricsF>
#include <QVector>
#include <QImage>
#include <memory>

namespace {
// Measuring happens at ten times the size on a 72 dpi image: one pixel is a tenth of a point.
const double kScale = 10.0;
const double kMmPerPoint = 25.4 / 72.0;
// Latin, Cyrillic and the punctuation between them: what a price list holds.
const int kCachedChars = 0x0530;

const QImage& MeasureDevice() {
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_ARGB32);
        i.setDotsPerMeterX(int(72 / 0.0254 + 0.5));
        i.setDotsPerMeterY(int(72 / 0.0254 + 0.5));
        return i;
    }();
    return image;
}
}  // namespace

struct TReportFonts::TMetrics {
    explicit TMetrics(const QFont& font)
        : Font(font),
          Metrics(font, &MeasureDevice()),
          Ascent(Metrics.ascent() / kScale * kMmPerPoint),
          Descent(Metrics.descent() / kScale * kMmPerPoint),
          Advance(kCachedChars, -1.0) {}
    QFont Font;
    QFontMetricsF Metrics;
    double Ascent;
    double Descent;
    QVector<double> Advance;  // per character below kCachedChars, mm; -1 until measured
};

struct TReportFonts::TMetricsSet {
    std::unique_ptr<TMetrics> Kinds[4];
};

TReportFonts::TReportFonts(double bodyPoints)
    : m_body(bodyPoints), m_metrics(std::make_shared<TMetricsSet>()) {}

QString TReportFonts::Family() {
    // Cyrillic-capable and installed with the program's fonts; fontconfig substitutes when absent.
    return QStringLiteral("DejaVu Sans");
}

double TReportFonts::Points(TPreparedFont kind) const {
    switch (kind) {
        case TPreparedFont::Title:
            return m_body * 1.6;
        case TPreparedFont::Small:
            return m_body * 0.85;
        default:
            return m_body;
    }
}

QFont TReportFonts::Font(TPreparedFont kind) const {
    QFont font(Family());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(Points(kind));
    font.setBold(kind == TPreparedFont::Heading || kind == TPreparedFont::Title);
    // Without kerning, per-character widths add up to what is drawn (see TextWidth).
    font.setKerning(false);
    return font;
}

TReportFonts::TMetrics& TReportFonts::MetricsOf(TPreparedFont kind) {
    std::unique_ptr<TMetrics>& m = m_metrics->Kinds[int(kind)];
    if (!m) {
        QFont font = Font(kind);
        font.setPointSizeF(Points(kind) * kScale);
        m = std::make_unique<TMetrics>(font);
    }
    return *m;
}

double TReportFonts::Ascent(TPreparedFont kind) const {
    return const_cast<TReportFonts*>(this)->MetricsOf(kind).Ascent;
}

double TReportFonts::Descent(TPreparedFont kind) const {
    return const_cast<TReportFonts*>(this)->MetricsOf(kind).Descent;
}

double TReportFonts::TextWidth(TPreparedFont kind, const QString& text) {
    TMetrics& m = MetricsOf(kind);
    // Summing cached advances is exact for scripts without shaping (Latin, Cyrillic, digits) as
    // kerning is off; anything else is measured whole.
    double width = 0;
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u >= kCachedChars || (u >= 0x0300 && u < 0x0370) || (u >= 0x0483 && u < 0x048A))
            return m.Metrics.horizontalAdvance(text) / kScale * kMmPerPoint;
        double& advance = m.Advance[u];
        if (advance < 0)
            advance = m.Metrics.horizontalAdvance(c) / kScale * kMmPerPoint;
        width += advance;
    }
    return width;
}

QString TReportFonts::Elided(TPreparedFont kind, const QString& text, double width, double* textWidth) {
    const double full = TextWidth(kind, text);
    if (full <= width) {
        if (textWidth)
            *textWidth = full;
        return text;
    }
    TMetrics& m = MetricsOf(kind);
    const QString elided = m.Metrics.elidedText(text, Qt::ElideRight, width / kMmPerPoint * kScale);
    if (textWidth)
        *textWidth = TextWidth(kind, elided);
    return elided;
}
