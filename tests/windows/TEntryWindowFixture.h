// The whole program on a fresh demo database for the entry windows' tests: the main window unlocked,
// an entry window opened through the main window's control with the test's steps run while it is up,
// pickers answered by moving their data set's current row, and the database read back through the
// running program's own connection, as another program would see it. Relies on TRunningProgram.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

#include "TRunningProgram.h"

class QAbstractButton;
class QAction;
class QLineEdit;
class TDataSet;

class TEntryWindowFixture {
public:
    TEntryWindowFixture();
    ~TEntryWindowFixture();

    // Runs the statements on the database, then starts the program and unlocks the main window.
    // False when a step failed (the QtTest failure is recorded).
    bool Start(const QStringList& before = {});

    // Clicks opener (a control of the main window) and runs steps while the modal window it opens is
    // shown, then closes that window: with closer (a button of the window) when given, else with its
    // close box. Returns the window that opened; a closer that leaves it up fails the test.
    QWidget* WhileOpen(QAbstractButton* opener, const std::function<void()>& steps,
                       QAbstractButton* closer = nullptr);
    QWidget* WhileOpen(QAction* opener, const std::function<void()>& steps,
                       QAbstractButton* closer = nullptr);
    // A picker choice as test cases give it: the picker not used, opened and closed without a move, or
    // the key of the row moved to.
    static QVariant NotUsed() { return {}; }
    static QVariant NoMove() { return QStringLiteral("no move"); }
    // Clicks a picker's button unless the choice is NotUsed(); while the picker is up, moves its data set
    // to the row whose column equals the choice, then closes it. Returns the picker's class ("TForm5").
    QString Pick(QAbstractButton* button, TDataSet* dataSet, const QString& column, const QVariant& choice);
    // The same with the picker's data set moved by rows from where it stands (0: closed without a move).
    QString PickMoved(QAbstractButton* button, TDataSet* dataSet, int rows);
    // Types text into an edit as keystrokes, after the text it holds.
    static void Type(QLineEdit* edit, const QString& text);

    TRunningProgram& Program() { return *m_program; }
    QVariant Scalar(const QString& sql) { return m_program->Scalar(sql); }
    int Count(const QString& tableAndCondition) { return m_program->Count(tableAndCondition); }
    QStringList Row(const QString& sql) { return m_program->Row(sql); }
    void Execute(const QString& sql) { m_program->Execute(sql); }
    TModalAnswerer& Boxes() { return m_program->Boxes; }
    // The modal windows and boxes seen since the last call, in order: a window's class ("TForm14"),
    // "message: <text>", or "error" for the error box, whose text LastError() keeps.
    QStringList TakeBoxes();
    // The same for message boxes alone, the windows left out.
    QStringList TakeMessages();
    QString LastError() const { return m_lastError; }

private:
    QWidget* WhileOpenedBy(const std::function<void()>& open, const std::function<void()>& steps,
                           QAbstractButton* closer);
    QString Picked(QAbstractButton* button, const std::function<void()>& move);

    std::unique_ptr<TRunningProgram> m_program;
    QString m_lastError;
};
