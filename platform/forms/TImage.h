// A picture control. With Stretch the picture is scaled to the control's size in both directions,
// ignoring its aspect ratio; with AlignClient the control fills its parent and follows every resize.
#pragma once

#include <QImage>
#include <QWidget>

class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return m_picture; }
    void SetStretch(bool stretch);
    bool Stretch() const { return m_stretch; }
    void SetAlignClient(bool alignClient);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage m_picture;
    bool m_stretch = false;
    bool m_alignClient = false;
};
