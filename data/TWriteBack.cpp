// Write-back of one row. Statements use bound parameters, so no value changes a statement's
// structure; every write runs in a TDbTransaction, so one that cannot be pinned to exactly one row,
// or whose row cannot be read back, leaves nothing written.
#include "TWriteBack.h"

#include <algorithm>

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TDbTransaction.h"
#include "TRowStore.h"
#include "TTsqlDialect.h"

QVector<TWriteBack::TColumn> TWriteBack::ColumnsOf(const QVector<TDbColumn>& result) {
    QVector<TColumn> columns;
    for (const TDbColumn& c : result)
        columns.append({c.Name, c.BaseTable, c.BaseColumn, c.Type});
    return columns;
}

TWriteBack::TWriteBack(TDbConnection& db, const QString& writeTable, QVector<TColumn> columns)
    : m_columns(std::move(columns)) {
    m_namedTable = !writeTable.isEmpty();
    if (m_namedTable) {
        // A table data set reads "select *" from one table or view: every column is its own.
        TTable table;
        table.Name = writeTable;
        for (int i = 0; i < m_columns.size(); ++i) {
            // The driver may name a view's underlying column; the view itself is what is written.
            m_columns[i].Table = writeTable;
            m_columns[i].Column = m_columns[i].Name;
            table.Columns.append(i);
        }
        Describe(db, table);
        m_tables.append(table);
        return;
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        const TColumn& c = m_columns.at(i);
        if (c.Table.isEmpty() || c.Column.isEmpty())
            continue;
        auto it = std::find_if(m_tables.begin(), m_tables.end(), [&](const TTable& t) {
            return t.Name.compare(c.Table, Qt::CaseInsensitive) == 0;
        });
        if (it == m_tables.end()) {
            TTable table;
            table.Name = c.Table;
            m_tables.append(table);
            it = m_tables.end() - 1;
        }
        it->Columns.append(i);
    }
    for (TTable& table : m_tables)
        Describe(db, table);
}

void TWriteBack::Describe(TDbConnection& db, TTable& table) {
    table.Writable = db.IsUpdatable(table.Name);
    table.EmbeddedView = db.IsEmbedded() && db.ObjectKind(table.Name) == TDbObjectKind::View;
}

bool TWriteBack::TakesNewRows() const {
    return m_tables.size() == 1 && !m_tables.at(0).EmbeddedView;
}

bool TWriteBack::CanModify() const {
    return std::any_of(m_tables.begin(), m_tables.end(), [](const TTable& t) { return t.Writable; });
}

QString TWriteBack::Bracket(const QString& name) {
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        return name;
    QString escaped = name;
    escaped.replace(QLatin1Char(']'), QStringLiteral("]]"));
    return QLatin1Char('[') + escaped + QLatin1Char(']');
}

QString TWriteBack::RowNotLocatedMessage() {
    return QStringLiteral(
        "Row cannot be located for updating. Some values may have been changed since it was last read.");
}

QString TWriteBack::JoinInsertDeleteMessage() {
    return QStringLiteral("Rows cannot be inserted or deleted here: the result joins several tables.");
}

QString TWriteBack::InsertOrDeleteRefusal() const {
    return JoinsTables() ? JoinInsertDeleteMessage()
                         : ViewNotUpdatableMessage(BareObjectName(m_tables.at(0).Name));
}

QString TWriteBack::ViewNotUpdatableMessage(const QString& view) {
    return QStringLiteral(
               "View or function '%1' is not updatable because the modification affects multiple "
               "base tables.")
        .arg(view);
}

QString TWriteBack::NotInsertedMessage() {
    return QStringLiteral("The row was not inserted: the database took no row from the insert.");
}

QString TWriteBack::ReadBackFailedMessage() {
    return QStringLiteral("The row cannot be read back after writing it, so the change was not kept.");
}

void TWriteBack::Resolve(TDbConnection& db, TTable& table) {
    if (table.Resolved)
        return;
    const QStringList key = db.PrimaryKey(table.Name);
    QVector<int> columns;
    for (const QString& k : key) {
        int found = -1;
        for (int i : table.Columns) {
            if (m_columns.at(i).Column.compare(k, Qt::CaseInsensitive) == 0) {
                found = i;
                break;
            }
        }
        if (found < 0) {
            // A key column the result lacks: the row can only be found by its values.
            columns.clear();
            break;
        }
        columns.append(found);
    }
    table.Key = columns;
    table.Resolved = true;
}

