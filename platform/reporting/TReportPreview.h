// "Report Preview": the prepared pages on screen, modal, with paging, zoom, printing (when allowed
// and a printer is installed) and saving as PDF or CSV.
#pragma once

#include <QDialog>
#include <memory>

#include "TPreparedReport.h"

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

class TReportPreview : public QDialog {
    Q_OBJECT
public:
    TReportPreview(const TPreparedReport& report, bool allowPrint, QWidget* parent = nullptr);
    ~TReportPreview() override;

    int PageCount() const;
    int CurrentPage() const;  // 1-based
    void SetCurrentPage(int page);
    // Writes the pages to a file, CSV when the name ends in ".csv", otherwise PDF.
    void SaveTo(const QString& fileName);

    QPrintPreviewWidget* View = nullptr;
    QPushButton* FirstButton = nullptr;
    QPushButton* PriorButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* LastButton = nullptr;
    QPushButton* ZoomInButton = nullptr;
    QPushButton* ZoomOutButton = nullptr;
    QPushButton* FitWidthButton = nullptr;
    QPushButton* WholePageButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QLabel* PageLabel = nullptr;

private:
    void Paint(QPrinter* printer);
    void UpdatePageLabel();
    void Print();
    void Save();

    const TPreparedReport& m_report;
    std::unique_ptr<QPrinter> m_printer;
};
