// Direct statements on the test database through a connection of their own.
#include "TDataTestDatabase.h"

#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TRowStore.h"

TDataTestDatabase::TDataTestDatabase(TContent content) : TTestDatabase(content) {}

TDataTestDatabase::~TDataTestDatabase() = default;

TDbConnection& TDataTestDatabase::Db() {
    if (!m_db) {
        m_db = std::make_unique<TDbConnection>(ConnectionString());
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
