// The test database fixture; see the header.
#include "TTestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Exception.h"
#include "TDbProvisioner.h"
#include "THostPath.h"

#ifndef ZIRT_SCHEMA_DIR
#error "ZIRT_SCHEMA_DIR must name data/schema (set by tests/support/CMakeLists.txt)"
#endif

namespace {

QStringList Scripts(TTestDatabase::TContent content) {
    QStringList scripts{TTestDatabase::SchemaFolder() + QStringLiteral("/zirt.sqlite.sql")};
    if (content == TTestDatabase::WithDemoData)
        scripts << TTestDatabase::SchemaFolder() + QStringLiteral("/demo-data.sql");
    return scripts;
}

}  // namespace

TTestDatabase::TTestDatabase(TContent content) : m_content(content) {
    if (!m_home.isValid())
        throw EInvalidOperation(
            QStringLiteral("Cannot create a temporary folder: %1").arg(m_home.errorString()));
    m_hadPreviousHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    m_previousHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path()));
    TDbProvisioner::Create(File(), Scripts(content));
}

TTestDatabase::~TTestDatabase() {
    if (m_hadPreviousHome)
        qputenv("XDG_DATA_HOME", m_previousHome);
    else
        qunsetenv("XDG_DATA_HOME");
}

QString TTestDatabase::ConnectionString() {
    return QStringLiteral(
        "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=ZIRT;"
        "Data Source=(local)\\SQLEXPRESS");
}

QString TTestDatabase::SchemaFolder() {
    return QStringLiteral(ZIRT_SCHEMA_DIR);
}

QString TTestDatabase::File() const {
    return EmbeddedCatalogFile(QStringLiteral("SQLEXPRESS"), QStringLiteral("ZIRT"));
}

void TTestDatabase::MakeUnreachable() {
    const QString aside = File() + QStringLiteral(".aside");
    if (QFileInfo::exists(File()) && !QFile::rename(File(), aside))
        throw EInvalidOperation(QStringLiteral("Cannot move \"%1\" aside.").arg(File()));
}

void TTestDatabase::MakeReachable() {
    const QString aside = File() + QStringLiteral(".aside");
    if (QFileInfo::exists(aside) && !QFile::rename(aside, File()))
        throw EInvalidOperation(QStringLiteral("Cannot move \"%1\" back.").arg(File()));
}

void TTestDatabase::InstallSharedFiles() const {
    const QString kelvor = HostPath(QStringLiteral("C:\\ZIRT\\kelvor\\"));
    QDir().mkpath(kelvor);
    const QDir share(QStringLiteral(ZIRT_SCHEMA_DIR) + QStringLiteral("/../../share"));
    for (const QFileInfo& f : share.entryInfoList(QDir::Files)) {
        const QString target = kelvor + QLatin1Char('/') + f.fileName();
        if (!QFileInfo::exists(target) && !QFile::copy(f.absoluteFilePath(), target))
            throw EInvalidOperation(
                QStringLiteral("Cannot copy \"%1\" to \"%2\".").arg(f.absoluteFilePath(), target));
    }
}

QString TTestDatabase::OdbcConnectionString() {
    if (m_odbcFile.isEmpty()) {
        const QString file = m_home.path() + QStringLiteral("/odbc/ZIRT.sqlite");
        TDbProvisioner::Create(file, Scripts(m_content), false);
        m_odbcFile = file;
    }
    return QStringLiteral("DRIVER=SQLite3;Database=%1;FKSupport=1;").arg(m_odbcFile);
}
