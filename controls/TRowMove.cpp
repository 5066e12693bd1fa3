// Row moves for the grid and the navigator.
#include "TRowMove.h"

#include "TDataSet.h"

void MoveToRow(TDataSet* dataSet, int row) {
    if (!dataSet || !dataSet->Active())
        return;
    const int current = dataSet->RecNo();
    if (dataSet->State() == dsInsert && !dataSet->Modified()) {
        // The new row sits at current; the rows after it move up by one once it is dropped.
        dataSet->Cancel();
        const int target = row > current ? row - 1 : row;
        const int count = dataSet->RecordCount();
        if (count == 0)
            return;
        const int clamped = target < 0 ? 0 : (target >= count ? count - 1 : target);
        // Going up past the beginning (or down past the end) still reaches it, as a move would.
        dataSet->MoveBy(clamped - dataSet->RecNo() + (row < current && target < 0 ? -1 : 0) +
                        (row > current && target >= count ? 1 : 0));
        return;
    }
    dataSet->MoveBy(row - current);
}

void MoveRows(TDataSet* dataSet, int distance) {
    if (!dataSet || !dataSet->Active())
        return;
    MoveToRow(dataSet, dataSet->RecNo() + distance);
}
