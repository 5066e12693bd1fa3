// The application title that captions message boxes and the error box:
// the program file's name without folder, cut at its first full stop, all but the first letter lower case.
#pragma once

#include <QString>

QString ApplicationTitleFromPath(const QString& programFile);
// The title of the running program (from QCoreApplication's file path).
QString ApplicationTitle();
