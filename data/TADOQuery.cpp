// A query data set and statement templates. The statement is the line list joined with CR LF
// after every line; changing a line closes an open query first.
#include "TADOQuery.h"

#include "Exception.h"
#include "TADOConnection.h"
#include "TDbConnection.h"

TADOQuery::TADOQuery(QObject* owner, const QString& name)
    : TDataSet(owner, name), m_sql([this] { Close(); }) {}

QString TADOQuery::SelectStatement() const {
    return m_sql.Text();
}

qint64 TADOQuery::ExecSQL() {
    if (!Connection())
        throw EInvalidOperation(Name() + QStringLiteral(": Missing Connection or ConnectionString"));
    return Connection()->Database().Execute(m_sql.Text());
}

QString ValuesClause(const QStringList& values, const QString& separator) {
    QStringList quoted;
    for (QString value : values)
        quoted.append(value.replace(QLatin1Char('\''), QStringLiteral("''")));
    return QStringLiteral("VALUES ('") + quoted.join(separator) + QStringLiteral("')");
}

void ExecuteTemplate(TADOQuery* query, const QStringList& values, const QString& separator) {
    query->Close();
    query->SQL().SetStrings(1, QString());
    query->SQL().SetStrings(1, ValuesClause(values, separator));
    query->ExecSQL();
}