QString TWriteBack::Equals(int column, const QVariant& value, QVector<QVariant>& params) const {
    // A null matches only "IS NULL"; "= NULL" matches nothing.
    const QString name = Bracket(m_columns.at(column).Column);
    if (value.isNull())
        return name + QStringLiteral(" IS NULL");
    params.append(value);
    return name + QStringLiteral(" = ?");
}

QString TWriteBack::Where(const TTable& table, const QVector<QVariant>& original, QVector<QVariant>& params,
                          const QVector<bool>& changed) const {
    const QVector<int>& by = table.Key.isEmpty() ? table.Columns : table.Key;
    QStringList terms;
    for (int i : by)
        terms.append(Equals(i, original.at(i), params));
    // A changed column must still hold what was read: another program that changed it since is not
    // overwritten unseen. Columns left alone are not compared, so changes to different columns of
    // one row by two programs both stand.
    for (int i : table.Columns) {
        if (changed.value(i) && !by.contains(i))
            terms.append(Equals(i, original.at(i), params));
    }
    return QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
}

std::unique_ptr<TDbCursor> TWriteBack::SelectRow(TDbConnection& db, const TTable& table,
                                                 const QStringList& where,
                                                 const QVector<QVariant>& params) const {
    QStringList select;
    for (int i : table.Columns)
        select.append(Bracket(m_columns.at(i).Column));
    return db.Select(QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) +
                         QStringLiteral(" FROM ") + Bracket(table.Name) + QStringLiteral(" WHERE ") +
                         where.join(QStringLiteral(" AND ")),
                     params);
}

void TWriteBack::TakeRow(const TDbCursor& cursor, const TTable& table, QVector<QVariant>& row) const {
    for (int k = 0; k < table.Columns.size(); ++k) {
        const int i = table.Columns.at(k);
        row[i] = TRowStore::ToVariant(cursor.Value(k), m_columns.at(i).Type);
    }
}

void TWriteBack::ExecuteOne(TDbConnection& db, const QString& sql, const QVector<QVariant>& params) {
    // More than one row changed is undone with the transaction, as is none.
    if (db.Execute(sql, params) != 1)
        throw EDatabaseError(RowNotLocatedMessage());
}

void TWriteBack::ReadBack(TDbConnection& db, const TTable& table, QVector<QVariant>& row) const {
    QStringList where;
    QVector<QVariant> params;
    for (int k : table.Key) {
        if (row.at(k).isNull())
            throw EDatabaseError(ReadBackFailedMessage());
        where.append(Equals(k, row.at(k), params));
    }
    auto cursor = SelectRow(db, table, where, params);
    if (!cursor->Next())
        throw EDatabaseError(ReadBackFailedMessage());
    TakeRow(*cursor, table, row);
}

void TWriteBack::ReadBackByUnchanged(TDbConnection& db, const TTable& table, QVector<QVariant>& row,
                                     const QVector<bool>& changed) const {
    QStringList where;
    QVector<QVariant> params;
    for (int i : table.Columns) {
        if (!changed.value(i))
            where.append(Equals(i, row.at(i), params));
    }
    if (where.isEmpty())
        return;
    auto cursor = SelectRow(db, table, where, params);
    if (!cursor->Next())
        return;
    QVector<QVariant> stored = row;
    TakeRow(*cursor, table, stored);
    // Another row with the same unchanged values: which one is ours cannot be told.
    if (!cursor->Next())
        row = stored;
}

