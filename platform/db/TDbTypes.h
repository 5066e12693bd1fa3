// What a result hands to the layer above: its columns and, one row at a time, typed cell values.
// Text arrives as UTF-8 bytes that stay valid until the cursor moves on, so the data set can pack
// them into its snapshot without building a QString or QVariant per cell.
#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVector>

struct TDbValue {
    enum TKind : quint8 { Null, Integer, Double, Text };  // Double: the value is in Real
    TKind Kind = Null;
    qint64 Int = 0;
    double Real = 0;
    const char* Utf8 = nullptr;  // Kind == Text: not NUL-terminated, Length bytes
    int Length = 0;
};

struct TDbColumn {
    QString Name;  // the result's name for it (the alias, when there is one)
    // LongLong, Double, QString or QDateTime; QDateTime cells arrive as Text "yyyy-MM-dd HH:mm:ss".
    QMetaType::Type Type = QMetaType::QString;
    QString BaseTable;   // the table it comes from; empty when the driver cannot say
    QString BaseColumn;  // its name in that table; empty when unknown
    int Size = 0;        // declared size in characters where known, else 0
};

enum class TDbObjectKind { Missing, Table, View };

// What an insert did: the rows it wrote itself and the identity its own insert generated on this
// connection (null when it generated none).
struct TDbInserted {
    qint64 Rows = 0;
    QVariant Id;
};
