// Parsing follows the OLE DB rules the program needs: ';' separates pairs, '=' the key from the value,
// a value in quotes may hold ';'. Relies on THostPath for where a local catalog's file lives.
#include "TDbConnectionString.h"

#include "THostPath.h"

TDbConnectionString::TDbConnectionString(const QString& text) {
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        const int eq = text.indexOf(QLatin1Char('='), i);
        const int semi = text.indexOf(QLatin1Char(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            // A pair without '=' is only allowed when it is empty ("a=1;;b=2", a trailing ';').
            const int end = semi < 0 ? n : semi;
            if (!text.mid(i, end - i).trimmed().isEmpty()) {
                m_error = QStringLiteral(
                              "The connection string is not a list of key=value pairs "
                              "at \"%1\".")
                              .arg(text.mid(i, end - i).trimmed());
                return;
            }
            i = end + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        int j = eq + 1;
        while (j < n && text[j] == QLatin1Char(' '))
            ++j;
        QString value;
        if (j < n && (text[j] == QLatin1Char('"') || text[j] == QLatin1Char('\''))) {
            const QChar quote = text[j];
            const int close = text.indexOf(quote, j + 1);
            if (close < 0) {
                m_error = QStringLiteral(
                              "The connection string is not a list of key=value pairs: "
                              "unterminated quote in the value of \"%1\".")
                              .arg(key);
                return;
            }
            value = text.mid(j + 1, close - j - 1);
            const int after = text.indexOf(QLatin1Char(';'), close);
            i = after < 0 ? n : after + 1;
        } else {
            const int end = text.indexOf(QLatin1Char(';'), j);
            value = text.mid(j, (end < 0 ? n : end) - j).trimmed();
            i = end < 0 ? n : end + 1;
        }
        if (key.isEmpty()) {
            m_error = QStringLiteral(
                "The connection string is not a list of key=value pairs: "
                "a value without a key.");
            return;
        }
        m_values.insert(key, value);
    }
}

TDbTarget MapConnectionString(const QString& connectionString) {
    TDbTarget target;
    const TDbConnectionString cs(connectionString);
    if (!cs.Error().isEmpty()) {
        target.Error = cs.Error();
        return target;
    }
    if (!cs.Has(QStringLiteral("Provider")) && cs.Has(QStringLiteral("Driver"))) {
        target.Kind = TDbTarget::OdbcDirect;
        target.Odbc = connectionString;
        return target;
    }
    const QString provider = cs.Value(QStringLiteral("Provider"));
    if (!provider.startsWith(QLatin1String("SQLOLEDB"), Qt::CaseInsensitive)) {
        target.Error = QStringLiteral("Provider cannot be found. It may not be properly installed. (\"%1\")")
                           .arg(provider);
        return target;
    }
    target.Catalog = cs.Value(QStringLiteral("Initial Catalog"));
    if (target.Catalog.isEmpty())
        target.Catalog = cs.Value(QStringLiteral("Database"));
    const QString source = cs.Has(QStringLiteral("Data Source")) ? cs.Value(QStringLiteral("Data Source"))
                                                                 : cs.Value(QStringLiteral("Server"));
    const int slash = source.indexOf(QLatin1Char('\\'));
    target.Computer = (slash < 0 ? source : source.left(slash)).trimmed();
    target.Instance = slash < 0 ? QString() : source.mid(slash + 1).trimmed();
    const QString security = cs.Value(QStringLiteral("Integrated Security"));
    target.Trusted = security.compare(QLatin1String("SSPI"), Qt::CaseInsensitive) == 0 ||
                     security.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                     security.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
    target.User = cs.Value(QStringLiteral("User ID"));
    target.Password = cs.Value(QStringLiteral("Password"));
    if (target.Computer.isEmpty()) {
        target.Error = QStringLiteral(
            "[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or "
            "access denied: no Data Source in the connection string.");
        return target;
    }
    if (target.Catalog.isEmpty()) {
        target.Error = QStringLiteral("No Initial Catalog in the connection string.");
        return target;
    }
    const bool local = target.Computer.compare(QLatin1String("(local)"), Qt::CaseInsensitive) == 0 ||
                       target.Computer == QLatin1String(".");
    if (local) {
        // Catalog and instance become a folder and a file name: nothing that leaves the data folder.
        for (const QString& part : {target.Catalog, target.Instance}) {
            if (part.contains(QLatin1Char('/')) || part.contains(QLatin1Char('\\')) ||
                part.startsWith(QLatin1Char('.'))) {
                target.Error =
                    QStringLiteral("Cannot open database \"%1\": not a valid catalog name.").arg(part);
                return target;
            }
        }
        target.Kind = TDbTarget::Embedded;
        target.File = EmbeddedCatalogFile(
            target.Instance.isEmpty() ? QStringLiteral("MSSQLSERVER") : target.Instance, target.Catalog);
    } else {
        target.Kind = TDbTarget::SqlServer;
    }
    return target;
}
