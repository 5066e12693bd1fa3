// zirt-provision: creates the demo database from the schema scripts when it is absent; an existing
// database is never touched. Called by scripts/provision; relies on TDbProvisioner.
//   zirt-provision --schema zirt.sqlite.sql [--demo demo-data.sql] --database .../ZIRT.sqlite
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "Exception.h"
#include "TDbProvisioner.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: zirt-provision --schema FILE [--demo FILE] --database FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString schema, demo, database;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            return Usage();
        if (a == QLatin1String("--schema"))
            schema = args[++i];
        else if (a == QLatin1String("--demo"))
            demo = args[++i];
        else if (a == QLatin1String("--database"))
            database = args[++i];
        else
            return Usage();
    }
    if (schema.isEmpty() || database.isEmpty())
        return Usage();
    if (QFileInfo::exists(database)) {
        std::printf("zirt-provision: %s exists, kept as it is\n", qPrintable(database));
        return 0;
    }
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
    return 0;
}
