// TForm11, the About window: the program's purpose in a word-wrapped label and the tick button that
// closes it. Relies on the window toolkit for its controls.
#pragma once

#include "TForm.h"

class QLabel;
class TBitBtn;

class TForm11 : public TForm {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    void BitBtn1Click();

    QLabel* Label1;
    TBitBtn* BitBtn1;
};

extern TForm11* Form11;
