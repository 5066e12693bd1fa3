// The message box and the delete confirmation box: modal, centred on the screen. The error box is
// platform/forms' ShowErrorBox.
#pragma once

#include <QString>

// The application title as caption, the text, no icon, one "OK" that Enter and Esc press.
// Returns when the box is closed.
void ShowMessage(const QString& text);
// "Confirm", a question icon, "Delete record?", "OK" (the default) and "Cancel" (Esc). True only for "OK".
bool ConfirmDeleteRecord();
