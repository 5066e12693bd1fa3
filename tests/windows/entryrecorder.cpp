// A child process for the killed-program test: the whole program on the database of XDG_DATA_HOME,
// unlocked, recording sales ("sale") or orders ("order") through the entry windows' real handlers,
// one header and three lines per opening, until it is killed. It reports every row the database has
// taken on standard output, so the test knows what must survive; a refusal ends it with exit code 2.
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

#include "ProgramInstances.h"
#include "TApplication.h"
#include "TBitBtn.h"
#include "TLabeledEdit.h"
#include "TModalAnswerer.h"
#include "Unit2.h"
#include "Unit7.h"
#include "Unit9.h"

namespace {

// Enough to outlast any test's patience; a run that ends by itself was not killed and fails the test.
constexpr int kOpenings = 100000;
constexpr int kLinesPerOpening = 3;

void Report(const char* what) {
    std::fputs(what, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Refused(const char* what) {
    std::fprintf(stderr, "%s was refused\n", what);
    std::exit(2);
}

void RecordSale() {
    Form9->BitBtn1->click();
    if (Form9->GroupBox2->isHidden())
        Refused("a sale header");
    Report("header");
    for (int i = 0; i < kLinesPerOpening; ++i) {
        Form9->LabeledEdit1->SetText(QStringLiteral("2"));
        Form9->BitBtn2->click();  // its message is answered by the box answerer
        if (!Form9->LabeledEdit1->Text().isEmpty())
            Refused("a sale line");
        Report("line");
    }
}

void RecordOrder() {
    // The header writes a blank into the quantity; a refused one leaves the marker.
    Form7->LabeledEdit1->SetText(QStringLiteral("x"));
    Form7->BitBtn1->click();
    if (Form7->LabeledEdit1->Text() != QLatin1String(" "))
        Refused("an order header");
    Report("header");
    for (int i = 0; i < kLinesPerOpening; ++i) {
        Form7->LabeledEdit1->SetText(QStringLiteral("3"));
        Form7->BitBtn2->click();
        if (Form7->LabeledEdit1->Text() != QLatin1String(" "))
            Refused("an order line");
        Report("line");
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    const bool sales = argc > 1 && qstrcmp(argv[1], "sale") == 0;
    TApplication application;
    application.Initialize();
    TModalAnswerer answer;  // every message box: its default button
    CreateProgramInstances(&application);
    if (application.CreationFailedFlag())
        return 1;
    Form2->Show();
    Form2->LabeledEdit1->SetText(QStringLiteral("047"));
    Form2->BitBtn1->click();
    for (int opening = 0; opening < kOpenings; ++opening) {
        answer.Run([sales](QWidget* window) {
            sales ? RecordSale() : RecordOrder();
            window->close();
        });
        (sales ? Form2->Button3 : Form2->Button2)->click();
    }
    return 0;
}
