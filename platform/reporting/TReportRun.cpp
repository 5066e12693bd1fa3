// One report run: setup, generation, output. The windows are local to the run, so however it
// ends (cancel, error, output done) they close with it.
#include "TReportRun.h"

#include <QDate>
#include <QMessageBox>
#include <QPrinter>
#include <memory>

#include "TOutputOptionsDialog.h"
#include "TPaginator.h"
#include "TReportConnections.h"
#include "TReportOutputs.h"
#include "TReportPreview.h"
#include "TReportStatusWindow.h"

QString MissingConnectionText(const QString& name) {
    return QStringLiteral("Unable to open data connection \"%1\". Aborting report.").arg(name);
}

namespace {
void ShowEngineError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ReportError"));
    box.exec();
}
}  // namespace

bool RunReport(const TReportDefinition& report, const TReportSystem& system) {
    TReportDestination destination = system.DefaultDestination;
    QString fileName = system.OutputFileName;
    TReportFileFormat format = system.OutputFileFormat;
    std::unique_ptr<TOutputOptionsDialog> setup;
    if (system.ShowSetupDialog) {
        setup = std::make_unique<TOutputOptionsDialog>(system);
        if (setup->exec() != QDialog::Accepted)
            return false;
        destination = setup->Destination();
        fileName = setup->FileName();
        format = setup->FileFormat();
        setup->hide();
    }

    TReportDataSource* source = nullptr;
    if (!report.Connection.isEmpty()) {
        source = TReportConnections::Find(report.Connection);
        if (!source) {
            ShowEngineError(MissingConnectionText(report.Connection));
            return false;
        }
    }

    TPaginator paginator(report, QDate::currentDate());
    std::unique_ptr<TReportStatusWindow> status;
    if (system.ShowStatus) {
        status = std::make_unique<TReportStatusWindow>(report.Name);
        status->show();
        const int total = source ? source->RowCountHint() : 0;
        TReportStatusWindow* window = status.get();
        paginator.SetProgress(
            [window, total](int rows, int pages) { return window->Progress(rows, pages, total); });
        if (!window->Progress(0, 0, total))
            return false;
    }
    const TPreparedReport prepared = paginator.Run(source);
    if (paginator.Cancelled() || (status && status->Cancelled()))
        return false;
    status.reset();

    switch (destination) {
        case TReportDestination::Preview: {
            // Modal: the run owns the pages, so the preview must not outlive it.
            TReportPreview preview(prepared, system.AllowPrintFromPreview);
            preview.exec();
            break;
        }
        case TReportDestination::Printer: {
            QPrinter* printer = setup ? setup->Printer() : nullptr;
            std::unique_ptr<QPrinter> own;
            if (!printer) {
                own = std::make_unique<QPrinter>(QPrinter::HighResolution);
                printer = own.get();
            }
            PrintReport(prepared, *printer);
            break;
        }
        case TReportDestination::File:
            WriteReportFile(prepared, fileName, format == TReportFileFormat::Csv);
            break;
    }
    return true;
}
