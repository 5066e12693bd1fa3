// Runs one report through an output system: setup dialog, generation with the status window,
// then preview, printer or file. Cancel in either window ends the run without output or message.
// A data reference the program has no connection for shows the engine's "Error" box and ends it.
#pragma once

#include "TReportDefinition.h"
#include "TReportSystem.h"

class QWidget;

// Returns true when output was produced (shown, printed or written); false when cancelled or aborted.
// Errors of the data or of the output (a file that cannot be written) throw.
bool RunReport(const TReportDefinition& report, const TReportSystem& system);

// The text of the "Error" box for a connection name the program does not have.
QString MissingConnectionText(const QString& name);
