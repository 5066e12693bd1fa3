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
#include "TForwardingProvider.h"

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
    class TRecordingProvider : public TForwardingProvider {
    public:
        TRecordingProvider(TStatementRecorder* recorder, std::unique_ptr<TDbProvider> real)
            : TForwardingProvider(std::move(real)), m_recorder(recorder) {}
        qint64 Execute(const QString& statement, const QVector<QVariant>& params) override {
            m_recorder->m_executed << statement;
            const qint64 rows = TForwardingProvider::Execute(statement, params);
            m_recorder->After(statement);
            return rows;
        }
        TDbInserted ExecuteInsert(const QString& statement, const QVector<QVariant>& params) override {
            m_recorder->m_executed << statement;
            const TDbInserted inserted = TForwardingProvider::ExecuteInsert(statement, params);
            m_recorder->After(statement);
            return inserted;
        }

    private:
        TStatementRecorder* m_recorder;
    };

    void After(const QString& statement) {
        if (m_after)
            m_after(statement);
    }

    QStringList m_executed;
    std::function<void(const QString&)> m_after;
};
