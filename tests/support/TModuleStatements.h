// The data module's statements as the module itself sets them, for tests that send them beside the
// program (the goods list, the price list), so that no test keeps a copy of their text. Relies on a
// database the module can open (a TTestDatabase in force) and on linking zirt_datamodule.
#pragma once

#include <QHash>
#include <QStringList>

#include "TADOQuery.h"
#include "TStringList.h"
#include "Unit3.h"

namespace TModuleStatements {

// The lines of the module's query by its name: "ADOQuery1" the goods list, "ADOQuery11" the price list.
inline QStringList Lines(const QString& query) {
    static QHash<QString, QStringList> read;  // the module's text does not change within a run
    if (!read.contains(query)) {
        TDataModule3 module(nullptr);
        read.insert(query, module.findChild<TADOQuery*>(query)->SQL().Lines());
    }
    return read.value(query);
}

// The text the module sends for those lines (each line ended as a statement list ends it).
inline QString Text(const QStringList& lines) {
    TStringList text;
    for (const QString& line : lines)
        text.Add(line);
    return text.Text();
}

// The goods list with its ordering line (line 7) as a sort choice sets it.
inline QStringList GoodsList(const QString& orderBy = QString()) {
    QStringList lines = Lines(QStringLiteral("ADOQuery1"));
    lines[7] = orderBy;
    return lines;
}

}  // namespace TModuleStatements
