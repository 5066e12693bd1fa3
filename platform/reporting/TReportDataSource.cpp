// Conditions a report puts on its rows.
#include "TReportDataSource.h"

#include <QDate>
#include <QDateTime>

bool TReportCondition::IsKnownOp(const QString& op) {
    static const QStringList ops = {QStringLiteral("="),  QStringLiteral("<>"), QStringLiteral("<"),
                                    QStringLiteral("<="), QStringLiteral(">"),  QStringLiteral(">=")};
    return ops.contains(op);
}

bool IsReportNumberType(int typeId) {
    switch (typeId) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
            return true;
        default:
            return false;
    }
}

bool TReportCondition::Matches(const QVariant& value) const {
    // A null value meets no condition, as in SQL.
    if (value.isNull() || Value.isNull())
        return false;
    int order = 0;
    if (IsReportNumberType(value.typeId())) {
        bool ok = false;
        const double wanted = Value.toDouble(&ok);
        if (!ok)
            return false;
        const double have = value.toDouble();
        order = have < wanted ? -1 : (have > wanted ? 1 : 0);
    } else {
        order = value.toString().compare(Value.toString(), Qt::CaseInsensitive);
        order = order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    if (Op == QLatin1String("="))
        return order == 0;
    if (Op == QLatin1String("<>"))
        return order != 0;
    if (Op == QLatin1String("<"))
        return order < 0;
    if (Op == QLatin1String("<="))
        return order <= 0;
    if (Op == QLatin1String(">"))
        return order > 0;
    if (Op == QLatin1String(">="))
        return order >= 0;
    return false;
}
