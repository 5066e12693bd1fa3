// The form base class every window of the program derives from: the common look (font, face colour,
// sizeable frame with system menu and min/max boxes), the stored outer geometry, activation and close
// handlers, and modal showing. Relies on THandlerDispatch for every entry from Qt into handlers.
#pragma once

#include <QMargins>
#include <QRect>
#include <QVector>
#include <QWidget>
#include <functional>

#include "TLayoutRow.h"

class QEventLoop;

class TForm : public QWidget {
    Q_OBJECT
public:
    // Modal results; a modal window closed by Close() or its close box returns mrCancel.
    enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    // The stored geometry: position and OUTER size (frame included), pixels at 96 dpi.
    void SetBounds(int left, int top, int width, int height);
    QRect Bounds() const { return m_bounds; }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    QString Caption() const { return windowTitle(); }

    // Shows the window, brings it to the front and makes it the program's active window; the
    // activation handler runs when the window was not the active one already.
    void Show();
    void Hide() { hide(); }
    void BringToFront();
    // Asks CloseQuery, runs OnClose, then ends a modal state or hides the window; closing the
    // application's main form ends the message loop. Exceptions from OnClose reach the caller.
    void Close();
    // Shows the window modally and returns when it is closed (the steps are in TForm.cpp).
    int ShowModal();
    bool Modal() const { return m_modalLoop != nullptr; }

    // The window's component table as it was built: its own row first, then one per component.
    const QVector<TLayoutRow>& LayoutRows() const { return m_layoutRows; }
    QVector<TLayoutRow>& LayoutRows() { return m_layoutRows; }

    // Binds the controls that name the data module's components. The program entry calls it for every
    // window once all instances exist, since the module is created after the first windows.
    virtual void BindDataModule() {}

    std::function<void()> OnActivate;
    std::function<void()> OnClose;

    // The window that last became the program's active window (message boxes do not count).
    static TForm* ActiveForm() { return s_activeForm; }
    // The frame margins the window manager reported for any of our windows (none without one).
    static QMargins FrameMargins() { return s_frameMargins; }

protected:
    virtual bool CloseQuery() { return true; }
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void NoteActivated();
    void FitOuterSize();

    QRect m_bounds;
    QVector<TLayoutRow> m_layoutRows;
    bool m_frameFitted = false;
    QEventLoop* m_modalLoop = nullptr;
    int m_modalResult = mrNone;

    static TForm* s_activeForm;
    static QMargins s_frameMargins;
    static QList<TForm*> s_forms;
};
