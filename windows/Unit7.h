// TForm7, the order entry window: its window with caption and stored geometry.
// Relies on TForm (platform/forms) for the common window look and behaviour.
#pragma once

#include "TForm.h"

class TForm7 : public TForm {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
};

extern TForm7* Form7;
