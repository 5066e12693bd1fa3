// The file and printer outputs of prepared pages. Each throws EReportError when it cannot write.
#pragma once

#include <QString>

#include "TPreparedReport.h"

class QPrinter;

// All pages to a PDF file with the report's paper.
void WriteReportPdf(const TPreparedReport& report, const QString& fileName);
// The heading row and every data row as comma-separated values (RFC 4180, UTF-8 with a byte order
// mark so spreadsheets take the Cyrillic text as UTF-8; numbers with a full stop).
void WriteReportCsv(const TPreparedReport& report, const QString& fileName);
QByteArray ReportCsv(const TPreparedReport& report);
void WriteReportFile(const TPreparedReport& report, const QString& fileName, bool csv);
// All pages to a printer set up by the caller (copies, collation, duplex).
void PrintReport(const TPreparedReport& report, QPrinter& printer);
