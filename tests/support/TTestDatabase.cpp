// The test database fixture; see the header.
#include "TTestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TDbProvisioner.h"
#include "THostPath.h"
#include "TRowStore.h"
#include "TTestChecks.h"

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
    m_db.reset();  // closed before the folder that holds its file goes
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

TDbConnection& TTestDatabase::Db() {
    if (!m_db) {
        m_db = std::make_unique<TDbConnection>(ConnectionString());
        m_db->Open();
    }
    return *m_db;
}

QVariant TTestDatabase::Scalar(const QString& sql, const QVector<QVariant>& params) {
    auto cursor = Db().Select(sql, params);
    if (!cursor->Next())
        return {};
    return TRowStore::ToVariant(cursor->Value(0), QMetaType::UnknownType);
}

int TTestDatabase::Count(const QString& tableAndCondition) {
    return Scalar(QStringLiteral("select count(*) from ") + tableAndCondition).toInt();
}

QStringList TTestDatabase::Row(const QString& sql, const QVector<QVariant>& params) {
    auto cursor = Db().Select(sql, params);
    QStringList texts;
    if (!cursor->Next())
        return texts;
    for (int i = 0; i < cursor->Columns().size(); ++i)
        texts << TRowStore::ToVariant(cursor->Value(i), QMetaType::UnknownType).toString();
    return texts;
}

QStringList TTestDatabase::Column(const QString& sql, const QVector<QVariant>& params) {
    auto cursor = Db().Select(sql, params);
    QStringList texts;
    while (cursor->Next())
        texts << TRowStore::ToVariant(cursor->Value(0), QMetaType::UnknownType).toString();
    return texts;
}

qint64 TTestDatabase::Execute(const QString& sql, const QVector<QVariant>& params) {
    return Db().Execute(sql, params);
}

QString TTestDatabase::Refusal(const QString& sql) {
    Db().BeginTransaction();
    const QString message = TTestChecks::ThrownMessage([&] { Db().Execute(sql); });
    Db().RollbackTransaction();
    return message;
}
