// Answers modal boxes and windows from a timer while a test drives the program, and records
// what each one said. Queue answers first, then run the code that opens the boxes:
//
//   TModalAnswerer answer;
//   answer.Press("OK");               // the next modal widget: click its "OK" button
//   answer.Close();                   // the one after: close it with its close box
//   QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
//   QCOMPARE(answer.Seen().at(0).Text, QString("Не правильный пароль!"));
//
// With no answer queued, a modal box is answered by pressing its default (or escape) button so a
// test never hangs; such boxes are recorded too, so a test can assert that none appeared.
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <functional>

class QWidget;

struct TSeenModal {
    QString ClassName;    // "QMessageBox", "TForm7", ...
    QString Caption;      // window title
    QString Text;         // a message box's text; empty for other windows
    QStringList Buttons;  // the texts of its push buttons, in layout order
    int Icon = 0;         // QMessageBox::Icon for message boxes
};

class TModalAnswerer : public QObject {
    Q_OBJECT
public:
    explicit TModalAnswerer(QObject* parent = nullptr);
    ~TModalAnswerer() override;

    // Queue an answer for the next modal widget to appear.
    void Press(const QString& buttonText);  // click the push button with this text (& ignored)
    void Close();                           // close the window as its close box would
    void Key(int key);                      // send a key press to the widget with the focus
    void Run(
        std::function<void(QWidget*)> action);  // do anything with it (the action must end the modal state)

    const QVector<TSeenModal>& Seen() const { return m_seen; }
    QStringList Texts() const;  // Text of every seen modal, in order
    void ClearSeen() { m_seen.clear(); }
    int Pending() const { return m_answers.size(); }

    // Spins the event loop until the queue is empty or the time is up; false on time-out.
    bool WaitAllAnswered(int milliseconds = 5000);

    static TSeenModal Describe(QWidget* widget);

protected:
    // A modal window is looked at as soon as it is shown, so short-lived ones (a status window)
    // are seen and answered too, not only those still up at the next timer tick.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Poll();

    QTimer m_timer;
    QVector<std::function<void(QWidget*)>> m_answers;
    QVector<TSeenModal> m_seen;
    QSet<QWidget*> m_answeredShowing;  // windows answered in their present showing
};
