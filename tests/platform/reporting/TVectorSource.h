// A data connection over rows held in memory, for driving the engine without a database.
// Counts passes and records the conditions it was asked for.
#pragma once

#include <QVector>

#include "TReportDataSource.h"

class TVectorSource : public TReportDataSource {
public:
    TVectorSource(QString name, QVector<TReportColumn> columns)
        : m_name(std::move(name)), m_columns(std::move(columns)) {}

    QString ConnectionName() const override { return m_name; }
    int RowCountHint() const override { return Rows.size(); }
    void Pass(const QVector<TReportCondition>& conditions, TReportPassVisitor& visitor) override {
        ++Passes;
        visitor.Columns(m_columns);
        for (const QVector<QVariant>& row : Rows) {
            bool meets = true;
            for (const TReportCondition& c : conditions) {
                int index = -1;
                for (int i = 0; i < m_columns.size(); ++i)
                    if (m_columns.at(i).Name.compare(c.Field, Qt::CaseInsensitive) == 0)
                        index = i;
                meets = meets && index >= 0 && c.Matches(row.at(index));
            }
            if (meets && !visitor.Row(row))
                return;
        }
    }

    // The price list's four columns.
    static QVector<TReportColumn> PriceColumns() {
        return {{QStringLiteral("name"), QMetaType::QString, 100, QStringLiteral("name")},
                {QStringLiteral("description"), QMetaType::QString, 255, QStringLiteral("description")},
                {QStringLiteral("saleprice"), QMetaType::Double, 8, QStringLiteral("saleprice")},
                {QStringLiteral("percent"), QMetaType::Double, 8, QStringLiteral("percent")}};
    }
    // n rows "Товар 1" ... with prices 100.5 + i and percent i % 4 * 5.
    static QVector<QVector<QVariant>> PriceRows(int n) {
        QVector<QVector<QVariant>> rows;
        for (int i = 1; i <= n; ++i)
            rows.append({QStringLiteral("Товар %1").arg(i), QStringLiteral("Описание %1").arg(i), 100.5 + i,
                         double(i % 4 * 5)});
        return rows;
    }

    QVector<QVector<QVariant>> Rows;
    int Passes = 0;

private:
    QString m_name;
    QVector<TReportColumn> m_columns;
};
