// A query data set: its statement is a list of lines (SQL), joined with CR LF after every line.
// Statement templates are queries that are only executed, never opened.
#pragma once

#include "TDataSet.h"
#include "TStringList.h"

class TADOQuery : public TDataSet {
    Q_OBJECT
public:
    TADOQuery(QObject* owner, const QString& name);

    TStringList& SQL() { return m_sql; }
    const TStringList& SQL() const { return m_sql; }
    // Sends the statement and expects no rows; returns the rows affected.
    qint64 ExecSQL();
    // Sends an INSERT; returns the key the database generated for this very insert (null when none).
    QVariant ExecInsert();

protected:
    QString SelectStatement() const override;

private:
    TStringList m_sql;
};

// Step D of filling a statement template: line 1 becomes "VALUES ('v1<sep>v2...')" with every
// apostrophe in a value doubled (a value never changes the statement's structure), then it runs.
// Over ODBC (SQL Server) every value is a Unicode literal: "VALUES (N'v1', N'v2')". Returns the key
// the insert generated (null when none).
enum class TValueLiterals { Plain, Unicode };
QString ValuesClause(const QStringList& values, const QString& separator,
                     TValueLiterals literals = TValueLiterals::Plain);
QVariant ExecuteTemplate(TADOQuery* query, const QStringList& values, const QString& separator);
