// PDF, CSV and printer output of prepared pages.
#include "TReportOutputs.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include "EReportError.h"
#include "TPageRenderer.h"

namespace {

QPageLayout LayoutOf(const TPreparedReport& report) {
    return QPageLayout(QPageSize(report.PageSize),
                       report.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// A spreadsheet runs a cell that begins with one of these as a formula; a plain number ("-5") is
// only a number.
bool ReadAsFormula(const QString& value) {
    if (value.isEmpty() || !QStringLiteral("=+-@\t\r").contains(value.at(0)))
        return false;
    bool number = false;
    value.toDouble(&number);
    return !number;
}

QString CsvField(QString value) {
    // A text a spreadsheet would run goes in with the usual apostrophe in front, which it shows as text.
    if (ReadAsFormula(value))
        value.prepend(QLatin1Char('\''));
    // Quoted when it holds a separator, a quote or a line break; quotes doubled inside.
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void AppendCsvLine(QByteArray& out, const QStringList& fields) {
    QString line;
    for (int i = 0; i < fields.size(); ++i) {
        if (i)
            line += QLatin1Char(',');
        line += CsvField(fields.at(i));
    }
    line += QLatin1String("\r\n");
    out += line.toUtf8();
}

}  // namespace

void WriteReportPdf(const TPreparedReport& report, const QString& fileName) {
    // Written beside the target and renamed at the end: a cancelled or failed write leaves no half file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EReportError(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("zirt"));
        writer.setTitle(report.Name);
        writer.setResolution(300);
        writer.setPageLayout(LayoutOf(report));
        QPainter painter;
        if (!painter.begin(&writer))
            throw EReportError(QStringLiteral("Cannot write \"%1\"").arg(fileName));
        const TPageRenderer renderer(report);
        for (int p = 0; p < report.Pages.size(); ++p) {
            if (p)
                writer.newPage();
            renderer.DrawPage(painter, &writer, p);
        }
        painter.end();
    }
    if (!file.commit())
        throw EReportError(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
}

QByteArray ReportCsv(const TPreparedReport& report) {
    QByteArray out("\xEF\xBB\xBF");
    AppendCsvLine(out, report.Headings);
    for (const TPreparedPage& page : report.Pages)
        for (const QStringList& row : page.Rows)
            AppendCsvLine(out, row);
    return out;
}

void WriteReportCsv(const TPreparedReport& report, const QString& fileName) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EReportError(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
    const QByteArray bytes = ReportCsv(report);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw EReportError(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
}

void WriteReportFile(const TPreparedReport& report, const QString& fileName, bool csv) {
    if (csv)
        WriteReportCsv(report, fileName);
    else
        WriteReportPdf(report, fileName);
}

void PrintReport(const TPreparedReport& report, QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(LayoutOf(report));
    printer.setDocName(report.Name);
    QPainter painter;
    if (!painter.begin(&printer))
        throw EReportError(QStringLiteral("Cannot print to \"%1\"").arg(printer.printerName()));
    const TPageRenderer renderer(report);
    for (int p = 0; p < report.Pages.size(); ++p) {
        if (p)
            printer.newPage();
        renderer.DrawPage(painter, &printer, p);
    }
    painter.end();
}
