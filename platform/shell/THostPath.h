// Where the program's fixed Windows paths and its database live on this host.
// Everything is under $XDG_DATA_HOME/zirt (default ~/.local/share/zirt); setting XDG_DATA_HOME is
// how tests and the run script give the program its own data.
#pragma once

#include <QString>

// $XDG_DATA_HOME/zirt
QString ZirtDataHome();
// "C:\ZIRT\kelvor\Project1.rav" -> $XDG_DATA_HOME/zirt/drive_c/ZIRT/kelvor/Project1.rav. On Windows
// the path is returned unchanged; a path without a drive is only given forward slashes.
QString HostPath(const QString& windowsPath);
// The embedded engine's file for a catalog of the local instance: .../zirt/SQLEXPRESS/ZIRT.sqlite
QString EmbeddedCatalogFile(const QString& instance, const QString& catalog);
