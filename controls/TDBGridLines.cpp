// A grid cell with its column and row lines.
#include "TDBGridLines.h"

#include <QPainter>

#include "TDBGrid.h"

TDBGridLines::TDBGridLines(TDBGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void TDBGridLines::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    const QRect r = option.rect;
    if (m_grid->Options().Contains(dgColLines))
        painter->drawLine(r.topRight(), r.bottomRight());
    if (m_grid->Options().Contains(dgRowLines))
        painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
}
