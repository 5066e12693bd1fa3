// The tick button: a 75 x 35 push button showing the shared tick glyph and no text. It is never the
// default or cancel button of its window, so Enter or Esc pressed elsewhere do not press it. One
// without its glyph is a plain captioned button with the same manners (the add window's "Отмена").
#pragma once

#include <QIcon>
#include <QPushButton>

class TBitBtn : public QPushButton {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 75;
    static constexpr int DefaultHeight = 35;

    explicit TBitBtn(QWidget* parent = nullptr);
    void ClearGlyph() { setIcon(QIcon()); }
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }
};
