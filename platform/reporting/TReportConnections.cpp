// The registry of data connections by name.
#include "TReportConnections.h"

#include <QVector>

#include "TReportDataSource.h"

namespace {
QVector<TReportDataSource*>& All() {
    static QVector<TReportDataSource*> all;
    return all;
}
}  // namespace

void TReportConnections::Register(TReportDataSource* source) {
    if (!All().contains(source))
        All().append(source);
}

void TReportConnections::Unregister(TReportDataSource* source) {
    All().removeAll(source);
}

TReportDataSource* TReportConnections::Find(const QString& name) {
    if (name.isEmpty())
        return nullptr;
    for (TReportDataSource* source : All())
        if (source->ConnectionName().compare(name, Qt::CaseInsensitive) == 0)
            return source;
    return nullptr;
}

QStringList TReportConnections::Names() {
    QStringList names;
    for (TReportDataSource* source : All())
        names.append(source->ConnectionName());
    return names;
}
