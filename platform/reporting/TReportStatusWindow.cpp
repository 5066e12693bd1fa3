// The status window of a report run.
#include "TReportStatusWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "THandlerDispatch.h"

TReportStatusWindow::TReportStatusWindow(const QString& reportName, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportStatus"));
    setWindowTitle(QStringLiteral("Report Status"));
    setWindowModality(Qt::ApplicationModal);
    auto* name = new QLabel(QStringLiteral("Generating report \"%1\"").arg(reportName), this);
    StatusLabel = new QLabel(QStringLiteral("Starting..."), this);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setRange(0, 0);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(StatusLabel);
    layout->addWidget(ProgressBar);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, Handler([this] { m_cancelled = true; }));
    resize(360, sizeHint().height());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TReportStatusWindow::Progress(int rows, int pages, int totalRows) {
    StatusLabel->setText(QStringLiteral("Page %1, %2 rows").arg(pages).arg(rows));
    if (totalRows > 0) {
        ProgressBar->setRange(0, totalRows);
        ProgressBar->setValue(qMin(rows, totalRows));
    }
    QCoreApplication::processEvents();
    return !m_cancelled;
}

void TReportStatusWindow::closeEvent(QCloseEvent* event) {
    // Closing the window is cancelling the run.
    m_cancelled = true;
    event->ignore();
}

void TReportStatusWindow::reject() {
    m_cancelled = true;
}
