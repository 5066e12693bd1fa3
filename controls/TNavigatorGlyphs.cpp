// Drawing the navigator pictures once per state into 16 x 16 pixmaps.
#include "TNavigatorGlyphs.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

// The shape of each button in one colour; the state only chooses the colours.
void DrawShape(QPainter& p, int button, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const auto triangle = [&p](QPointF a, QPointF b, QPointF c) {
        const QPointF pts[3] = {a, b, c};
        p.drawPolygon(pts, 3);
    };
    switch (button) {
        case 0:  // first: bar and left triangle
            p.drawRect(QRectF(4, 4, 2, 8));
            triangle({11, 4}, {11, 12}, {7, 8});
            break;
        case 1:  // prior: left triangle
            triangle({10, 4}, {10, 12}, {6, 8});
            break;
        case 2:  // next: right triangle
            triangle({6, 4}, {6, 12}, {10, 8});
            break;
        case 3:  // last: right triangle and bar
            triangle({5, 4}, {5, 12}, {9, 8});
            p.drawRect(QRectF(10, 4, 2, 8));
            break;
        case 4:  // insert: plus
            p.drawRect(QRectF(7, 3, 2, 10));
            p.drawRect(QRectF(3, 7, 10, 2));
            break;
        case 5:  // delete: minus
            p.drawRect(QRectF(3, 7, 10, 2));
            break;
        case 6:  // edit: upward triangle
            triangle({3, 11}, {13, 11}, {8, 5});
            break;
        case 7: {  // post: tick
            QPainterPath path;
            path.moveTo(3, 8);
            path.lineTo(6, 11);
            path.lineTo(13, 4);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(color, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            p.drawPath(path);
            break;
        }
        case 8:  // cancel: cross
            p.setPen(QPen(color, 2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(4, 4), QPointF(12, 12));
            p.drawLine(QPointF(12, 4), QPointF(4, 12));
            break;
        case 9: {  // refresh: two arrows circling
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::FlatCap));
            const QRectF ring(3.5, 3.5, 9, 9);
            p.drawArc(ring, 30 * 16, 150 * 16);
            p.drawArc(ring, 210 * 16, 150 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(color);
            triangle({12.5, 2.5}, {14.5, 7.5}, {10, 6.5});
            triangle({3.5, 13.5}, {1.5, 8.5}, {6, 9.5});
            break;
        }
        default:
            break;
    }
}

QPixmap Draw(int button, bool enabled) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, button >= 7);
    if (enabled) {
        DrawShape(p, button, Qt::black);
    } else {
        // The disabled picture: the shape in white one pixel down-right, grey on top (a relief).
        p.translate(1, 1);
        DrawShape(p, button, Qt::white);
        p.translate(-1, -1);
        DrawShape(p, button, QColor(128, 128, 128));
    }
    return pixmap;
}

}  // namespace

QPixmap NavigatorGlyph(int button, bool enabled) {
    static QHash<int, QPixmap> cache;
    const int key = button * 2 + (enabled ? 1 : 0);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, Draw(button, enabled));
    return *it;
}
