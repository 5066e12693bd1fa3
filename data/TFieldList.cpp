// Making a data set's fields from its result's columns and finding them by name.
#include "TFieldList.h"

#include "TField.h"

TFieldList::TFieldList() = default;
TFieldList::~TFieldList() = default;

void TFieldList::Reset(TDataSet* owner, const QVector<TDbColumn>& columns) {
    Clear();
    for (int i = 0; i < columns.size(); ++i) {
        const TDbColumn& c = columns.at(i);
        m_fields.push_back(
            std::make_unique<TField>(owner, i, c.Name, c.Type, c.Size, c.BaseTable, c.BaseColumn));
        const QString key = c.Name.toCaseFolded();
        if (!m_byName.contains(key))
            m_byName.insert(key, i);
        m_types.append(c.Type);
    }
}

void TFieldList::Clear() {
    m_fields.clear();
    m_byName.clear();
    m_types.clear();
}

TField* TFieldList::At(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return m_fields[size_t(index)].get();
}

TField* TFieldList::Find(const QString& name) const {
    const auto it = m_byName.constFind(name.toCaseFolded());
    return it == m_byName.constEnd() ? nullptr : m_fields[size_t(*it)].get();
}

bool TFieldList::Describe(const QVector<TDbColumn>& columns) const {
    if (columns.size() != Count())
        return false;
    for (int i = 0; i < Count(); ++i) {
        if (columns.at(i).Name != m_fields[size_t(i)]->FieldName())
            return false;
    }
    return true;
}
