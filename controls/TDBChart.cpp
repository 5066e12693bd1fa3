// Filling walks the data set itself, with its bound controls held back so that no grid follows
// the walk, and returns to the row that was current; the hourglass shows meanwhile. Every step is
// undone on the way out, also when a column is missing and the fill fails.
#include "TDBChart.h"

#include <QApplication>

#include "TDataLink.h"
#include "TDataSet.h"
#include "TDataSource.h"
#include "TField.h"

class TDBChart::TBinding : public TDataLink {
public:
    TBinding(TDBChart* chart, TChartSeries* series, TDataSet* dataSet, QString valueField, QString otherField)
        : Series(series),
          ValueField(std::move(valueField)),
          OtherField(std::move(otherField)),
          m_chart(chart),
          m_source(std::make_unique<TDataSource>(nullptr, series->Name() + QStringLiteral("Source"))) {
        m_source->SetDataSet(dataSet);
    }
    ~TBinding() override { SetDataSource(nullptr); }

    void Start() { SetDataSource(m_source.get()); }  // told Opened at once when the data set is open
    TDataSet* DataSet() const { return m_source->DataSet(); }

    void DataEvent(TDataEvent event, int) override {
        switch (event) {
            case TDataEvent::Opened:
            case TDataEvent::Posted:
            case TDataEvent::RowsArrived:
                // A chart shows the whole result: while it is still being read, it fills once it ends.
                if (!DataSet()->Fetching())
                    m_chart->FillFrom(DataSet());
                return;
            case TDataEvent::Closed:
                m_chart->EmptyFor(DataSet());
                return;
            default:
                return;  // moves, deletions, cancelled edits and refreshes leave the points
        }
    }

    TChartSeries* Series;
    QString ValueField;
    QString OtherField;

private:
    TDBChart* m_chart;
    std::unique_ptr<TDataSource> m_source;
};

namespace {

// Undoes the fill's holds whatever way the fill ends.
class TFillGuard {
public:
    TFillGuard(bool& filling, TDataSet* dataSet)
        : m_filling(filling), m_dataSet(dataSet), m_row(dataSet->RecNo()) {
        m_filling = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_dataSet->DisableControls();
    }
    ~TFillGuard() {
        if (m_row >= 0 && m_dataSet->Active() && m_dataSet->RecNo() != m_row) {
            try {
                m_dataSet->SetRecNo(m_row);
            } catch (...) {
                // The walk only moved through rows in browse mode; going back cannot post anything.
            }
        }
        m_dataSet->EnableControls();
        QApplication::restoreOverrideCursor();
        m_filling = false;
    }

private:
    bool& m_filling;
    TDataSet* m_dataSet;
    int m_row;
};

}  // namespace

TDBChart::TDBChart(QWidget* parent) : TChart(parent) {}

TDBChart::~TDBChart() = default;

TChartSeries* TDBChart::AddBarSeries(const QString& name, TDataSet* dataSet, const QString& valueField,
                                     const QString& positionField) {
    TChartSeries* series = AddSeries(name, TSeriesKind::Bar);
    series->ValueTitle = valueField;
    series->PositionTitle = positionField;
    Bind(series, dataSet, valueField, positionField);
    return series;
}

TChartSeries* TDBChart::AddPieSeries(const QString& name, TDataSet* dataSet, const QString& valueField,
                                     const QString& labelField) {
    TChartSeries* series = AddSeries(name, TSeriesKind::Pie);
    series->ValueTitle = valueField;
    series->LabelTitle = labelField;
    Bind(series, dataSet, valueField, labelField);
    return series;
}

void TDBChart::Bind(TChartSeries* series, TDataSet* dataSet, const QString& valueField,
                    const QString& otherField) {
    m_bindings.push_back(std::make_unique<TBinding>(this, series, dataSet, valueField, otherField));
    m_bindings.back()->Start();
}

TDataSet* TDBChart::DataSetOf(const TChartSeries* series) const {
    for (const auto& binding : m_bindings) {
        if (binding->Series == series)
            return binding->DataSet();
    }
    return nullptr;
}

void TDBChart::EmptyFor(TDataSet* dataSet) {
    for (const auto& binding : m_bindings) {
        if (binding->DataSet() == dataSet)
            binding->Series->Clear();
    }
    SeriesChanged();
}

void TDBChart::FillFrom(TDataSet* dataSet) {
    if (!dataSet || !dataSet->Active() || m_filling)
        return;
    struct TColumns {
        TChartSeries* Series;
        TField* Value;
        TField* Other;
    };
    std::vector<TColumns> columns;
    for (const auto& binding : m_bindings) {
        if (binding->DataSet() != dataSet)
            continue;
        columns.push_back({binding->Series, dataSet->FieldByName(binding->ValueField),
                           dataSet->FieldByName(binding->OtherField)});
    }
    if (columns.empty())
        return;
    // Emptied only once every column is found: a missing one leaves the points as they were.
    for (const TColumns& c : columns)
        c.Series->Clear();
    {
        TFillGuard guard(m_filling, dataSet);
        dataSet->First();
        while (!dataSet->Eof()) {
            for (const TColumns& c : columns) {
                // A null value still adds its point, counted as 0 and not drawn.
                const bool drawn = !c.Value->IsNull();
                const double value = drawn ? c.Value->AsFloat() : 0;
                if (c.Series->Kind() == TSeriesKind::Bar)
                    c.Series->AddBar(c.Other->AsFloat(), value, drawn);
                else
                    c.Series->AddSlice(c.Other->DisplayText(), value, drawn);
            }
            dataSet->Next();
        }
    }
    SeriesChanged();
}
