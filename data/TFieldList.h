// The fields of an open data set, one per column of its result in the result's order, found by name
// without regard to case (of two columns with one name, the first), and the columns' types, which
// say how the packed rows (TRowStore) are read. Relies on TField.
#pragma once

#include <QHash>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>
#include <vector>

#include "TDbTypes.h"

class TDataSet;
class TField;

class TFieldList {
public:
    TFieldList();
    ~TFieldList();

    void Reset(TDataSet* owner, const QVector<TDbColumn>& columns);
    void Clear();

    int Count() const { return int(m_fields.size()); }
    TField* At(int index) const;  // nullptr outside the fields
    TField* Find(const QString& name) const;
    // Whether these fields describe a result with these columns: the same names in the same order.
    bool Describe(const QVector<TDbColumn>& columns) const;
    QMetaType::Type Type(int index) const { return m_types.at(index); }
    const QVector<QMetaType::Type>& Types() const { return m_types; }
    // A null of the column's type, as a field with no row to read shows it.
    QVariant Null(int index) const { return QVariant(QMetaType(m_types.at(index))); }

private:
    std::vector<std::unique_ptr<TField>> m_fields;
    QHash<QString, int> m_byName;  // case-folded name -> field index
    QVector<QMetaType::Type> m_types;
};
