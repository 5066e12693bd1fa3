// The tick glyph: a green tick with a dark edge on an olive ground; the ground is the lower-left
// pixel's colour, which buttons draw transparent.
#include "TTickGlyph.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The 16 colours of a 4-bit Windows bitmap, in their usual order.
const QRgb kPalette[16] = {0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080,
                           0xff008080, 0xff808080, 0xffc0c0c0, 0xffff0000, 0xff00ff00, 0xffffff00,
                           0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};
constexpr int kGround = 3;  // olive
constexpr int kTick = 2;    // green
constexpr int kLight = 10;  // lime
constexpr int kEdge = 0;    // black

QImage MakeBitmap() {
    QImage image(75, 35, QImage::Format_Indexed8);
    image.setColorCount(16);
    for (int i = 0; i < 16; ++i)
        image.setColor(i, kPalette[i]);
    image.fill(kGround);
    // The tick's two strokes, drawn in a colour image and mapped back to the palette: a short one
    // down to the right, a long one up to the right, a pixel of dark edge around them.
    QImage rgb(75, 35, QImage::Format_RGB32);
    rgb.fill(kPalette[kGround]);
    {
        QPainter p(&rgb);
        QPainterPath path;
        path.moveTo(27, 17);
        path.lineTo(34, 25);
        path.lineTo(49, 9);
        p.setPen(QPen(QColor(kPalette[kEdge]), 7, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPath(path);
        p.setPen(QPen(QColor(kPalette[kTick]), 5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPath(path);
        p.setPen(QPen(QColor(kPalette[kLight]), 1));
        p.drawLine(27, 16, 34, 24);
        p.drawLine(34, 24, 49, 8);
    }
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 75; ++x) {
            const QRgb c = rgb.pixel(x, y);
            int index = kGround;
            for (int i = 0; i < 16; ++i)
                if (kPalette[i] == c)
                    index = i;
            image.setPixel(x, y, uint(index));
        }
    return image;
}

}  // namespace

const QImage& TickGlyphBitmap() {
    static const QImage bitmap = MakeBitmap();
    return bitmap;
}

const QPixmap& TickGlyph() {
    static const QPixmap pixmap = [] {
        const QImage& bitmap = TickGlyphBitmap();
        QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
        const QRgb transparent = bitmap.pixel(0, bitmap.height() - 1);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == transparent)
                    image.setPixel(x, y, qRgba(0, 0, 0, 0));
        return QPixmap::fromImage(image);
    }();
    return pixmap;
}
