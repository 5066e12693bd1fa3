// A fresh ZIRT database for one test: a temporary XDG_DATA_HOME (set for the whole process while the
// fixture lives) with zirt/SQLEXPRESS/ZIRT.sqlite built from data/schema/ by the same code as
// zirt-provision, and the one way tests read it back or change it behind the program's back: a
// connection of the test's own, as another program would use it. Relies on TDbProvisioner and
// TDbConnection; the schema folder comes from CMake (ZIRT_SCHEMA_DIR).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>
#include <memory>

class TDbConnection;

class TTestDatabase {
public:
    enum TContent { SchemaOnly, WithDemoData };

    // Throws Exception when the database cannot be built.
    explicit TTestDatabase(TContent content = WithDemoData);
    ~TTestDatabase();
    TTestDatabase(const TTestDatabase&) = delete;
    TTestDatabase& operator=(const TTestDatabase&) = delete;

    // The program's connection string, served by the embedded engine.
    static QString ConnectionString();
    static QString SchemaFolder();

    QString DataHome() const { return m_home.path(); }  // the XDG_DATA_HOME in force
    QString File() const;                               // .../zirt/SQLEXPRESS/ZIRT.sqlite

    // The database cannot be reached (its file is moved aside) / can again (moved back). A connection
    // already open keeps the file it opened; these act on the next connection attempt.
    void MakeUnreachable();
    void MakeReachable();

    // Copies the files of share/ to drive_c/ZIRT/kelvor/, as scripts/provision does.
    void InstallSharedFiles() const;

    // Statements on the test's own connection, opened at the first use; each throws Exception on a
    // database error. Values come back as the program's data sets convert them.
    QVariant Scalar(const QString& sql, const QVector<QVariant>& params = {});  // first row, column 0
    int Count(const QString& tableAndCondition);                                // "wares where Idwares > 3"
    QStringList Row(const QString& sql, const QVector<QVariant>& params = {});  // first row, as text
    QStringList Column(const QString& sql, const QVector<QVariant>& params = {});  // column 0, as text
    qint64 Execute(const QString& sql, const QVector<QVariant>& params = {});
    // The message the database refuses the statement with ("<no exception>" when it takes it); the
    // attempt is undone either way.
    QString Refusal(const QString& sql);

    // A DSN-less ODBC connection string for the SQLite ODBC driver over a second copy of the same
    // database, built without the Russian collation (that driver's SQLite cannot load it). Built once.
    QString OdbcConnectionString();

private:
    TDbConnection& Db();

    QTemporaryDir m_home;
    QByteArray m_previousHome;
    bool m_hadPreviousHome = false;
    TContent m_content;
    QString m_odbcFile;
    std::unique_ptr<TDbConnection> m_db;
};
