// TForm11, the About window: its window with caption and stored geometry.
// Relies on TForm (platform/forms) for the common window look and behaviour.
#pragma once

#include "TForm.h"

class TForm11 : public TForm {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);
};

extern TForm11* Form11;
