// The shell's "open" verb over QDesktopServices.
#include "TShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

#include "THostPath.h"

namespace {

TDesktopOpener& Opener() {
    static TDesktopOpener opener;
    return opener;
}

}  // namespace

void SetDesktopOpener(TDesktopOpener opener) {
    Opener() = std::move(opener);
}

void ShellOpen(QWidget* owner, const QString& windowsPath) {
    // The desktop has no notion of an owner window for a launched application; the owner is kept
    // in the signature so callers state it as the program means it.
    Q_UNUSED(owner);
    const QUrl url = QUrl::fromLocalFile(HostPath(windowsPath));
    if (Opener())
        Opener()(url);
    else
        QDesktopServices::openUrl(url);
}
