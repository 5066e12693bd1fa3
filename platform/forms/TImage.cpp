// The picture control; painting and parent-following only, so nothing here can throw into Qt.
#include "TImage.h"

#include <QEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void TImage::SetStretch(bool stretch) {
    m_stretch = stretch;
    update();
}

void TImage::SetAlignClient(bool alignClient) {
    m_alignClient = alignClient;
    if (QWidget* parent = parentWidget()) {
        if (alignClient) {
            parent->installEventFilter(this);
            setGeometry(parent->rect());
        } else {
            parent->removeEventFilter(this);
        }
    }
}

bool TImage::eventFilter(QObject* watched, QEvent* event) {
    if (m_alignClient && watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void TImage::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_stretch)
        painter.drawImage(rect(), m_picture);
    else
        painter.drawImage(QPoint(0, 0), m_picture);
}
