// A fresh demo database for one data test: a temporary XDG_DATA_HOME holding ZIRT.sqlite built
// from the schema scripts, and direct statements to look at or change it behind the data sets.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>
#include <memory>

class TDbConnection;

class TDataTestDatabase {
public:
    // Points XDG_DATA_HOME at a new temporary folder; with create, builds the demo database there.
    explicit TDataTestDatabase(bool create = true);
    ~TDataTestDatabase();

    void Create();         // builds the database file (the folder must have none)
    QString File() const;  // where the program looks for catalog ZIRT
    // A second connection of its own, as another program would use.
    QVariant Scalar(const QString& sql, const QVector<QVariant>& params = {});
    qint64 Execute(const QString& sql, const QVector<QVariant>& params = {});

private:
    TDbConnection& Db();
    QTemporaryDir m_dir;
    QByteArray m_oldXdg;
    std::unique_ptr<TDbConnection> m_db;
};
