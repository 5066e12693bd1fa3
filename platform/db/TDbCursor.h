// A forward-only result being fetched. Columns are known before the first Next().
#pragma once

#include "TDbTypes.h"

class TDbCursor {
public:
    virtual ~TDbCursor() = default;
    virtual const QVector<TDbColumn>& Columns() const = 0;
    // Moves to the next row; false after the last. Throws EDatabaseError on failure.
    virtual bool Next() = 0;
    // A cell of the row Next() moved to. Text stays valid until the next call of Next().
    virtual TDbValue Value(int column) const = 0;
};
