// TForm15, the deletion window: its window with caption and stored geometry.
// Relies on TForm (platform/forms) for the common window look and behaviour.
#pragma once

#include "TForm.h"

class TForm15 : public TForm {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent = nullptr);
};

extern TForm15* Form15;
