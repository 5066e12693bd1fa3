// The application's error box.
#include "TErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

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
    box.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    box.exec();
}

void ShowException(const Exception& error) {
    ShowErrorBox(error.Message());
}
