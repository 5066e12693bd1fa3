// The program's exception types. Handlers throw them freely; the handler dispatcher
// (platform/forms) catches them at the edge of every Qt entry and shows the error box.
#pragma once

#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& Message() const { return m_message; }
    // The class name as a user would read it in "Application Error" ("EDatabaseError").
    virtual QString ClassName() const { return QStringLiteral("Exception"); }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Anything the database interface or the database refuses; the message is the driver's own text.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
    QString ClassName() const override { return QStringLiteral("EDatabaseError"); }
};

// An operation asked of an object in a state that does not allow it.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
    QString ClassName() const override { return QStringLiteral("EInvalidOperation"); }
};
