// Drawing prepared pages. Fonts are set by point size, which the device's resolution turns into
// the right physical size; positions are millimetres turned into device units here.
#include "TPageRenderer.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include "TReportFonts.h"

TPageRenderer::TPageRenderer(const TPreparedReport& report) : m_report(report) {}

void TPageRenderer::DrawPage(QPainter& painter, QPaintDevice* device, int page) const {
    if (page < 0 || page >= m_report.Pages.size())
        return;
    const double sx = device->logicalDpiX() / 25.4;
    const double sy = device->logicalDpiY() / 25.4;
    const TReportFonts fonts(m_report.FontSize);
    QFont fontOf[4];
    for (int k = 0; k < 4; ++k)
        fontOf[k] = fonts.Font(TPreparedFont(k));
    // A hairline rule of a quarter point, whatever the resolution.
    QPen rule(Qt::black);
    rule.setWidthF(0.25 / 72.0 * device->logicalDpiY());
    painter.setPen(Qt::black);
    int current = -1;
    for (const TPreparedItem& item : m_report.Pages.at(page).Items) {
        if (item.ItemKind == TPreparedItem::LineItem) {
            painter.setPen(rule);
            painter.drawLine(QPointF(item.Rect.left() * sx, item.Rect.top() * sy),
                             QPointF(item.Rect.right() * sx, item.Rect.bottom() * sy));
            painter.setPen(Qt::black);
            continue;
        }
        if (item.Text.isEmpty())
            continue;
        if (int(item.Font) != current) {
            current = int(item.Font);
            painter.setFont(fontOf[current]);
        }
        painter.drawText(QPointF(item.Origin.x() * sx, item.Origin.y() * sy), item.Text);
    }
}
