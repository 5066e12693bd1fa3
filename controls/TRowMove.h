// Moving the current row from a grid or navigator. Relies on TDataSet's leave-the-row rule; what it
// adds is where an untouched new row leaves you when it is dropped on the way.
#pragma once

class TDataSet;

// Moves by distance rows in the grid's numbering as it is before the move. When the current row is
// a new row nobody typed into, it disappears as the move starts, so the target is counted as if it
// had never been there: Up from it lands on the row above it, Down on the row that followed it.
void MoveRows(TDataSet* dataSet, int distance);
// Moves to the row shown at index row (same numbering, same rule).
void MoveToRow(TDataSet* dataSet, int row);
