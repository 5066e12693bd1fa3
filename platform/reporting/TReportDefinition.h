// One report of a project: page, margins, bands and the table of columns read from one data
// connection. Lengths are millimetres; texts may hold the fields {page}, {pages} and {date}.
#pragma once

#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QVector>

#include "TReportDataSource.h"

enum class TReportAlign { Left, Center, Right };

struct TReportColumnLayout {
    QString Field;      // a column of the connection, matched without regard to case
    QString Heading;    // printed in the heading row; empty: the column's display label
    double Width = 30;  // mm
    TReportAlign Align = TReportAlign::Left;
    int Decimals = -1;  // numbers: fixed decimals; -1 prints the value as it is
};

struct TReportDefinition {
    QString Name;
    QPageSize::PageSizeId PageSize = QPageSize::A4;
    bool Landscape = false;
    double MarginLeft = 15, MarginTop = 15, MarginRight = 15, MarginBottom = 15;
    QString Title;
    QString HeaderText;   // right-aligned above the title on every page, e.g. "{date}"
    QString FooterText;   // centred at the foot of every page, e.g. "Страница {page} из {pages}"
    double FontSize = 9;  // points, body rows
    QString Connection;   // empty: the report has no data band and prints its bands on one page
    QVector<TReportCondition> Conditions;
    QVector<TReportColumnLayout> Columns;
};
