// A provider that hands every call on to the real one: the base of the tests' providers that stand
// between a connection and its real provider, each overriding only what it changes.
#pragma once

#include <memory>

#include "TDbCursor.h"
#include "TDbProvider.h"

class TForwardingProvider : public TDbProvider {
public:
    explicit TForwardingProvider(std::unique_ptr<TDbProvider> real) : m_real(std::move(real)) {}
    void Open() override { m_real->Open(); }
    void Close() override { m_real->Close(); }
    bool Connected() const override { return m_real->Connected(); }
    std::unique_ptr<TDbCursor> Select(const QString& statement, const QVector<QVariant>& params) override {
        return m_real->Select(statement, params);
    }
    qint64 Execute(const QString& statement, const QVector<QVariant>& params) override {
        return m_real->Execute(statement, params);
    }
    TDbInserted ExecuteInsert(const QString& statement, const QVector<QVariant>& params) override {
        return m_real->ExecuteInsert(statement, params);
    }
    void BeginTransaction() override { m_real->BeginTransaction(); }
    void CommitTransaction() override { m_real->CommitTransaction(); }
    void RollbackTransaction() override { m_real->RollbackTransaction(); }
    bool IsUpdatable(const QString& name) override { return m_real->IsUpdatable(name); }
    bool ReadsBesideWriters() override { return m_real->ReadsBesideWriters(); }
    TDbObjectKind ObjectKind(const QString& name) override { return m_real->ObjectKind(name); }
    QStringList PrimaryKey(const QString& table) override { return m_real->PrimaryKey(table); }
    QVector<TDbColumn> TableColumns(const QString& table) override { return m_real->TableColumns(table); }

private:
    std::unique_ptr<TDbProvider> m_real;
};
