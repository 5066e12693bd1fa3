// Records the statement text every connection sends to its provider while a TStatementRecorder
// lives, as the provider receives it (before any dialect rewrite), then hands it on unchanged; so a
// test sees what the ODBC path sends to SQL Server without a server. Installed for every connection
// made while it lives. A hook run after each such statement lets a test act as another program at
// that very moment.
#pragma once

#include <QStringList>
#include <functional>
#include <memory>

#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TDbProvider.h"

class TStatementRecorder {
public:
    TStatementRecorder() {
        TDbConnection::SetProviderWrapper(
            [this](std::unique_ptr<TDbProvider> real) -> std::unique_ptr<TDbProvider> {
                return std::make_unique<TRecordingProvider>(this, std::move(real));
            });
    }
    ~TStatementRecorder() { TDbConnection::SetProviderWrapper({}); }
    TStatementRecorder(const TStatementRecorder&) = delete;
    TStatementRecorder& operator=(const TStatementRecorder&) = delete;

    // Statements run with Execute or ExecuteInsert, oldest first.
    const QStringList& Executed() const { return m_executed; }
    void AfterEach(std::function<void(const QString& statement)> hook) { m_after = std::move(hook); }

private:
    class TRecordingProvider : public TDbProvider {
    public:
        TRecordingProvider(TStatementRecorder* recorder, std::unique_ptr<TDbProvider> real)
            : m_recorder(recorder), m_real(std::move(real)) {}
        void Open() override { m_real->Open(); }
        void Close() override { m_real->Close(); }
        bool Connected() const override { return m_real->Connected(); }
        std::unique_ptr<TDbCursor> Select(const QString& statement,
                                          const QVector<QVariant>& params) override {
            return m_real->Select(statement, params);
        }
        qint64 Execute(const QString& statement, const QVector<QVariant>& params) override {
            m_recorder->m_executed << statement;
            const qint64 rows = m_real->Execute(statement, params);
            m_recorder->After(statement);
            return rows;
        }
        TDbInserted ExecuteInsert(const QString& statement, const QVector<QVariant>& params) override {
            m_recorder->m_executed << statement;
            const TDbInserted inserted = m_real->ExecuteInsert(statement, params);
            m_recorder->After(statement);
            return inserted;
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
        TStatementRecorder* m_recorder;
        std::unique_ptr<TDbProvider> m_real;
    };

    void After(const QString& statement) {
        if (m_after)
            m_after(statement);
    }

    QStringList m_executed;
    std::function<void(const QString&)> m_after;
};
