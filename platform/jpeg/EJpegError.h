// The error a picture that cannot be decoded raises: corrupt, truncated or not a JPEG at all.
#pragma once

#include "Exception.h"

class EJpegError : public Exception {
public:
    using Exception::Exception;
    QString ClassName() const override { return QStringLiteral("EJpegError"); }
};
