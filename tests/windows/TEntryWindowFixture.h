// The whole program on a fresh demo database for the entry windows' tests: the main window unlocked,
// an entry window opened through the main window's control with the test's steps run while it is up,
// pickers answered by moving their data set's current row, and the database read back through a
// connection of its own, as another program would see it. Relies on TRunningProgram and TModalAnswerer.
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
class TDbConnection;

class TEntryWindowFixture {
public:
    TEntryWindowFixture();
    ~TEntryWindowFixture();

    // Runs the statements on the database, then starts the program and unlocks the main window.
    // False when a step failed (the QtTest failure is recorded).
    bool Start(const QStringList& before = {});

    // Clicks opener (a control of the main window) and runs steps while the modal window it opens is
    // shown, then closes that window with its close box.
    void WhileOpen(QAbstractButton* opener, const std::function<void()>& steps);
    void WhileOpen(QAction* opener, const std::function<void()>& steps);
    // A picker choice as test cases give it: the picker not used, opened and closed without a move, or
    // the key of the row moved to.
    static QVariant NotUsed() { return {}; }
    static QVariant NoMove() { return QStringLiteral("no move"); }
    // Clicks a picker's button unless the choice is NotUsed(); while the picker is up, moves its data set
    // to the row whose column equals the choice, then closes it.
    void Pick(QAbstractButton* button, TDataSet* dataSet, const QString& column, const QVariant& choice);
    // Types text into an edit as keystrokes, after the text it holds.
    static void Type(QLineEdit* edit, const QString& text);

    QVariant Scalar(const QString& sql);
    int Count(const QString& tableAndCondition);
    void Execute(const QString& sql);
    TModalAnswerer& Boxes() { return m_program->Boxes; }
    // The modal windows and boxes seen since the last call, in order: a window's class ("TForm14"),
    // "message: <text>", or "error" for the error box, whose text LastError() keeps.
    QStringList TakeBoxes();
    QString LastError() const { return m_lastError; }

private:
    TDbConnection& Db();
    void WhileOpenedBy(const std::function<void()>& open, const std::function<void()>& steps);

    std::unique_ptr<TRunningProgram> m_program;
    std::unique_ptr<TDbConnection> m_db;
    QString m_lastError;
};