QVector<QVariant> TWriteBack::Update(TDbConnection& db, const QVector<QVariant>& original,
                                     const QVector<QVariant>& values, const QVector<bool>& changed) {
    // Which tables are touched; a changed column without a writable base table cannot be written.
    QVector<int> touched;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!changed.value(i))
            continue;
        int t = -1;
        for (int k = 0; k < m_tables.size(); ++k) {
            if (m_tables.at(k).Columns.contains(i) && m_tables.at(k).Writable)
                t = k;
        }
        if (t < 0)
            throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(m_columns.at(i).Name));
        if (!touched.contains(t))
            touched.append(t);
    }
    for (int t : touched)
        Resolve(db, m_tables[t]);
    // A row change that spans several base tables is one change: when the database refuses the
    // second table's part, the first table's must not stay written behind the data set's back.
    QVector<QVariant> row = values;
    TDbTransaction transaction(db);
    for (int t : touched) {
        const TTable& table = m_tables.at(t);
        QStringList sets;
        QVector<QVariant> params;
        for (int i : table.Columns) {
            if (!changed.value(i))
                continue;
            if (values.at(i).isNull()) {
                sets.append(Bracket(m_columns.at(i).Column) + QStringLiteral(" = NULL"));
            } else {
                sets.append(Bracket(m_columns.at(i).Column) + QStringLiteral(" = ?"));
                params.append(values.at(i));
            }
        }
        ExecuteOne(db,
                   QStringLiteral("UPDATE ") + Bracket(table.Name) + QStringLiteral(" SET ") +
                       sets.join(QStringLiteral(", ")) + Where(table, original, params, changed),
                   params);
    }
    for (int t : touched) {
        if (!m_tables.at(t).Key.isEmpty())
            ReadBack(db, m_tables.at(t), row);
        else
            ReadBackByUnchanged(db, m_tables.at(t), row, changed);
    }
    transaction.Commit();
    return row;
}

TWriteBack::TTable& TWriteBack::SingleTable(const QString& action) {
    if (m_tables.size() > 1)
        throw EDatabaseError(JoinInsertDeleteMessage());
    if (m_tables.isEmpty() || !m_tables.at(0).Writable)
        throw EDatabaseError(QStringLiteral("Cannot %1 rows of a read-only result").arg(action));
    return m_tables[0];
}

QVector<QVariant> TWriteBack::Insert(TDbConnection& db, const QVector<QVariant>& values) {
    TTable& table = SingleTable(QStringLiteral("insert"));
    QStringList columns, marks;
    QVector<QVariant> params;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (values.at(i).isNull())
            continue;
        if (!table.Columns.contains(i))
            throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(m_columns.at(i).Name));
        columns.append(Bracket(m_columns.at(i).Column));
        marks.append(QStringLiteral("?"));
        params.append(values.at(i));
    }
    QString sql = QStringLiteral("INSERT INTO ") + Bracket(table.Name);
    if (columns.isEmpty())
        sql += QStringLiteral(" DEFAULT VALUES");
    else
        sql += QStringLiteral(" (") + columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
               marks.join(QStringLiteral(", ")) + QStringLiteral(")");
    Resolve(db, table);

    QVector<QVariant> row = values;
    TDbTransaction transaction(db);
    // An insert that wrote nothing (a trigger that dropped it) is no success.
    const TDbInserted inserted = db.ExecuteInsert(sql, params);
    if (inserted.Rows != 1)
        throw EDatabaseError(NotInsertedMessage());
    if (table.Key.size() == 1 && row.at(table.Key.at(0)).isNull()) {
        // A generated key: the insert's own, on this connection, inside this transaction.
        row[table.Key.at(0)] = inserted.Id;
    }
    // Without a key in the result the row cannot be found again; it shows as it was given.
    if (!table.Key.isEmpty())
        ReadBack(db, table, row);
    transaction.Commit();
    return row;
}

void TWriteBack::Delete(TDbConnection& db, const QVector<QVariant>& original) {
    TTable& table = SingleTable(QStringLiteral("delete"));
    Resolve(db, table);
    QVector<QVariant> params;
    const QString sql = QStringLiteral("DELETE FROM ") + Bracket(table.Name) + Where(table, original, params);
    TDbTransaction transaction(db);
    ExecuteOne(db, sql, params);
    transaction.Commit();
}

QVector<int> TWriteBack::KeyColumns(TDbConnection& db) {
    if (m_tables.size() != 1)
        return {};
    // A query naming columns of one table but not all of them is still keyed by what it holds.
    Resolve(db, m_tables[0]);
    return m_tables.at(0).Key;
}
