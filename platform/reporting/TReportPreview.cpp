// The preview window: QPrintPreviewWidget over a printer that only paints the prepared pages.
#include "TReportPreview.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "THandlerDispatch.h"
#include "TPageRenderer.h"
#include "TReportOutputs.h"
#include "TReportSystem.h"

namespace {

// The folder the last save went to in this run: a user saving several reports keeps finding the
// one chosen before. Empty until the first save.
QString& LastSaveFolder() {
    static QString folder;
    return folder;
}

// The "Save..." dialog's first folder: the last one used, else the user's documents folder, else
// home (a documents folder that was never created).
QString SaveFolder() {
    if (!LastSaveFolder().isEmpty() && QFileInfo(LastSaveFolder()).isDir())
        return LastSaveFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace

TReportPreview::TReportPreview(const TPreparedReport& report, bool allowPrint, QWidget* parent)
    : QDialog(parent), m_report(report), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("Report Preview"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    m_printer->setFullPage(true);
    m_printer->setPageLayout(QPageLayout(QPageSize(report.PageSize),
                                         report.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    View = new QPrintPreviewWidget(m_printer.get(), this);
    View->setObjectName(QStringLiteral("PreviewView"));
    connect(View, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { Dispatch([this, printer] { Paint(printer); }); });
    connect(View, &QPrintPreviewWidget::previewChanged, this, Handler([this] { UpdatePageLabel(); }));

    auto button = [this](const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        return b;
    };
    FirstButton = button(QStringLiteral("|<"));
    PriorButton = button(QStringLiteral("<"));
    NextButton = button(QStringLiteral(">"));
    LastButton = button(QStringLiteral(">|"));
    PageLabel = new QLabel(this);
    ZoomOutButton = button(QStringLiteral("Zoom -"));
    ZoomInButton = button(QStringLiteral("Zoom +"));
    FitWidthButton = button(QStringLiteral("Page &Width"));
    WholePageButton = button(QStringLiteral("&Whole Page"));
    PrintButton = button(QStringLiteral("&Print..."));
    SaveButton = button(QStringLiteral("&Save..."));
    CloseButton = button(QStringLiteral("&Close"));
    PrintButton->setEnabled(allowPrint && !QPrinterInfo::availablePrinters().isEmpty());

    auto* bar = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(FirstButton), static_cast<QWidget*>(PriorButton),
                       static_cast<QWidget*>(PageLabel), static_cast<QWidget*>(NextButton),
                       static_cast<QWidget*>(LastButton), static_cast<QWidget*>(ZoomOutButton),
                       static_cast<QWidget*>(ZoomInButton), static_cast<QWidget*>(FitWidthButton),
                       static_cast<QWidget*>(WholePageButton)})
        bar->addWidget(w);
    bar->addStretch(1);
    bar->addWidget(PrintButton);
    bar->addWidget(SaveButton);
    bar->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(View, 1);

    connect(FirstButton, &QPushButton::clicked, this, Handler([this] { SetCurrentPage(1); }));
    connect(PriorButton, &QPushButton::clicked, this, Handler([this] { SetCurrentPage(CurrentPage() - 1); }));
    connect(NextButton, &QPushButton::clicked, this, Handler([this] { SetCurrentPage(CurrentPage() + 1); }));
    connect(LastButton, &QPushButton::clicked, this, Handler([this] { SetCurrentPage(PageCount()); }));
    connect(ZoomInButton, &QPushButton::clicked, this, Handler([this] { View->zoomIn(); }));
    connect(ZoomOutButton, &QPushButton::clicked, this, Handler([this] { View->zoomOut(); }));
    connect(FitWidthButton, &QPushButton::clicked, this, Handler([this] { View->fitToWidth(); }));
    connect(WholePageButton, &QPushButton::clicked, this, Handler([this] { View->fitInView(); }));
    connect(PrintButton, &QPushButton::clicked, this, Handler([this] { Print(); }));
    connect(SaveButton, &QPushButton::clicked, this, Handler([this] { Save(); }));
    connect(CloseButton, &QPushButton::clicked, this, Handler([this] { accept(); }));

    View->setViewMode(QPrintPreviewWidget::SinglePageView);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(qMin(900, area.width() - 40), area.height() - 60);
        move(area.center() - rect().center());
    }
    View->fitToWidth();
    UpdatePageLabel();
}

TReportPreview::~TReportPreview() = default;

int TReportPreview::PageCount() const {
    return View->pageCount();
}

int TReportPreview::CurrentPage() const {
    return View->currentPage();
}

void TReportPreview::SetCurrentPage(int page) {
    View->setCurrentPage(qBound(1, page, qMax(1, PageCount())));
    UpdatePageLabel();
}

void TReportPreview::UpdatePageLabel() {
    PageLabel->setText(QStringLiteral("Page %1 of %2").arg(CurrentPage()).arg(PageCount()));
}

void TReportPreview::Paint(QPrinter* printer) {
    QPainter painter(printer);
    const TPageRenderer renderer(m_report);
    for (int p = 0; p < m_report.Pages.size(); ++p) {
        if (p)
            printer->newPage();
        renderer.DrawPage(painter, printer, p);
    }
}

void TReportPreview::Print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintReport(m_report, printer);
}

void TReportPreview::SaveTo(const QString& fileName) {
    WriteReportFile(m_report, fileName, fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive));
}

void TReportPreview::Save() {
    QString filter;
    const QString name = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Report"), QDir(SaveFolder()).filePath(m_report.Name),
        TReportSystem::FormatName(TReportFileFormat::Pdf) + QStringLiteral(";;") +
            TReportSystem::FormatName(TReportFileFormat::Csv),
        &filter);
    if (name.isEmpty())
        return;
    const bool csvChosen = filter.contains(QLatin1String("csv"));
    QString target = name;
    if (QFileInfo(target).suffix().isEmpty())
        target += csvChosen ? QStringLiteral(".csv") : QStringLiteral(".pdf");
    // A name ending in neither format's suffix ("прайс.txt") gets the format chosen in the dialog.
    const QString suffix = QFileInfo(target).suffix().toLower();
    LastSaveFolder() = QFileInfo(target).absolutePath();
    WriteReportFile(m_report, target,
                    suffix == QLatin1String("csv") || (suffix != QLatin1String("pdf") && csvChosen));
}
