// The window font.
#include "TWindowFont.h"

#include <QFont>

QFont WindowFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}
