// TForm6, the supplier picker: its window with caption and stored geometry.
// Relies on TForm (platform/forms) for the common window look and behaviour.
#pragma once

#include "TForm.h"

class TForm6 : public TForm {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
};

extern TForm6* Form6;
