// Host paths for the fixed Windows paths and the embedded database.
#include "THostPath.h"

#include <QDir>
#include <QRegularExpression>

QString ZirtDataHome() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/zirt"));
}

QString HostPath(const QString& windowsPath) {
#ifdef Q_OS_WIN
    return windowsPath;
#else
    QString path = windowsPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    static const QRegularExpression drive(QStringLiteral("^([A-Za-z]):/"));
    const QRegularExpressionMatch m = drive.match(path);
    if (!m.hasMatch())
        return path;
    return ZirtDataHome() + QStringLiteral("/drive_") + m.captured(1).toLower() + QLatin1Char('/') +
           path.mid(m.capturedLength());
#endif
}

QString EmbeddedCatalogFile(const QString& instance, const QString& catalog) {
    return ZirtDataHome() + QLatin1Char('/') + instance + QLatin1Char('/') + catalog +
           QStringLiteral(".sqlite");
}
