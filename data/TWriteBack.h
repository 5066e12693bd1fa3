// Writing one row of a data set back to the database: a table with a primary key by that key;
// a view or a table without one by every original value, exactly one row or nothing; a result
// joining several tables updates the base table of each changed column the same way and refuses
// inserts and deletes; a column without base-table metadata cannot be written.
#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class TDbConnection;

class TWriteBack {
public:
    struct TColumn {
        QString Name;    // the result's name (alias)
        QString Table;   // base table; empty when the driver cannot say
        QString Column;  // base column
        QMetaType::Type Type = QMetaType::QString;
    };

    // writeTable: the table or view a table data set names (every column is its own); empty for a
    // query, whose columns carry their own base tables.
    TWriteBack(const QString& writeTable, QVector<TColumn> columns);

    bool CanModify() const;
    bool JoinsTables() const { return m_tables.size() > 1; }

    void Update(TDbConnection& db, const QVector<QVariant>& original, const QVector<QVariant>& values,
                const QVector<bool>& changed);
    // Inserts the non-null values; returns the row as the database holds it afterwards (generated
    // key, defaults), column by column, where it can be read back, otherwise the values with the key.
    QVector<QVariant> Insert(TDbConnection& db, const QVector<QVariant>& values);
    void Delete(TDbConnection& db, const QVector<QVariant>& original);

    // The columns that identify a row (the single base table's primary key, all present in the
    // result); empty when the rows cannot be resynchronised one by one.
    QVector<int> KeyColumns(TDbConnection& db);

    static QString Bracket(const QString& name);
    static QString RowNotLocatedMessage();
    static QString JoinInsertDeleteMessage();

private:
    struct TTable {
        QString Name;
        QVector<int> Columns;  // result columns from this table
        bool Resolved = false;
        QVector<int> Key;  // result columns holding the table's primary key; empty when none
    };
    void Resolve(TDbConnection& db, TTable& table);
    // "WHERE ..." identifying the original row in one table, with its parameters.
    QString Where(const TTable& table, const QVector<QVariant>& original, QVector<QVariant>& params) const;
    void CheckExactlyOne(TDbConnection& db, const TTable& table, const QVector<QVariant>& original) const;
    void UpdateTables(TDbConnection& db, const QVector<int>& touched, const QVector<QVariant>& original,
                      const QVector<QVariant>& values, const QVector<bool>& changed);
    TTable& SingleTable(const QString& action);

    QVector<TColumn> m_columns;
    QVector<TTable> m_tables;
    bool m_namedTable = false;
};
