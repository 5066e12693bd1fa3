// The application object: instance ownership, creation failures, the message loop and shutdown.
// Relies on TForm (main form, showing) and TErrorBox (the message box).
#include "TApplication.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

#include "Exception.h"
#include "TApplicationTitle.h"
#include "TErrorBox.h"
#include "TForm.h"

TApplication* Application = nullptr;

namespace {

QString Demangled(const char* name) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> plain(abi::__cxa_demangle(name, nullptr, nullptr, &status),
                                                 std::free);
    return QString::fromLatin1(status == 0 && plain ? plain.get() : name);
}

}  // namespace

TApplication::TApplication() {
    Q_ASSERT_X(qApp, "TApplication", "the QApplication is created first");
    Q_ASSERT_X(!Application, "TApplication", "one application object per program");
    Application = this;
    // Hiding windows must not end the program; only closing the main form does.
    QApplication::setQuitOnLastWindowClosed(false);
}

TApplication::~TApplication() {
    DestroyInstances();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize() {
    // Liberation Sans has the narrow metrics the stored control sizes were laid out for (DejaVu Sans
    // is about a tenth wider and cuts captions such as "По наименованию"); DejaVu Sans stands in
    // where it is missing.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QString TApplication::Title() const {
    return ApplicationTitle();
}

QVector<QObject*> TApplication::Instances() const {
    QVector<QObject*> instances;
    for (const TOwned& owned : m_owned)
        instances.append(owned.Instance);
    return instances;
}

void TApplication::Adopt(QObject* instance, std::function<void()> clearGlobal) {
    m_owned.append({instance, std::move(clearGlobal)});
    // The data module is no window and so never the main form.
    if (!m_mainForm)
        m_mainForm = qobject_cast<TForm*>(instance);
}

QString TApplication::ApplicationErrorText(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.ClassName() + QStringLiteral(": ") + ErrorBoxText(e.Message());
    } catch (const std::exception& e) {
        return Demangled(typeid(e).name()) + QStringLiteral(": ") +
               ErrorBoxText(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return QStringLiteral("Unknown exception.");
    }
}

void TApplication::CreationStep(const std::function<void()>& step) {
    if (m_creationFailed)
        return;
    try {
        step();
    } catch (...) {
        CreationFailed(std::current_exception());
    }
}

void TApplication::CreationFailed(std::exception_ptr error) {
    m_creationFailed = true;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"), ApplicationErrorText(error),
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ApplicationErrorBox"));
    ExecCentred(box);
}

int TApplication::Run() {
    if (m_creationFailed) {
        DestroyInstances();
        return 1;
    }
    if (!m_terminated && m_mainForm) {
        m_mainForm->Show();
        if (!m_terminated) {
            m_looping = true;
            QApplication::exec();
            m_looping = false;
        }
    }
    DestroyInstances();
    return 0;
}

void TApplication::Terminate() {
    m_terminated = true;
    // Outside the loop there is nothing to stop, and a pending quit would end the next modal loop.
    if (m_looping)
        QApplication::exit(0);
}

void TApplication::DestroyInstances() {
    while (!m_owned.isEmpty()) {
        TOwned owned = m_owned.takeLast();
        if (owned.Instance == m_mainForm)
            m_mainForm = nullptr;
        delete owned.Instance;
        owned.ClearGlobal();
    }
}
