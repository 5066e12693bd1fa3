// How a report run reaches the user: the output system's settings. A project without an output
// system of its own runs with Default(): preview as destination, setup dialog, status window,
// printing allowed from the modal preview.
#pragma once

#include <QString>

enum class TReportDestination { Preview, Printer, File };
enum class TReportFileFormat { Pdf, Csv };

struct TReportSystem {
    TReportDestination DefaultDestination = TReportDestination::Preview;
    bool ShowSetupDialog = true;
    bool ShowStatus = true;
    bool AllowPrintFromPreview = true;
    // Used when the destination is a file and no setup dialog asks for one.
    QString OutputFileName;
    TReportFileFormat OutputFileFormat = TReportFileFormat::Pdf;

    static TReportSystem Default() { return {}; }
    static QString FormatName(TReportFileFormat format);
    static QString FormatSuffix(TReportFileFormat format);
    // By the name's suffix (".csv" is CSV, anything else PDF).
    static TReportFileFormat FormatOfFile(const QString& fileName);
};
