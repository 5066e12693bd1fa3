// A horizontal progress bar whose position is held inside its range: a value written above the
// maximum reads back as the maximum (QProgressBar alone would ignore it and keep the old value).
#pragma once

#include <QProgressBar>

class TProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit TProgressBar(QWidget* parent = nullptr);

    int Position() const { return value(); }
    void SetPosition(int position);
    void SetRange(int min, int max);
};
