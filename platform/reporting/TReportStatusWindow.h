// "Report Status": shown while a report is laid out, with the progress and a "Cancel" button.
// Application-modal, so nothing else is clicked while the run reads the data; the run lets it
// handle its events between rows.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class TReportStatusWindow : public QDialog {
    Q_OBJECT
public:
    explicit TReportStatusWindow(const QString& reportName, QWidget* parent = nullptr);

    // Shows the progress and handles pending events; false once the user cancelled.
    bool Progress(int rows, int pages, int totalRows);
    bool Cancelled() const { return m_cancelled; }

    QLabel* StatusLabel = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    bool m_cancelled = false;
};
