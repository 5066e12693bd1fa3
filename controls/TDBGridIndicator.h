// The grid's indicator: the narrow fixed column on the left (the vertical header) whose cell in the
// current row shows whether the data set is browsing, editing or inserting.
#pragma once

#include <QHeaderView>
#include <functional>

class TDataSet;

class TDBGridIndicator : public QHeaderView {
    Q_OBJECT
public:
    enum TMarker { NoMarker, BrowseMarker, EditMarker, InsertMarker };
    static constexpr int Width = 12;

    explicit TDBGridIndicator(QWidget* parent = nullptr);
    void SetDataSet(std::function<TDataSet*()> dataSet) { m_dataSet = std::move(dataSet); }
    // The marker the cell of a row shows.
    TMarker MarkerAt(int row) const;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    std::function<TDataSet*()> m_dataSet;
};
