// What a report reads its rows from: a named data connection that gives a column list and then
// its rows in one pass. The engine knows only this interface; the program adapts its data sets to it.
#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVector>

// Whether a column or value type is a number (laid out right-aligned, compared as a number).
bool IsReportNumberType(int typeId);

struct TReportColumn {
    QString Name;
    QMetaType::Type Type = QMetaType::QString;
    int Size = 0;
    QString DisplayLabel;  // equals Name unless the data set gives another label
};

// A condition the report puts on its data: "Field Op Value", Op one of = <> < <= > >=.
// The connection applies it itself; the data set's own filter is never touched.
struct TReportCondition {
    QString Field;
    QString Op = QStringLiteral("=");
    QVariant Value;

    static bool IsKnownOp(const QString& op);
    // Whether a value of a row meets the condition (text compared without regard to case,
    // numbers as numbers).
    bool Matches(const QVariant& value) const;
};

// Told the columns once, then each row that meets every condition. Row returns false to end the pass.
class TReportPassVisitor {
public:
    virtual ~TReportPassVisitor() = default;
    virtual void Columns(const QVector<TReportColumn>& columns) = 0;
    virtual bool Row(const QVector<QVariant>& values) = 0;
};

class TReportDataSource {
public:
    virtual ~TReportDataSource() = default;
    // The name a report's data reference matches, without regard to case.
    virtual QString ConnectionName() const = 0;
    // One pass over the rows. Conditions name columns of the column list; an unknown column throws.
    // Whatever the pass changed on the underlying data is put back before it returns or throws.
    virtual void Pass(const QVector<TReportCondition>& conditions, TReportPassVisitor& visitor) = 0;
    // How many rows a pass may give (before conditions), for the progress bar; -1 when unknown.
    virtual int RowCountHint() const { return -1; }
};
