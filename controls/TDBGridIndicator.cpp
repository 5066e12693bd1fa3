// Drawing the indicator markers: a triangle for browsing, an I-beam for editing, an asterisk for
// inserting. Relies only on the data set's current row and state; no row but the painted ones is read.
#include "TDBGridIndicator.h"

#include <QPainter>
#include <QPainterPath>

#include "TDataSet.h"

TDBGridIndicator::TDBGridIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
}

QSize TDBGridIndicator::sizeHint() const {
    // Fixed: asking Qt would measure the header texts of sections (here: none worth measuring).
    return QSize(Width, defaultSectionSize());
}

TDBGridIndicator::TMarker TDBGridIndicator::MarkerAt(int row) const {
    TDataSet* set = m_dataSet ? m_dataSet() : nullptr;
    if (!set || !set->Active() || row != set->RecNo())
        return NoMarker;
    switch (set->State()) {
        case dsEdit:
            return EditMarker;
        case dsInsert:
            return InsertMarker;
        default:
            return BrowseMarker;
    }
}

void TDBGridIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(palette().color(QPalette::Light));
    painter->drawLine(rect.topLeft(), rect.topRight());
    painter->drawLine(rect.topLeft(), rect.bottomLeft());
    painter->setPen(palette().color(QPalette::Dark));
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    const QPoint c = rect.center();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::black);
    painter->setBrush(Qt::black);
    switch (MarkerAt(logicalIndex)) {
        case BrowseMarker: {
            const QPoint pts[3] = {QPoint(c.x() - 2, c.y() - 4), QPoint(c.x() + 2, c.y()),
                                   QPoint(c.x() - 2, c.y() + 4)};
            painter->drawPolygon(pts, 3);
            break;
        }
        case EditMarker:
            painter->drawLine(c.x(), c.y() - 4, c.x(), c.y() + 4);
            painter->drawLine(c.x() - 2, c.y() - 5, c.x() - 1, c.y() - 5);
            painter->drawLine(c.x() + 1, c.y() - 5, c.x() + 2, c.y() - 5);
            painter->drawLine(c.x() - 2, c.y() + 5, c.x() - 1, c.y() + 5);
            painter->drawLine(c.x() + 1, c.y() + 5, c.x() + 2, c.y() + 5);
            break;
        case InsertMarker:
            painter->drawLine(c.x(), c.y() - 4, c.x(), c.y() + 4);
            painter->drawLine(c.x() - 4, c.y(), c.x() + 4, c.y());
            painter->drawLine(c.x() - 3, c.y() - 3, c.x() + 3, c.y() + 3);
            painter->drawLine(c.x() - 3, c.y() + 3, c.x() + 3, c.y() - 3);
            break;
        case NoMarker:
            break;
    }
    painter->restore();
}
