// TForm1, the splash window: layout, FormActivate and the splash step Timer1Timer.
#include "Unit1.h"

#include <QCalendarWidget>
#include <QDate>

#include "TFormBuilder.h"
#include "TImage.h"
#include "TJPEGImage.h"
#include "TProgressBar.h"
#include "TTimer.h"
#include "Unit2.h"
#include "Unit4.h"

TForm1* Form1 = nullptr;
double SplashStage = 0.0;

const char* const TForm1::PicturePath = ":/splash/Image1.jpg";

TForm1::TForm1(QWidget* parent) : TForm(parent) {
    TFormBuilder make(this);
    make.Window("Form1", QStringLiteral("База данных"), {313, 239, 723, 451});
    OnActivate = [this] { FormActivate(); };

    Image1 = make.Image(this, "Image1", {0, 0, 715, 423}, true, true);
    TJPEGImage picture;
    picture.LoadFromFile(QString::fromLatin1(PicturePath));
    Image1->SetPicture(picture.Image());

    // Created after the picture, so it lies above it; it keeps its place when the window is resized.
    ProgressBar1 = make.ProgressBar(this, "ProgressBar1", {256, 232, 193, 33}, 0, 100);
    ProgressBar1->raise();
    setTabOrder(ProgressBar1, ProgressBar1);

    // Enabled at 1000 ms from creation; its ticks do nothing until the first activation.
    Timer1 = new TTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->OnTimer = [this] { Timer1Timer(); };
}

void TForm1::FormActivate() {
    SplashStage = 1.0;
    Timer1->SetInterval(10);
    Timer1->SetEnabled(true);
}

// One step of the splash. The five stage tests run one after the other in the same tick, so the tick
// that ends a stage also makes the first step of the next.
void TForm1::Timer1Timer() {
    if (SplashStage == 1) {
        ProgressBar1->SetPosition(ProgressBar1->Position() + 10);
        if (ProgressBar1->Position() == 100) {
            ProgressBar1->SetPosition(0);
            SplashStage = 2;
        }
    }
    if (SplashStage == 2) {
        ProgressBar1->SetPosition(ProgressBar1->Position() + 30);
        if (ProgressBar1->Position() == 90) {
            ProgressBar1->SetPosition(0);
            SplashStage = 3;
        }
    }
    if (SplashStage == 3) {
        ProgressBar1->SetPosition(ProgressBar1->Position() + 2);
        if (ProgressBar1->Position() == 90) {
            ProgressBar1->SetPosition(0);
            SplashStage = 4;
        }
    }
    if (SplashStage == 4) {
        ProgressBar1->SetPosition(ProgressBar1->Position() + 1);
        if (ProgressBar1->Position() == 90) {
            ProgressBar1->SetPosition(0);
            SplashStage = 5;
        }
    }
    if (SplashStage == 5) {
        ProgressBar1->SetPosition(ProgressBar1->Position() + 5);
        if (ProgressBar1->Position() == 100)
            Timer1->SetEnabled(false);
        // The hand-over, on every tick of stage 5.
        Form2->Show();
        Form2->BringToFront();
        Form2->MonthCalendar1->setSelectedDate(QDate::currentDate());
        Form4->MonthCalendar1->setSelectedDate(QDate::currentDate());
        Form1->Hide();
    }
}
