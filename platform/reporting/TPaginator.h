// Lays out a report's rows into prepared pages: title on the first page, the page header and footer
// bands on every page, the column headings repeated at the top of every page's body, and as many
// rows per page as the body holds. Fields {page}, {pages} and {date} are filled once all pages exist.
#pragma once

#include <QDate>
#include <QVector>
#include <functional>
#include <memory>

#include "TPreparedReport.h"
#include "TReportDataSource.h"

class TReportFonts;

class TPaginator : public TReportPassVisitor {
public:
    // Told after every row and page; returning false stops the pass (the run was cancelled).
    using TProgress = std::function<bool(int rows, int pages)>;

    TPaginator(const TReportDefinition& report, QDate printDate);
    void SetProgress(TProgress progress) { m_progress = std::move(progress); }
    // How often the progress is told, in rows.
    void SetProgressStep(int rows) { m_progressStep = rows; }

    // Reads the rows from the source (nullptr: a report without data) and returns the pages.
    // Cancelled() tells afterwards whether the progress stopped it.
    TPreparedReport Run(TReportDataSource* source);
    bool Cancelled() const { return m_cancelled; }

    // Layout constants (mm), from the font size.
    double RowHeight() const;
    double BodyTop(bool firstPage) const;
    double BodyBottom() const;
    int RowsPerPage(bool firstPage) const;

    void Columns(const QVector<TReportColumn>& columns) override;
    bool Row(const QVector<QVariant>& values) override;

private:
    void StartPage();
    void FinishPages();

    TReportDefinition m_report;
    QDate m_date;
    TPreparedReport m_result;
    QVector<int> m_fieldIndex;  // per layout column: index in the row
    QVector<QMetaType::Type> m_fieldType;
    double m_y = 0;
    int m_rows = 0;
    int m_progressStep = 100;
    bool m_cancelled = false;
    bool m_haveColumns = false;
    TProgress m_progress;
    std::shared_ptr<TReportFonts> m_fonts;
};

// A cell's printed text: numbers with the column's decimals in Russian form, other values as text.
QString ReportCellText(const QVariant& value, int decimals);
// A cell's plain value for data files: numbers in C form, dates as yyyy-MM-dd.
QString ReportCellValue(const QVariant& value);
