// zirt-provision: creates the demo database from the schema scripts when it is absent and copies the
// report files into the program's fixed folder, each only when absent; nothing existing is touched.
// Relies on TDbProvisioner for the database and THostPath for where the user's data lives.
//   zirt-provision          the installed scripts and files into the user's data ($XDG_DATA_HOME/zirt)
//   zirt-provision --schema zirt.sqlite.sql [--demo demo-data.sql] --database .../ZIRT.sqlite [--files DIR]
//   zirt-provision --first-start [...]   as the zirt launcher runs it: silent while the database exists
//   zirt-provision --help | --version
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "Exception.h"
#include "TDbProvisioner.h"
#include "THostPath.h"

namespace {

// The usage: on standard output and success when asked for, on standard error and failure after a
// wrong call.
int Usage(bool asked) {
    std::fprintf(asked ? stdout : stderr,
                 "usage: zirt-provision [--first-start]\n"
                 "       zirt-provision [--first-start] --schema FILE [--demo FILE] --database FILE [--files DIR]\n"
                 "       zirt-provision --help | --version\n"
                 "Without arguments, creates the demo database and the report files in the user's data\n"
                 "folder, each only when absent; an existing database is never touched.\n"
                 "--first-start does nothing, and says nothing, while the database exists.\n");
    return asked ? 0 : 2;
}

// The installed data folder, found from the tool's own place so that an installation moved to
// another prefix (or unpacked under a DESTDIR) still finds its scripts.
QString InstalledDataDir() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(ZIRT_INSTALLED_DATA_FROM_BIN));
}

// Copies every file of `from` that `to` lacks; false (with the reason printed) when one cannot be.
bool CopyAbsentFiles(const QString& from, const QString& to) {
    const QDir source(from);
    if (!source.exists()) {
        std::fprintf(stderr, "zirt-provision: the folder %s does not exist\n", qPrintable(from));
        return false;
    }
    if (!QDir().mkpath(to)) {
        std::fprintf(stderr, "zirt-provision: cannot create the folder %s\n", qPrintable(to));
        return false;
    }
    bool ok = true;
    for (const QFileInfo& file : source.entryInfoList(QDir::Files | QDir::Readable, QDir::Name)) {
        const QString target = QDir(to).filePath(file.fileName());
        if (QFileInfo::exists(target))
            continue;
        // QFile::copy writes a temporary file beside the target and renames it, so a file is either
        // whole or absent.
        if (QFile::copy(file.filePath(), target)) {
            std::printf("zirt-provision: copied %s\n", qPrintable(target));
        } else {
            std::fprintf(stderr, "zirt-provision: cannot copy %s to %s\n", qPrintable(file.filePath()),
                         qPrintable(target));
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString schema, demo, database, files;
    bool firstStart = false;
    if (args.size() == 2 && args[1] == QLatin1String("--help"))
        return Usage(true);
    if (args.size() == 2 && args[1] == QLatin1String("--version")) {
        std::printf("zirt-provision %s\n", ZIRT_VERSION);
        return 0;
    }
    int first = 1;
    if (args.size() > 1 && args[1] == QLatin1String("--first-start")) {
        firstStart = true;
        first = 2;
    }
    if (args.size() == first) {
        const QString data = InstalledDataDir();
        schema = data + QStringLiteral("/schema/zirt.sqlite.sql");
        demo = data + QStringLiteral("/schema/demo-data.sql");
        files = data + QStringLiteral("/kelvor");
        database = EmbeddedCatalogFile(QStringLiteral("SQLEXPRESS"), QStringLiteral("ZIRT"));
    }
    for (int i = first; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            return Usage(false);
        if (a == QLatin1String("--schema"))
            schema = args[++i];
        else if (a == QLatin1String("--demo"))
            demo = args[++i];
        else if (a == QLatin1String("--database"))
            database = args[++i];
        else if (a == QLatin1String("--files"))
            files = args[++i];
        else
            return Usage(false);
    }
    if (schema.isEmpty() || database.isEmpty())
        return Usage(false);
    if (firstStart) {
        // The launcher's question on every start: only a missing database is worth a word.
        if (QFileInfo::exists(database))
            return 0;
        std::printf("zirt-provision: a first start, with no database at %s yet: creating the demo database\n",
                    qPrintable(database));
    }
    if (QFileInfo::exists(database)) {
        std::printf("zirt-provision: %s exists, kept as it is\n", qPrintable(database));
    } else {
        QStringList scripts{schema};
        if (!demo.isEmpty())
            scripts << demo;
        try {
            TDbProvisioner::Create(database, scripts);
        } catch (const Exception& e) {
            std::fprintf(stderr, "zirt-provision: %s\n", e.what());
            return 1;
        }
        std::printf("zirt-provision: created %s\n", qPrintable(database));
    }
    if (!files.isEmpty() && !CopyAbsentFiles(files, HostPath(QStringLiteral("C:\\ZIRT\\kelvor"))))
        return 1;
    return 0;
}
