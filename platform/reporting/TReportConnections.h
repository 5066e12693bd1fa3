// The data connections the program has, found by name without regard to case. Connections register
// on creation and leave on destruction; the engine looks a report's data reference up here.
// Window thread only: the listener thread hands its requests over before touching it.
#pragma once

#include <QString>
#include <QStringList>

class TReportDataSource;

namespace TReportConnections {
void Register(TReportDataSource* source);
void Unregister(TReportDataSource* source);
// nullptr when the program has no connection of that name.
TReportDataSource* Find(const QString& name);
QStringList Names();
}  // namespace TReportConnections
