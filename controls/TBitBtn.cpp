// The tick button. Relies on TTickGlyph for its one shared picture.
#include "TBitBtn.h"

#include <QIcon>
#include <QPixmap>

#include "TTickGlyph.h"

TBitBtn::TBitBtn(QWidget* parent) : QPushButton(parent) {
    resize(DefaultWidth, DefaultHeight);
    const QPixmap& glyph = TickGlyph();
    setIcon(QIcon(glyph));
    setIconSize(glyph.size() - QSize(6, 6));
    setAutoDefault(false);
    setDefault(false);
}
