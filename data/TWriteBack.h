// Writing one row of a data set back to the database: a table with a primary key by that key and,
// for an update, the original values of the changed columns (another program's change to them since
// they were read refuses the update instead of being overwritten); a view or a table without a key
// by every original value; exactly one row or nothing; a result
// joining several tables updates the base table of each changed column the same way and refuses
// inserts and deletes; a column without base-table metadata, or of a view the database cannot
// change, cannot be written. Each write and the read-back of its row are one transaction.
#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

class TDbConnection;
class TDbCursor;
struct TDbColumn;

class TWriteBack {
public:
    struct TColumn {
        QString Name;    // the result's name (alias)
        QString Table;   // base table; empty when the driver cannot say
        QString Column;  // base column
        QMetaType::Type Type = QMetaType::QString;
    };

    // writeTable: the table or view a table data set names (every column is its own); empty for a
    // query, whose columns carry their own base tables. Asks the database which of them it can write.
    TWriteBack(TDbConnection& db, const QString& writeTable, QVector<TColumn> columns);
    static QVector<TColumn> ColumnsOf(const QVector<TDbColumn>& result);  // a result's columns as written

    bool CanModify() const;
    bool JoinsTables() const { return m_tables.size() > 1; }
    // Whether a new row can be written: not into a join, nor through a view of the embedded engine,
    // whose views take changes to one base table's columns but no new rows.
    bool TakesNewRows() const;
    // Why a new row or a deletion is refused before it is tried.
    QString InsertOrDeleteRefusal() const;

    // Both return the row as the database holds it afterwards (rounded values, defaults, columns a
    // trigger computes, a generated key), read back by key where the row has one; a changed row
    // without a key by the values it kept, where they single it out; otherwise as given.
    // A row that cannot be read back undoes the write (ReadBackFailedMessage()), so a retry writes it
    // once.
    QVector<QVariant> Update(TDbConnection& db, const QVector<QVariant>& original,
                             const QVector<QVariant>& values, const QVector<bool>& changed);
    // Inserts the non-null values.
    QVector<QVariant> Insert(TDbConnection& db, const QVector<QVariant>& values);
    void Delete(TDbConnection& db, const QVector<QVariant>& original);

    // The columns that identify a row (the single base table's primary key, all present in the
    // result); empty when the rows cannot be resynchronised one by one.
    QVector<int> KeyColumns(TDbConnection& db);

    static QString Bracket(const QString& name);
    static QString RowNotLocatedMessage();
    static QString JoinInsertDeleteMessage();
    static QString ReadBackFailedMessage();
    static QString NotInsertedMessage();
    // The server's own refusal of a change through a view that reaches several base tables.
    static QString ViewNotUpdatableMessage(const QString& view);

private:
    struct TTable {
        QString Name;
        QVector<int> Columns;   // result columns from this table
        bool Writable = false;  // a table, or a view the database can change
        bool EmbeddedView = false;  // a view of the embedded engine: its triggers take no new rows
        bool Resolved = false;
        QVector<int> Key;  // result columns holding the table's primary key; empty when none
    };
    static void Describe(TDbConnection& db, TTable& table);  // what the database can write to it
    void Resolve(TDbConnection& db, TTable& table);
    // "WHERE ..." identifying the original row in one table, with its parameters: by its key (by every
    // column without one) and, for an update, the original value of every column being changed.
    QString Where(const TTable& table, const QVector<QVariant>& original, QVector<QVariant>& params,
                  const QVector<bool>& changed = {}) const;
    // "column = ?" with the value added to params, or "column IS NULL".
    QString Equals(int column, const QVariant& value, QVector<QVariant>& params) const;
    // Every column of the table in the rows matching the conditions, and one such row into row.
    std::unique_ptr<TDbCursor> SelectRow(TDbConnection& db, const TTable& table, const QStringList& where,
                                         const QVector<QVariant>& params) const;
    void TakeRow(const TDbCursor& cursor, const TTable& table, QVector<QVariant>& row) const;
    // Runs an UPDATE or DELETE that must change exactly one row.
    static void ExecuteOne(TDbConnection& db, const QString& sql, const QVector<QVariant>& params);
    // Replaces the table's columns of row with what the database holds under the row's key.
    void ReadBack(TDbConnection& db, const TTable& table, QVector<QVariant>& row) const;
    // For a table without a key: the same, found by the columns the change left alone, when exactly
    // one row has them; otherwise the row stays as written.
    void ReadBackByUnchanged(TDbConnection& db, const TTable& table, QVector<QVariant>& row,
                             const QVector<bool>& changed) const;
    TTable& SingleTable(const QString& action);

    QVector<TColumn> m_columns;
    QVector<TTable> m_tables;
    bool m_namedTable = false;
};
