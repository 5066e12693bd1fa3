// Output system settings.
#include "TReportSystem.h"

QString TReportSystem::FormatName(TReportFileFormat format) {
    return format == TReportFileFormat::Csv ? QStringLiteral("CSV (*.csv)") : QStringLiteral("PDF (*.pdf)");
}

QString TReportSystem::FormatSuffix(TReportFileFormat format) {
    return format == TReportFileFormat::Csv ? QStringLiteral("csv") : QStringLiteral("pdf");
}

TReportFileFormat TReportSystem::FormatOfFile(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? TReportFileFormat::Csv
                                                                         : TReportFileFormat::Pdf;
}
