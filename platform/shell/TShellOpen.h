// The shell's "open" verb: a document is opened with the desktop's application for its type
// (QDesktopServices, xdg-open here). The caller looks at no result; any message comes from the desktop.
#pragma once

#include <QString>
#include <functional>

class QUrl;
class QWidget;

// Opens the document at a fixed Windows path (mapped to the host by HostPath), owned by `owner`.
void ShellOpen(QWidget* owner, const QString& windowsPath);

// Tests replace the desktop's opener to see what would be opened; an empty function restores it.
using TDesktopOpener = std::function<bool(const QUrl&)>;
void SetDesktopOpener(TDesktopOpener opener);
