// A report laid out into pages: what preview, printer and files replay. Positions are millimetres
// from the paper's top left corner, so the same pages draw on any device.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QPageSize>

#include "TReportDefinition.h"

enum class TPreparedFont { Body, Heading, Title, Small };

struct TPreparedItem {
    enum Kind { TextItem, LineItem };
    Kind ItemKind = TextItem;
    QRectF Rect;     // a line runs from the top left to the bottom right corner
    QPointF Origin;  // where the text's baseline starts, alignment applied
    QString Text;    // already shortened to fit the rectangle
    TPreparedFont Font = TPreparedFont::Body;
    TReportAlign Align = TReportAlign::Left;
};

struct TPreparedPage {
    QVector<TPreparedItem> Items;
    // The data rows on this page as plain values (numbers in C form), for file formats that keep data.
    QVector<QStringList> Rows;
};

struct TPreparedReport {
    QString Name;
    QPageSize::PageSizeId PageSize = QPageSize::A4;
    bool Landscape = false;
    double FontSize = 9;  // points, body font; the other fonts follow from it
    QStringList Headings;
    QVector<TPreparedPage> Pages;

    QSizeF PaperSize() const;  // mm, turned for landscape
    // Each page's items and rows as text, one per line: what golden files compare.
    QString Dump() const;
};
