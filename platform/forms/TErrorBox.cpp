// The application's error box.
#include "TErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "Exception.h"
#include "TApplicationTitle.h"

QString ErrorBoxText(const QString& message) {
    // Letters and digits sort after '.', so "Disk full" becomes "Disk full." while a message
    // ending in '.', '"' or ')' stands as it is.
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

void ShowErrorBox(const QString& message) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(message), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    // Centred on the screen once it is up: the box settles its size (wrapping long messages) only
    // when it is shown, so a position computed before would leave it off centre.
    QTimer::singleShot(0, &box, [&box] {
        if (QScreen* screen = box.screen())
            box.move(screen->availableGeometry().center() -
                     QRect(QPoint(), box.frameGeometry().size()).center());
    });
    box.exec();
}

void ShowException(const Exception& error) {
    ShowErrorBox(error.Message());
}
