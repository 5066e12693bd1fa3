// The application's error box.
#include "TErrorBox.h"

#include <QApplication>
#include <QEvent>
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

namespace {

class TCentring : public QObject {
public:
    explicit TCentring(QWidget* box) : m_box(box) {
        box->installEventFilter(this);
        QTimer::singleShot(0, this, [this] { Centre(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (!m_framed && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            m_box->frameGeometry() != m_box->geometry()) {
            m_framed = true;
            Centre();
        }
        return false;
    }

private:
    void Centre() {
        if (QScreen* screen = m_box->screen())
            m_box->move(screen->availableGeometry().center() -
                        QRect(QPoint(), m_box->frameGeometry().size()).center());
    }

    QWidget* m_box;
    bool m_framed = false;
};

}  // namespace

void ShowErrorBox(const QString& message) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(message), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    ExecCentred(box);
}

int ExecCentred(QMessageBox& box) {
    // Centred once it is up: the box settles its size (wrapping long messages) only when it is
    // shown, and a window manager adds its frame only after that, so it is centred again once the
    // frame is known; later moves are the user's.
    TCentring centring(&box);
    return box.exec();
}

void ShowException(const Exception& error) {
    ShowErrorBox(error.Message());
}
