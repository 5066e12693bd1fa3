// A fresh demo database per test, built by the provisioner from data/schema.
#include "TDataTestDatabase.h"

#include <QDir>
#include <QFileInfo>

#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TDbProvisioner.h"
#include "TRowStore.h"
#include "Unit3.h"

TDataTestDatabase::TDataTestDatabase(bool create) : m_oldXdg(qgetenv("XDG_DATA_HOME")) {
    qputenv("XDG_DATA_HOME", m_dir.path().toUtf8());
    if (create)
        Create();
}

TDataTestDatabase::~TDataTestDatabase() {
    m_db.reset();
    qputenv("XDG_DATA_HOME", m_oldXdg);
}

QString TDataTestDatabase::File() const {
    return m_dir.path() + QStringLiteral("/zirt/SQLEXPRESS/ZIRT.sqlite");
}

void TDataTestDatabase::Create() {
    QDir().mkpath(QFileInfo(File()).path());
    const QString schema = QStringLiteral(ZIRT_SCHEMA_DIR);
    TDbProvisioner::Create(
        File(), {schema + QStringLiteral("/zirt.sqlite.sql"), schema + QStringLiteral("/demo-data.sql")});
}

TDbConnection& TDataTestDatabase::Db() {
    if (!m_db) {
        m_db = std::make_unique<TDbConnection>(TDataModule3::ConnectionStringText());
        m_db->Open();
    }
    return *m_db;
}

QVariant TDataTestDatabase::Scalar(const QString& sql, const QVector<QVariant>& params) {
    auto cursor = Db().Select(sql, params);
    if (!cursor->Next())
        return {};
    return TRowStore::ToVariant(cursor->Value(0), QMetaType::UnknownType);
}

qint64 TDataTestDatabase::Execute(const QString& sql, const QVector<QVariant>& params) {
    return Db().Execute(sql, params);
}
