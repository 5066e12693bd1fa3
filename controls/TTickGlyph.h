// The tick glyph that every tick button carries: one 75 x 35, 16-colour bitmap, made once and shared.
#pragma once

class QImage;
class QPixmap;

// The bitmap itself: 16 colours (an indexed image with a 16-entry colour table).
const QImage& TickGlyphBitmap();
// The picture drawn on a button: the bitmap with the colour of its lower-left pixel transparent.
const QPixmap& TickGlyph();
