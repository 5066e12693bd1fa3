// The setup dialog of a report run.
#include "TOutputOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "THandlerDispatch.h"

TOutputOptionsDialog::TOutputOptionsDialog(const TReportSystem& system, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OutputOptions"));
    setWindowTitle(QStringLiteral("Output Options"));
    setModal(true);
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    m_havePrinters = !printers.isEmpty();

    auto* destination = new QGroupBox(QStringLiteral("Report Destination"), this);
    PreviewButton = new QRadioButton(QStringLiteral("Pre&view"), destination);
    PrinterButton = new QRadioButton(QStringLiteral("&Printer"), destination);
    FileButton = new QRadioButton(QStringLiteral("&File"), destination);
    auto* destinationLayout = new QVBoxLayout(destination);
    destinationLayout->addWidget(PreviewButton);
    destinationLayout->addWidget(PrinterButton);
    destinationLayout->addWidget(FileButton);

    auto* file = new QGroupBox(QStringLiteral("File"), this);
    FileNameEdit = new QLineEdit(system.OutputFileName, file);
    FileNameEdit->setObjectName(QStringLiteral("FileName"));
    BrowseButton = new QPushButton(QStringLiteral("..."), file);
    FormatCombo = new QComboBox(file);
    FormatCombo->addItem(TReportSystem::FormatName(TReportFileFormat::Pdf), int(TReportFileFormat::Pdf));
    FormatCombo->addItem(TReportSystem::FormatName(TReportFileFormat::Csv), int(TReportFileFormat::Csv));
    FormatCombo->setCurrentIndex(system.OutputFileFormat == TReportFileFormat::Csv ? 1 : 0);
    auto* fileLayout = new QGridLayout(file);
    fileLayout->addWidget(new QLabel(QStringLiteral("File name:"), file), 0, 0);
    fileLayout->addWidget(FileNameEdit, 0, 1);
    fileLayout->addWidget(BrowseButton, 0, 2);
    fileLayout->addWidget(new QLabel(QStringLiteral("Format:"), file), 1, 0);
    fileLayout->addWidget(FormatCombo, 1, 1, 1, 2);

    auto* printer = new QGroupBox(QStringLiteral("Printer"), this);
    PrinterCombo = new QComboBox(printer);
    for (const QPrinterInfo& info : printers)
        PrinterCombo->addItem(info.printerName());
    if (!m_havePrinters)
        PrinterCombo->addItem(QStringLiteral("(no printer installed)"));
    const QString defaultPrinter = QPrinterInfo::defaultPrinterName();
    if (!defaultPrinter.isEmpty() && PrinterCombo->findText(defaultPrinter) >= 0)
        PrinterCombo->setCurrentIndex(PrinterCombo->findText(defaultPrinter));
    SetupButton = new QPushButton(QStringLiteral("Set&up..."), printer);
    CopiesSpin = new QSpinBox(printer);
    CopiesSpin->setRange(1, 999);
    CollateCheck = new QCheckBox(QStringLiteral("&Collate"), printer);
    DuplexCombo = new QComboBox(printer);
    auto* printerLayout = new QFormLayout(printer);
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(PrinterCombo, 1);
    printerRow->addWidget(SetupButton);
    printerLayout->addRow(QStringLiteral("Name:"), printerRow);
    printerLayout->addRow(QStringLiteral("Copies:"), CopiesSpin);
    printerLayout->addRow(QString(), CollateCheck);
    printerLayout->addRow(QStringLiteral("Duplex:"), DuplexCombo);

    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);

    auto* top = new QHBoxLayout;
    top->addWidget(destination);
    auto* right = new QVBoxLayout;
    right->addWidget(printer);
    right->addWidget(file);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    switch (system.DefaultDestination) {
        case TReportDestination::Printer:
            (m_havePrinters ? PrinterButton : PreviewButton)->setChecked(true);
            break;
        case TReportDestination::File:
            (m_havePrinters ? FileButton : PreviewButton)->setChecked(true);
            break;
        default:
            PreviewButton->setChecked(true);
    }
    PrinterButton->setEnabled(m_havePrinters);
    FileButton->setEnabled(m_havePrinters);

    connect(PreviewButton, &QRadioButton::toggled, this, Handler([this] { UpdateState(); }));
    connect(PrinterButton, &QRadioButton::toggled, this, Handler([this] { UpdateState(); }));
    connect(FileButton, &QRadioButton::toggled, this, Handler([this] { UpdateState(); }));
    connect(FileNameEdit, &QLineEdit::textChanged, this, Handler([this] { UpdateState(); }));
    connect(PrinterCombo, &QComboBox::currentIndexChanged, this, Handler([this] { PrinterChosen(); }));
    connect(CopiesSpin, &QSpinBox::valueChanged, this, Handler([this] { UpdateState(); }));
    connect(BrowseButton, &QPushButton::clicked, this, Handler([this] { Browse(); }));
    connect(SetupButton, &QPushButton::clicked, this, Handler([this] { Setup(); }));
    connect(OkButton, &QPushButton::clicked, this, Handler([this] { accept(); }));
    connect(CancelButton, &QPushButton::clicked, this, Handler([this] { reject(); }));
    PrinterChosen();
}

