// The progress bar.
#include "TProgressBar.h"

TProgressBar::TProgressBar(QWidget* parent) : QProgressBar(parent) {
    setOrientation(Qt::Horizontal);
    setTextVisible(false);
    QProgressBar::setRange(0, 100);
    setValue(0);
}

void TProgressBar::SetPosition(int position) {
    setValue(qBound(minimum(), position, maximum()));
}

void TProgressBar::SetRange(int min, int max) {
    QProgressBar::setRange(min, max);
    SetPosition(value());
}
