// TForm1, the splash window and the application's main form: a stretched picture, a progress bar
// driven through five stages by Timer1, and the hand-over to the main window Form2.
// Relies on Form2 (Unit2) and Form4 (windows/Unit4) for the hand-over, platform/jpeg for the picture.
#pragma once

#include "TForm.h"

class TImage;
class TProgressBar;
class TTimer;

// The splash's stage, 0.0 (none) until the first activation, then 1.0 ... 5.0; always compared for
// exact equality with a whole number, which a double holds exactly.
extern double SplashStage;

class TForm1 : public TForm {
    Q_OBJECT
public:
    // Decodes the picture; a picture that does not decode is an error (EJpegError).
    explicit TForm1(QWidget* parent = nullptr);

    TImage* Image1;
    TProgressBar* ProgressBar1;
    TTimer* Timer1;

    void FormActivate();
    void Timer1Timer();

    // Where the picture is embedded.
    static const char* const PicturePath;
};

extern TForm1* Form1;
