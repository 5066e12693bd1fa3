// TForm13, the delivery periods list: its window with caption and stored geometry.
// Relies on TForm (platform/forms) for the common window look and behaviour.
#pragma once

#include "TForm.h"

class TForm13 : public TForm {
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);
};

extern TForm13* Form13;
