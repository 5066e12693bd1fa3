// A report project as read from its file (format: README.md beside this file): the reports, each
// with its page, title, columns and data reference, and the name of the report active at the last
// save. Reading never trusts the file: anything malformed throws EReportError.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include "TReportDataSource.h"
#include "TReportDefinition.h"

class TReportProject {
public:
    // The project a 0-byte file stands for: "Project1.rav", one report with one empty page.
    static TReportProject NewEmpty();
    // Throws EReportError naming what is wrong; fileName is only used in the message.
    static TReportProject Parse(const QByteArray& bytes, const QString& fileName);

    const QString& Name() const { return m_name; }
    const QVector<TReportDefinition>& Reports() const { return m_reports; }
    const QString& ActiveReportName() const { return m_activeReport; }
    // The report named as active at the last save (exact name); else the first; -1 when none.
    int ActiveReportIndex() const;

    QByteArray ToJson() const;

private:
    QString m_name;
    QString m_activeReport;
    QVector<TReportDefinition> m_reports;
};
