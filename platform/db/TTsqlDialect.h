// The T-SQL forms the program writes, turned into what SQLite runs. Only the forms SQLite lacks are
// touched: "TOP (100) PERCENT" (all rows, so it is dropped), the "dbo." schema on tables and columns,
// and N'...' literals. Text inside string literals, quoted identifiers and comments is never changed;
// brackets stay, SQLite reads them as quoted identifiers.
#pragma once

#include <QString>

QString TsqlToSqlite(const QString& statement);

// A table or view name as the program writes it ("[order]", "dbo.wares") reduced to the bare name.
QString BareObjectName(const QString& name);