TOutputOptionsDialog::~TOutputOptionsDialog() = default;

void TOutputOptionsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Dispatch([this] {
        adjustSize();
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    });
}

void TOutputOptionsDialog::PrinterChosen() {
    if (!m_havePrinters) {
        UpdateState();
        return;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(PrinterCombo->currentText());
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    DuplexCombo->clear();
    for (QPrinter::DuplexMode mode : info.supportedDuplexModes()) {
        static const char* names[] = {"None", "Auto", "Long side", "Short side"};
        if (mode >= QPrinter::DuplexNone && mode <= QPrinter::DuplexShortSide)
            DuplexCombo->addItem(QLatin1String(names[mode]), int(mode));
    }
    UpdateState();
}

void TOutputOptionsDialog::UpdateState() {
    const bool toPrinter = PrinterButton->isChecked();
    const bool copies = toPrinter && m_printer && m_printer->supportsMultipleCopies();
    PrinterCombo->setEnabled(toPrinter);
    SetupButton->setEnabled(toPrinter);
    CopiesSpin->setEnabled(copies);
    CollateCheck->setEnabled(copies && CopiesSpin->value() > 1);
    DuplexCombo->setEnabled(toPrinter && DuplexCombo->count() > 1);
    FileNameEdit->setEnabled(FileButton->isChecked());
    BrowseButton->setEnabled(FileButton->isChecked());
    FormatCombo->setEnabled(FileButton->isChecked());
    OkButton->setEnabled(!FileButton->isChecked() || !FileNameEdit->text().trimmed().isEmpty());
}

void TOutputOptionsDialog::Browse() {
    const TReportFileFormat format = FileFormat();
    const QString name = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Report"), FileNameEdit->text(), TReportSystem::FormatName(format));
    if (!name.isEmpty())
        FileNameEdit->setText(name);
}

void TOutputOptionsDialog::Setup() {
    if (!m_printer)
        return;
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.exec();
}

TReportDestination TOutputOptionsDialog::Destination() const {
    if (PrinterButton->isChecked() && m_havePrinters)
        return TReportDestination::Printer;
    if (FileButton->isChecked() && m_havePrinters)
        return TReportDestination::File;
    return TReportDestination::Preview;
}

QString TOutputOptionsDialog::FileName() const {
    QString name = FileNameEdit->text().trimmed();
    const QString suffix = TReportSystem::FormatSuffix(FileFormat());
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QLatin1Char('.') + suffix;
    return name;
}

TReportFileFormat TOutputOptionsDialog::FileFormat() const {
    return TReportFileFormat(FormatCombo->currentData().toInt());
}

QPrinter* TOutputOptionsDialog::Printer() {
    if (!m_printer)
        return nullptr;
    m_printer->setCopyCount(CopiesSpin->isEnabled() ? CopiesSpin->value() : 1);
    m_printer->setCollateCopies(CollateCheck->isEnabled() && CollateCheck->isChecked());
    if (DuplexCombo->isEnabled())
        m_printer->setDuplex(QPrinter::DuplexMode(DuplexCombo->currentData().toInt()));
    return m_printer.get();
}
