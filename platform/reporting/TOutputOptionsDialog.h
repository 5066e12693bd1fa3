// "Output Options": where a run's pages go. Preview is preselected; printer and file are offered
// only when a printer is installed (found through QPrinterInfo). Copies, collation and duplex are
// enabled only where the selected printer supports them. Modal, centred on the screen.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "TReportSystem.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TOutputOptionsDialog : public QDialog {
    Q_OBJECT
public:
    TOutputOptionsDialog(const TReportSystem& system, QWidget* parent = nullptr);
    ~TOutputOptionsDialog() override;

    TReportDestination Destination() const;
    QString FileName() const;
    TReportFileFormat FileFormat() const;
    // The selected printer with copies, collation and duplex applied; valid while the dialog lives.
    QPrinter* Printer();
    bool PrinterInstalled() const { return m_havePrinters; }

    QRadioButton* PreviewButton = nullptr;
    QRadioButton* PrinterButton = nullptr;
    QRadioButton* FileButton = nullptr;
    QLineEdit* FileNameEdit = nullptr;
    QPushButton* BrowseButton = nullptr;
    QComboBox* FormatCombo = nullptr;
    QComboBox* PrinterCombo = nullptr;
    QPushButton* SetupButton = nullptr;
    QSpinBox* CopiesSpin = nullptr;
    QCheckBox* CollateCheck = nullptr;
    QComboBox* DuplexCombo = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateState();
    void PrinterChosen();
    void Browse();
    void Setup();

    bool m_havePrinters = false;
    std::unique_ptr<QPrinter> m_printer;
};
