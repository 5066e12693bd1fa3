// The form base class: look, stored geometry, activation, closing and modal showing.
// Relies on THandlerDispatch (handlers never throw into Qt) and TApplication (the main form).
#include "TForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>

#include "Exception.h"
#include "TFormAccessible.h"
#include "TApplication.h"
#include "THandlerDispatch.h"
#include "TWindowFont.h"

TForm* TForm::s_activeForm = nullptr;
QMargins TForm::s_frameMargins;
QList<TForm*> TForm::s_forms;

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    // A sizeable top-level window with title bar, system menu, minimise, maximise and close boxes.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    // The face colour of buttons as the window's colour.
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    s_forms.append(this);
    InstallFormAccessibility();
}

TForm::~TForm() {
    s_forms.removeAll(this);
    if (s_activeForm == this)
        s_activeForm = nullptr;
    if (m_modalLoop)
        m_modalLoop->exit();
}

void TForm::SetBounds(int left, int top, int width, int height) {
    m_bounds = QRect(left, top, width, height);
    m_frameFitted = false;
    // QWidget::move places the frame's top-left corner; resize sets the client size, which is the
    // outer size less the frame the window manager draws (known once it reported one).
    move(left, top);
    resize(qMax(1, width - s_frameMargins.left() - s_frameMargins.right()),
           qMax(1, height - s_frameMargins.top() - s_frameMargins.bottom()));
}

void TForm::FitOuterSize() {
    if (m_frameFitted || !isVisible() || m_bounds.isNull())
        return;
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    if (margins.isNull())
        return;  // no frame reported (yet); without a window manager the outer size is the client size
    m_frameFitted = true;
    s_frameMargins = margins;
    const QSize wanted(qMax(1, m_bounds.width() - margins.left() - margins.right()),
                       qMax(1, m_bounds.height() - margins.top() - margins.bottom()));
    if (size() != wanted)
        resize(wanted);
}

void TForm::Show() {
    show();
    BringToFront();
    NoteActivated();
}

void TForm::BringToFront() {
    raise();
    activateWindow();
}

void TForm::NoteActivated() {
    // Only a change of the active window among our own counts: coming back from a message box or
    // from another program is not an activation, and a modal window's caller gets its activation
    // back silently (ShowModal).
    if (s_activeForm == this)
        return;
    s_activeForm = this;
    if (OnActivate)
        Dispatch(OnActivate);
}

bool TForm::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            FitOuterSize();
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void TForm::closeEvent(QCloseEvent* event) {
    // The close box: the same as Close(), with the hiding done there.
    event->ignore();
    Dispatch([this] { Close(); });
}

void TForm::Close() {
    if (!CloseQuery())
        return;
    if (OnClose)
        OnClose();
    if (m_modalLoop) {
        m_modalResult = mrCancel;
        m_modalLoop->exit();
        return;  // ShowModal hides the window and gives the activation back
    }
    hide();
    if (Application && Application->MainForm() == this)
        Application->Terminate();
}

// Opening a window modally:
//  1. a window already visible cannot be made modal;
//  2. every other visible window is disabled, the window is shown, becomes active, and its
//     activation handler runs;
//  3. a nested loop runs, which goes on dispatching timer ticks and other windows' messages;
//  4. Close() (a handler or the close box) ends it with mrCancel;
//  5. the window is hidden, the windows disabled in 2 are enabled again and the window active before
//     becomes active again, without its activation handler running.
int TForm::ShowModal() {
    if (isVisible())
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));

    const QPointer<TForm> previous = s_activeForm;
    const QPointer<QWidget> previousWindow = QApplication::activeWindow();
    // Disabling a window takes the focus from its controls; each one's focused control is noted so
    // the user comes back to where they were typing.
    QList<QPointer<TForm>> disabled;
    QList<QPointer<QWidget>> focused;
    for (TForm* form : qAsConst(s_forms)) {
        if (form != this && form->isVisible() && form->isEnabled()) {
            focused.append(form->focusWidget());
            form->setEnabled(false);
            disabled.append(form);
        }
    }

    QEventLoop loop;
    m_modalLoop = &loop;
    m_modalResult = mrNone;
    setWindowModality(Qt::ApplicationModal);
    Show();
    // The activation handler may already have closed the window.
    if (m_modalResult == mrNone && isVisible())
        loop.exec(QEventLoop::DialogExec);
    m_modalLoop = nullptr;

    hide();
    setWindowModality(Qt::NonModal);
    for (int i = 0; i < disabled.size(); ++i) {
        if (!disabled[i])
            continue;
        disabled[i]->setEnabled(true);
        if (focused[i] && focused[i]->isVisible())
            focused[i]->setFocus(Qt::OtherFocusReason);
    }
    s_activeForm = previous;
    if (previous && previous->isVisible())
        previous->BringToFront();
    else if (previousWindow && previousWindow->isVisible())
        previousWindow->activateWindow();
    return m_modalResult == mrNone ? int(mrCancel) : m_modalResult;
}
