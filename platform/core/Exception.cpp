// The program's exception types.
#include "Exception.h"

Exception::Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
