// The report data connection: gives a report the columns and rows of one data set, putting the
// data set back (open state, filter, current row, bound controls) after every pass.
// Relies on data/TDataSet and the engine's TReportDataSource; with a runtime visibility other than
// rtNone the engine's listener serves the connection to other processes of the same user.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "TReportDataSource.h"

class TDataSet;
class TReportListener;

enum TRuntimeVisibility { rtNone, rtDeveloper, rtEndUser };

class TRvDataSetConnection : public QObject, public TReportDataSource {
    Q_OBJECT
public:
    TRvDataSetConnection(QObject* owner, const QString& name);
    ~TRvDataSetConnection() override;

    TDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* dataSet) { m_dataSet = dataSet; }
    TRuntimeVisibility RuntimeVisibility() const { return m_visibility; }
    // rtDeveloper and rtEndUser start the listener (once; it lives until the connection goes).
    void SetRuntimeVisibility(TRuntimeVisibility visibility);
    // The local socket the listener serves; empty when there is none.
    QString ListenerName() const;

    QString ConnectionName() const override { return objectName(); }
    // Columns of the data set: name, type, size, display label.
    QVector<TReportColumn> Columns();
    void Pass(const QVector<TReportCondition>& conditions, TReportPassVisitor& visitor) override;
    int RowCountHint() const override;

private:
    TDataSet* m_dataSet = nullptr;
    TRuntimeVisibility m_visibility = rtNone;
    std::unique_ptr<TReportListener> m_listener;
};
