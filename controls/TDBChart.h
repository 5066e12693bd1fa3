// The data-bound chart: each series reads a data set directly (through a private data source, not
// one of the module's) and is filled when the data set opens and after every posted row, emptied
// when it closes; moves, deletions and cancelled edits leave the points as they are.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "TChart.h"

class TDataSet;

class TDBChart : public TChart {
    Q_OBJECT
public:
    explicit TDBChart(QWidget* parent = nullptr);
    ~TDBChart() override;

    // Bars: the value column gives a bar's height, the position column its place on the axis.
    TChartSeries* AddBarSeries(const QString& name, TDataSet* dataSet, const QString& valueField,
                               const QString& positionField);
    // Slices: the value column gives a slice's size, the display text of the label column its label.
    TChartSeries* AddPieSeries(const QString& name, TDataSet* dataSet, const QString& valueField,
                               const QString& labelField);

    // Fills every series bound to the data set from its rows, as opening it does.
    void FillFrom(TDataSet* dataSet);
    bool Filling() const { return m_filling; }
    // The data set a series reads; nullptr for a series the chart does not fill.
    TDataSet* DataSetOf(const TChartSeries* series) const;

private:
    class TBinding;
    void Bind(TChartSeries* series, TDataSet* dataSet, const QString& valueField, const QString& otherField);
    void EmptyFor(TDataSet* dataSet);

    std::vector<std::unique_ptr<TBinding>> m_bindings;
    bool m_filling = false;
};
