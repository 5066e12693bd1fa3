// Builds an embedded-engine database file from the schema scripts (data/schema/). Used by the
// provisioning tool, the test fixture and the benchmark generator; the program itself never creates a
// database. The file appears only complete: it is built beside its place and renamed into it.
#pragma once

#include <QString>
#include <QStringList>

class TDbProvisioner {
public:
    // Runs the scripts, in order, into a new file at `file` with the Russian collation registered.
    // Refuses (EInvalidOperation) when the file exists; a failing script leaves no file behind and
    // throws EDatabaseError naming the script and carrying SQLite's message.
    // withCollation false drops the "COLLATE RUSSIAN_CI" clauses, for engines that lack the collation
    // (the SQLite ODBC driver opens the file with a plain SQLite).
    static void Create(const QString& file, const QStringList& scripts, bool withCollation = true);

    // A script file's text; throws EInvalidOperation when it cannot be read.
    static QString ReadScript(const QString& path);
    static QString WithoutCollation(const QString& script);
};
