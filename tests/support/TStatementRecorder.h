// Records the statement text every connection sends to its provider while a TStatementRecorder
// lives, as the provider receives it (before any dialect rewrite), then hands it on unchanged; so a
// test sees what the ODBC path sends to SQL Server without a server. Installed for every connection
// made while it lives.
#pragma once

#include <QStringList>
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

    // Statements run with Execute, oldest first.
    const QStringList& Executed() const { return m_executed; }

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
            return m_real->Execute(statement, params);
        }
        QVariant LastInsertId() override { return m_real->LastInsertId(); }
        void BeginTransaction() override { m_real->BeginTransaction(); }
        void CommitTransaction() override { m_real->CommitTransaction(); }
        void RollbackTransaction() override { m_real->RollbackTransaction(); }
        bool IsUpdatable(const QString& name) override { return m_real->IsUpdatable(name); }
        TDbObjectKind ObjectKind(const QString& name) override { return m_real->ObjectKind(name); }
        QStringList PrimaryKey(const QString& table) override { return m_real->PrimaryKey(table); }
        QVector<TDbColumn> TableColumns(const QString& table) override { return m_real->TableColumns(table); }

    private:
        TStatementRecorder* m_recorder;
        std::unique_ptr<TDbProvider> m_real;
    };

    QStringList m_executed;
};
