// A manual harness for looking at the controls under a real X server (not a test):
//   look grid | navigator | message | confirm | error [seconds]
// shows a window with a grid in editing, navigators enabled and disabled, a field label, a labelled
// edit and a tick button, and, for the box arguments, that box over it.
#include <QApplication>
#include <QTimer>

#include "TBitBtn.h"
#include "TControlsFixture.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TDBText.h"
#include "TDataSet.h"
#include "TErrorBox.h"
#include "TField.h"
#include "TLabeledEdit.h"
#include "TMessageBoxes.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("grid");
    TControlsFixture f;
    QWidget& w = *f.Window;
    w.setWindowTitle(QStringLiteral("Скидки"));
    w.setGeometry(100, 100, 520, 420);
    w.setBackgroundRole(QPalette::Button);
    w.setAutoFillBackground(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    w.setFont(font);
    auto* grid = new TDBGrid(&w);
    grid->setGeometry(8, 8, 300, 200);
    grid->SetDataSource(f.Source);
    auto* nav = new TDBNavigator(&w);
    nav->SetBounds(8, 216, 240, 25);
    nav->SetDataSource(f.Source);
    auto* off = new TDBNavigator(&w);
    off->SetBounds(8, 248, 240, 25);
    auto* label = new TDBText(&w);
    label->setObjectName(QStringLiteral("DBText1"));
    label->SetBounds(320, 8, 120, 17);
    label->SetColor(Qt::white);
    label->SetDataField(QStringLiteral("percent"));
    label->SetDataSource(f.Source);
    auto* edit = new TLabeledEdit(&w);
    edit->SetBounds(320, 60, 121, 21);
    edit->SetLabelCaption(QStringLiteral("Процент скидки"));
    edit->SetText(QStringLiteral("O'Brien & Co"));
    auto* tick = new TBitBtn(&w);
    tick->SetBounds(320, 100, 75, 35);
    f.Table->Open();
    f.Table->MoveBy(2);
    w.show();
    grid->setFocus();
    if (what == QLatin1String("grid")) {
        // Editing the current row: the indicator shows the I-beam, the editor is open.
        f.Table->Edit();
        f.Table->FieldByName(QStringLiteral("percent"))->SetAsString(QStringLiteral("6"));
    } else if (what == QLatin1String("insert")) {
        f.Table->Insert();
    }
    QTimer::singleShot(300, [what] {
        if (what == QLatin1String("message"))
            ShowMessage(QStringLiteral("Запись добавлена"));
        else if (what == QLatin1String("confirm"))
            ConfirmDeleteRecord();
        else if (what == QLatin1String("error"))
            ShowErrorBox(QStringLiteral("CHECK constraint failed: percent BETWEEN 0 AND 100"));
    });
    // Four seconds for a screenshot; longer to try the keys by hand.
    const int seconds = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 4;
    QTimer::singleShot(qMax(1, seconds) * 1000, &app, &QApplication::quit);
    return app.exec();
}
