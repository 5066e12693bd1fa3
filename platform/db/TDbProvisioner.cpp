// Runs whole scripts with sqlite3_exec in one transaction; relies on TRussianCollation so that the
// indexes the schema builds on text columns are ordered as every later connection orders them.
#include "TDbProvisioner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

#include "Exception.h"
#include "TRussianCollation.h"
#include "TSqliteProvider.h"

QString TDbProvisioner::ReadScript(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EInvalidOperation(
            QStringLiteral("Cannot read the script \"%1\": %2").arg(path, f.errorString()));
    return QString::fromUtf8(f.readAll());
}

QString TDbProvisioner::WithoutCollation(const QString& script) {
    static const QRegularExpression clause(
        QStringLiteral("\\s+COLLATE\\s+%1\\b").arg(QLatin1String(kRussianCollationName)),
        QRegularExpression::CaseInsensitiveOption);
    QString s = script;
    s.remove(clause);
    return s;
}

void TDbProvisioner::Create(const QString& file, const QStringList& scripts, bool withCollation) {
    if (QFileInfo::exists(file))
        throw EInvalidOperation(
            QStringLiteral("The database file \"%1\" exists; it is never overwritten.").arg(file));
    const QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath()))
        throw EInvalidOperation(QStringLiteral("Cannot create the folder \"%1\".").arg(info.absolutePath()));
    const QString part = file + QStringLiteral(".part");
    QFile::remove(part);  // a leftover of an interrupted run

    QString failure;
    sqlite3* db = nullptr;
    const QByteArray partPath = QFile::encodeName(part);
    if (sqlite3_open_v2(partPath.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        failure = QStringLiteral("Cannot create \"%1\": %2").arg(part, QString::fromUtf8(sqlite3_errmsg(db)));
    } else {
        const auto run = [db](const QByteArray& sql, const QString& where) {
            char* error = nullptr;
            if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) == SQLITE_OK)
                return QString();
            const QString text =
                QStringLiteral("%1: %2").arg(where, QString::fromUtf8(error ? error : sqlite3_errmsg(db)));
            sqlite3_free(error);
            return text;
        };
        try {
            if (withCollation)
                RegisterRussianCollation(db);
        } catch (const EDatabaseError& e) {
            failure = e.Message();
        }
        if (failure.isEmpty())
            failure = run("PRAGMA foreign_keys = ON; BEGIN", part);
        for (const QString& path : scripts) {
            if (!failure.isEmpty())
                break;
            QString script;
            try {
                script = ReadScript(path);
            } catch (const Exception& e) {
                failure = e.Message();
                break;
            }
            if (!withCollation)
                script = WithoutCollation(script);
            failure = run(script.toUtf8(), path);
        }
        if (failure.isEmpty())
            failure = run("COMMIT", part);
        // Readers never wait for a writer: the program's reads go on while another program writes. Not on
        // a network disk, which cannot share WAL's index.
        if (failure.isEmpty() && TSqliteProvider::OnLocalDisk(part))
            failure = run("PRAGMA journal_mode = WAL", part);
    }
    sqlite3_close(db);
    if (!failure.isEmpty()) {
        QFile::remove(part);
        throw EDatabaseError(failure);
    }
    if (!QFile::rename(part, file)) {
        QFile::remove(part);
        throw EInvalidOperation(QStringLiteral("Cannot move the new database into \"%1\".").arg(file));
    }
}
