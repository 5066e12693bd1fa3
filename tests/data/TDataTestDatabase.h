// The test database of tests/support with direct statements beside it, to look at or change the
// database behind the data sets' back as another program would.
#pragma once

#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

#include "TTestDatabase.h"

class TDbConnection;

class TDataTestDatabase : public TTestDatabase {
public:
    explicit TDataTestDatabase(TContent content = WithDemoData);
    ~TDataTestDatabase();

    QVariant Scalar(const QString& sql, const QVector<QVariant>& params = {});
    qint64 Execute(const QString& sql, const QVector<QVariant>& params = {});

private:
    TDbConnection& Db();
    std::unique_ptr<TDbConnection> m_db;
};
