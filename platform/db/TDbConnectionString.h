// The OLE DB style connection string ("Key=Value;..."): parsed without regard to the keys' case and
// mapped to what serves it here: the embedded engine's file for the local instance, or ODBC to a server.
#pragma once

#include <QMap>
#include <QString>

class TDbConnectionString {
public:
    // Keys are trimmed and compared without regard to case; values may be quoted with "..." or '...'.
    explicit TDbConnectionString(const QString& text);
    bool Has(const QString& key) const { return m_values.contains(key.toLower()); }
    QString Value(const QString& key) const { return m_values.value(key.toLower()); }
    // Empty when the text parsed; else what is wrong with it.
    const QString& Error() const { return m_error; }

private:
    QMap<QString, QString> m_values;  // lower-case key -> value
    QString m_error;
};

// What a connection string asks for.
struct TDbTarget {
    enum TKind { Invalid, Embedded, SqlServer, OdbcDirect };
    TKind Kind = Invalid;
    QString Error;         // Kind == Invalid: why
    QString Catalog;       // "ZIRT"
    QString Computer;      // "(local)", "shopserver"
    QString Instance;      // "SQLEXPRESS"; empty for the default instance
    QString File;          // Embedded: the catalog's file
    bool Trusted = false;  // Integrated Security=SSPI: the server authenticates the user who runs us
    QString User;
    QString Password;
    QString Odbc;  // OdbcDirect: the ODBC connection string as given
};

// "(local)\SQLEXPRESS" (or ".\SQLEXPRESS") -> Embedded, EmbeddedCatalogFile(instance, catalog);
// another computer -> SqlServer; a string with "Driver=" and no "Provider=" -> OdbcDirect, passed on as
// it is (the tests reach the ODBC path through the SQLite ODBC driver this way).
TDbTarget MapConnectionString(const QString& connectionString);
