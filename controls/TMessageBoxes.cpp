// The message and confirmation boxes, built on QMessageBox. Relies on TApplicationTitle for the caption.
#include "TMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "TApplicationTitle.h"

namespace {

int RunCentred(QMessageBox& box) {
    // The box settles its size only once shown (long texts wrap then), so it is centred after.
    QTimer::singleShot(0, &box, [&box] {
        if (QScreen* screen = box.screen())
            box.move(screen->availableGeometry().center() -
                     QRect(QPoint(), box.frameGeometry().size()).center());
    });
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

}  // namespace

void ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    RunCentred(box);
}

bool ConfirmDeleteRecord() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("Delete record?"));
    box.setObjectName(QStringLiteral("ConfirmBox"));
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    RunCentred(box);
    // The close box answers as Esc does.
    return box.clickedButton() == ok;
}
