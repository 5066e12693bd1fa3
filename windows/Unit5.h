// TForm5, the ware picker: its window with caption and stored geometry.
// Relies on TForm (platform/forms) for the common window look and behaviour.
#pragma once

#include "TForm.h"

class TForm5 : public TForm {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};

extern TForm5* Form5;
