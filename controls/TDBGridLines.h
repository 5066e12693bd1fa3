// How a grid's cells are drawn: Qt's own cell look with the column and row lines the grid's options
// ask for (Qt's table draws both or neither). Relies on the grid for its options only.
#pragma once

#include <QStyledItemDelegate>

class TDBGrid;

class TDBGridLines : public QStyledItemDelegate {
public:
    explicit TDBGridLines(TDBGrid* grid);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const TDBGrid* m_grid;
};
