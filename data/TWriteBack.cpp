// Write-back of one row. Statements use bound parameters, so no value changes a statement's
// structure; a write that cannot be pinned to exactly one row writes nothing.
#include "TWriteBack.h"

#include "Exception.h"
#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TRowStore.h"

TWriteBack::TWriteBack(const QString& writeTable, QVector<TColumn> columns) : m_columns(std::move(columns)) {
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
}

bool TWriteBack::CanModify() const {
    return !m_tables.isEmpty();
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

QString TWriteBack::Where(const TTable& table, const QVector<QVariant>& original,
                          QVector<QVariant>& params) const {
    const QVector<int>& by = table.Key.isEmpty() ? table.Columns : table.Key;
    QStringList terms;
    for (int i : by) {
        const QString column = Bracket(m_columns.at(i).Column);
        const QVariant& v = original.at(i);
        if (v.isNull()) {
            terms.append(column + QStringLiteral(" IS NULL"));
        } else {
            terms.append(column + QStringLiteral(" = ?"));
            params.append(v);
        }
    }
    return QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
}

void TWriteBack::CheckExactlyOne(TDbConnection& db, const TTable& table,
                                 const QVector<QVariant>& original) const {
    QVector<QVariant> params;
    const QString sql =
        QStringLiteral("SELECT COUNT(*) FROM ") + Bracket(table.Name) + Where(table, original, params);
    auto cursor = db.Select(sql, params);
    qint64 count = 0;
    if (cursor->Next()) {
        const TDbValue v = cursor->Value(0);
        count = v.Kind == TDbValue::Integer ? v.Int : qint64(v.Real);
    }
    if (count != 1)
        throw EDatabaseError(RowNotLocatedMessage());
}

void TWriteBack::Update(TDbConnection& db, const QVector<QVariant>& original, const QVector<QVariant>& values,
                        const QVector<bool>& changed) {
    // Which tables are touched; a changed column without a base table cannot be written.
    QVector<int> touched;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!changed.value(i))
            continue;
        int t = -1;
        for (int k = 0; k < m_tables.size(); ++k) {
            if (m_tables.at(k).Columns.contains(i))
                t = k;
        }
        if (t < 0)
            throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(m_columns.at(i).Name));
        if (!touched.contains(t))
            touched.append(t);
    }
    // Every table's row is located before anything is written, so a refusal writes nothing.
    for (int t : touched) {
        Resolve(db, m_tables[t]);
        CheckExactlyOne(db, m_tables.at(t), original);
    }
    // A row change that spans several base tables is one change: when the database refuses the
    // second table's part, the first table's must not stay written behind the data set's back.
    const bool several = touched.size() > 1;
    if (several)
        db.Execute(QStringLiteral("BEGIN TRANSACTION"));
    try {
        UpdateTables(db, touched, original, values, changed);
        if (several)
            db.Execute(QStringLiteral("COMMIT TRANSACTION"));
    } catch (...) {
        if (several) {
            try {
                db.Execute(QStringLiteral("ROLLBACK TRANSACTION"));
            } catch (...) {
                // The refusal is what the user must see; a failed rollback ends with the connection.
            }
        }
        throw;
    }
}

void TWriteBack::UpdateTables(TDbConnection& db, const QVector<int>& touched,
                              const QVector<QVariant>& original, const QVector<QVariant>& values,
                              const QVector<bool>& changed) {
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
        const QString sql = QStringLiteral("UPDATE ") + Bracket(table.Name) + QStringLiteral(" SET ") +
                            sets.join(QStringLiteral(", ")) + Where(table, original, params);
        if (db.Execute(sql, params) != 1)
            throw EDatabaseError(RowNotLocatedMessage());
    }
}

TWriteBack::TTable& TWriteBack::SingleTable(const QString& action) {
    if (m_tables.size() > 1)
        throw EDatabaseError(JoinInsertDeleteMessage());
    if (m_tables.isEmpty())
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
    db.Execute(sql, params);

    QVector<QVariant> row = values;
    Resolve(db, table);
    if (table.Key.size() != 1)
        return row;
    const int key = table.Key.at(0);
    if (row.at(key).isNull()) {
        const QVariant id = db.LastInsertId();
        row[key] = id.isValid() ? QVariant(id.toLongLong()) : QVariant();
    }
    if (row.at(key).isNull())
        return row;
    // Read the row back by its key: defaults the database filled in show at once.
    QStringList select;
    for (int i : table.Columns)
        select.append(Bracket(m_columns.at(i).Column));
    auto cursor = db.Select(QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) +
                                QStringLiteral(" FROM ") + Bracket(table.Name) + QStringLiteral(" WHERE ") +
                                Bracket(m_columns.at(key).Column) + QStringLiteral(" = ?"),
                            {row.at(key)});
    if (cursor->Next()) {
        for (int k = 0; k < table.Columns.size(); ++k) {
            const int i = table.Columns.at(k);
            row[i] = TRowStore::ToVariant(cursor->Value(k), m_columns.at(i).Type);
        }
    }
    return row;
}

void TWriteBack::Delete(TDbConnection& db, const QVector<QVariant>& original) {
    TTable& table = SingleTable(QStringLiteral("delete"));
    Resolve(db, table);
    if (table.Key.isEmpty())
        CheckExactlyOne(db, table, original);
    QVector<QVariant> params;
    const QString sql = QStringLiteral("DELETE FROM ") + Bracket(table.Name) + Where(table, original, params);
    if (db.Execute(sql, params) != 1)
        throw EDatabaseError(RowNotLocatedMessage());
}

QVector<int> TWriteBack::KeyColumns(TDbConnection& db) {
    if (m_tables.size() != 1)
        return {};
    // A query naming columns of one table but not all of them is still keyed by what it holds.
    Resolve(db, m_tables[0]);
    return m_tables.at(0).Key;
}
