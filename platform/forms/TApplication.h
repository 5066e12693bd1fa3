// The application object, one per program: creates the program's instances in order, owns them,
// destroys them in reverse, runs the message loop and knows the main form (the first window created).
// Relies on a QApplication existing before it, and on TErrorBox for the "Application Error" box.
#pragma once

#include <QObject>
#include <QString>
#include <QVector>
#include <exception>
#include <functional>

class TForm;

class TApplication : public QObject {
    Q_OBJECT
public:
    TApplication();
    ~TApplication() override;

    // COM for the main thread has no counterpart here: nothing to initialise. Registers the font
    // substitute so that "MS Sans Serif" gets a face with Cyrillic letters on every machine.
    void Initialize();

    // Creates one instance (a window or the data module), hidden, sets the program-wide global
    // and takes ownership. A failure stops creation: the instances after it are not created, and
    // Run() shows no window and returns 1.
    template <class T>
    void CreateForm(T*& reference) {
        if (m_creationFailed)
            return;
        try {
            T* instance = new T(nullptr);
            reference = instance;
            Adopt(instance, [&reference] { reference = nullptr; });
        } catch (...) {
            CreationFailed(std::current_exception());
        }
    }

    // A further step of the creation (binding windows to the data module): skipped after a failure,
    // and a failure in it counts as a creation failure.
    void CreationStep(const std::function<void()>& step);

    TForm* MainForm() const { return m_mainForm; }
    QString Title() const;
    // The instances in creation order.
    QVector<QObject*> Instances() const;
    bool CreationFailedFlag() const { return m_creationFailed; }

    // Shows the main form and dispatches messages until Terminate(); destroys the instances, the
    // last created first. Returns the program's exit code: 0, or 1 after a creation failure.
    int Run();
    // The loop stops after the current message.
    void Terminate();
    bool Terminated() const { return m_terminated; }
    // Destroys the instances in reverse order of creation and clears their globals.
    void DestroyInstances();

    // The text of the "Application Error" box for an exception: its kind, then its message.
    static QString ApplicationErrorText(std::exception_ptr error);

private:
    struct TOwned {
        QObject* Instance;
        std::function<void()> ClearGlobal;
    };
    void Adopt(QObject* instance, std::function<void()> clearGlobal);
    void CreationFailed(std::exception_ptr error);

    QVector<TOwned> m_owned;
    TForm* m_mainForm = nullptr;
    bool m_creationFailed = false;
    bool m_terminated = false;
    bool m_looping = false;
};

// The program's one application object.
extern TApplication* Application;
