// Answers modal boxes and windows for tests.
#include "TModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

QString Plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

QList<QAbstractButton*> ButtonsOf(QWidget* widget) {
    if (auto* box = qobject_cast<QMessageBox*>(widget))
        return box->buttons();
    QList<QAbstractButton*> buttons;
    for (QPushButton* b : widget->findChildren<QPushButton*>())
        if (b->isVisible())
            buttons.append(b);
    return buttons;
}

}  // namespace

TModalAnswerer::TModalAnswerer(QObject* parent) : QObject(parent) {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &TModalAnswerer::Poll);
    m_timer.start();
    qApp->installEventFilter(this);
}

bool TModalAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow()) {
            // Every showing of a window is answered once: a window shown modally again is new.
            m_answeredShowing.remove(widget);
            if (event->type() == QEvent::Show && widget->isModal())
                QTimer::singleShot(0, this, &TModalAnswerer::Poll);
        }
    }
    return QObject::eventFilter(watched, event);
}

TModalAnswerer::~TModalAnswerer() {
    qApp->removeEventFilter(this);
}

void TModalAnswerer::Press(const QString& buttonText) {
    const QString wanted = Plain(buttonText);
    m_answers.append([wanted](QWidget* w) {
        for (QAbstractButton* b : ButtonsOf(w)) {
            if (Plain(b->text()) == wanted) {
                b->click();
                return;
            }
        }
        qWarning("TModalAnswerer: no button \"%s\"; closing instead", qPrintable(wanted));
        w->close();
    });
}

void TModalAnswerer::Close() {
    m_answers.append([](QWidget* w) {
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
        else
            w->close();
    });
}

void TModalAnswerer::Key(int key) {
    m_answers.append([key](QWidget* w) {
        QWidget* target = w->focusWidget() ? w->focusWidget() : w;
        QTest::keyClick(target, Qt::Key(key));
    });
}

void TModalAnswerer::Run(std::function<void(QWidget*)> action) {
    m_answers.append(std::move(action));
}

QStringList TModalAnswerer::Texts() const {
    QStringList texts;
    for (const TSeenModal& seen : m_seen)
        texts.append(seen.Text);
    return texts;
}

bool TModalAnswerer::WaitAllAnswered(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!m_answers.isEmpty() && clock.elapsed() < milliseconds)
        QTest::qWait(10);
    return m_answers.isEmpty();
}

TSeenModal TModalAnswerer::Describe(QWidget* widget) {
    TSeenModal seen;
    seen.ClassName = QString::fromLatin1(widget->metaObject()->className());
    seen.Caption = widget->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        seen.Text = box->text();
        seen.Icon = box->icon();
    }
    for (QAbstractButton* b : ButtonsOf(widget))
        seen.Buttons.append(b->text());
    return seen;
}

void TModalAnswerer::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || m_answeredShowing.contains(modal))
        return;
    // Answer from the event loop, not from inside the poll, so the modal loop sees a normal event.
    QPointer<QWidget> target(modal);
    m_answeredShowing.insert(modal);
    m_seen.append(Describe(modal));
    std::function<void(QWidget*)> answer;
    if (!m_answers.isEmpty()) {
        answer = m_answers.takeFirst();
    } else {
        answer = [](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                QAbstractButton* b = box->defaultButton()
                                         ? static_cast<QAbstractButton*>(box->defaultButton())
                                         : box->escapeButton();
                if (b) {
                    b->click();
                    return;
                }
            }
            w->close();
        };
    }
    QTimer::singleShot(0, this, [target, answer] {
        if (target)
            answer(target);
    });
}
