// The application's error box: error icon, one "OK", the application title as caption,
// the message with a full stop added when its last character sorts after the full stop.
#pragma once

#include <QString>

class Exception;
class QMessageBox;

// The text the box shows for a message (the full-stop rule).
QString ErrorBoxText(const QString& message);
// Shows the box modally, centred on the screen, and returns when "OK" is pressed.
void ShowErrorBox(const QString& message);
void ShowException(const Exception& error);
// Runs a box modally, centred on the screen (also once a window manager has framed it).
int ExecCentred(QMessageBox& box);
