// TForm12, the supplier information list: its window with caption and stored geometry.
// Relies on TForm (platform/forms) for the common window look and behaviour.
#pragma once

#include "TForm.h"

class TForm12 : public TForm {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);
};

extern TForm12* Form12;
