// A provider between a connection and the real one that fails on demand, as a database lost during
// the run fails: the server stopped (nothing connects, every call fails, the connection drops) or
// the disk full (reads go on, every write fails). Installed for every connection made while a
// TFaultInjection lives; the faults are switched on it.
#pragma once

#include <QString>
#include <memory>

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TDbProvider.h"

class TFaultInjection {
public:
    enum TFault { None, ServerStopped, DiskFull };

    TFaultInjection() {
        TDbConnection::SetProviderWrapper(
            [this](std::unique_ptr<TDbProvider> real) -> std::unique_ptr<TDbProvider> {
                return std::make_unique<TFaultyProvider>(this, std::move(real));
            });
    }
    ~TFaultInjection() { TDbConnection::SetProviderWrapper({}); }
    TFaultInjection(const TFaultInjection&) = delete;
    TFaultInjection& operator=(const TFaultInjection&) = delete;

    void Set(TFault fault) { m_fault = fault; }
    TFault Fault() const { return m_fault; }
    int Refused() const { return m_refused; }  // calls failed so far

    static QString StoppedMessage() {
        return QStringLiteral("Communication link failure: the server stopped");
    }
    static QString FullMessage() { return QStringLiteral("database or disk is full"); }

private:
    class TFaultyProvider : public TDbProvider {
    public:
        TFaultyProvider(TFaultInjection* faults, std::unique_ptr<TDbProvider> real)
            : m_faults(faults), m_real(std::move(real)) {}
        void Open() override {
            Check(false);
            m_real->Open();
        }
        void Close() override { m_real->Close(); }
        bool Connected() const override { return m_faults->m_fault != ServerStopped && m_real->Connected(); }
        std::unique_ptr<TDbCursor> Select(const QString& statement,
                                          const QVector<QVariant>& params) override {
            Check(false);
            return m_real->Select(statement, params);
        }
        qint64 Execute(const QString& statement, const QVector<QVariant>& params) override {
            Check(!statement.trimmed().startsWith(QLatin1String("ROLLBACK"), Qt::CaseInsensitive));
            return m_real->Execute(statement, params);
        }
        TDbInserted ExecuteInsert(const QString& statement, const QVector<QVariant>& params) override {
            Check(true);
            return m_real->ExecuteInsert(statement, params);
        }
        void BeginTransaction() override {
            Check(true);
            m_real->BeginTransaction();
        }
        void CommitTransaction() override {
            Check(true);
            m_real->CommitTransaction();
        }
        void RollbackTransaction() override {
            // Undoing is what a failed write needs: it goes through whatever the fault.
            m_real->RollbackTransaction();
        }
        bool IsUpdatable(const QString& name) override {
            Check(false);
            return m_real->IsUpdatable(name);
        }
        bool ReadsBesideWriters() override {
            Check(false);
            return m_real->ReadsBesideWriters();
        }
        TDbObjectKind ObjectKind(const QString& name) override {
            Check(false);
            return m_real->ObjectKind(name);
        }
        QStringList PrimaryKey(const QString& table) override {
            Check(false);
            return m_real->PrimaryKey(table);
        }
        QVector<TDbColumn> TableColumns(const QString& table) override {
            Check(false);
            return m_real->TableColumns(table);
        }

    private:
        void Check(bool writes) {
            if (m_faults->m_fault == ServerStopped) {
                ++m_faults->m_refused;
                throw EDatabaseError(StoppedMessage());
            }
            if (m_faults->m_fault == DiskFull && writes) {
                ++m_faults->m_refused;
                throw EDatabaseError(FullMessage());
            }
        }
        TFaultInjection* m_faults;
        std::unique_ptr<TDbProvider> m_real;
    };

    TFault m_fault = None;
    int m_refused = 0;
};
