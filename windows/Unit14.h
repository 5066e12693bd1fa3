// TForm14, the ware picker for order lines: its window with caption and stored geometry.
// Relies on TForm (platform/forms) for the common window look and behaviour.
#pragma once

#include "TForm.h"

class TForm14 : public TForm {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);
};

extern TForm14* Form14;
