// A fresh ZIRT database for one test: a temporary XDG_DATA_HOME (set for the whole process while the
// fixture lives) with zirt/SQLEXPRESS/ZIRT.sqlite built from data/schema/ by the same code as
// zirt-provision. Relies on TDbProvisioner; the schema folder comes from CMake (ZIRT_SCHEMA_DIR).
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

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

    // A DSN-less ODBC connection string for the SQLite ODBC driver over a second copy of the same
    // database, built without the Russian collation (that driver's SQLite cannot load it). Built once.
    QString OdbcConnectionString();

private:
    QTemporaryDir m_home;
    QByteArray m_previousHome;
    bool m_hadPreviousHome = false;
    TContent m_content;
    QString m_odbcFile;
};
