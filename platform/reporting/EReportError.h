// The engine's error: a project file it cannot read, a report it cannot run. Shown by the
// handler that started the run, in the application's error box.
#pragma once

#include "Exception.h"

class EReportError : public Exception {
public:
    using Exception::Exception;
    QString ClassName() const override { return QStringLiteral("EReportError"); }
};
