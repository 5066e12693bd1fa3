// A row filter as a data set's Filter text states it, "column = 'value' [AND column = value ...]",
// and the test of a packed row (TRowStore) against it. Columns are bound to indexes by the data set;
// needs no database.
#pragma once

#include <QString>
#include <QVector>
#include <functional>

class TRowFilter {
public:
    struct TTerm {
        QString Column;
        QString Text;         // the value as written; a doubled quote inside quotes is one quote
        bool IsNull = false;  // the unquoted word NULL
        int Field = -1;       // bound column index
    };

    TRowFilter() = default;  // no terms: every row passes
    // Throws EDatabaseError "Filter cannot be read: <text>" for text that is not such a filter.
    static TRowFilter Parse(const QString& text);

    bool IsEmpty() const { return m_terms.isEmpty(); }
    const QVector<TTerm>& Terms() const { return m_terms; }
    // Finds each term's column; fieldIndex throws for a column the result lacks.
    void Bind(const std::function<int(const QString&)>& fieldIndex);
    // A null cell passes only "= NULL"; text compares without regard to case; numbers by value, the
    // filter's value written with either decimal separator.
    bool Matches(const char* row) const;

private:
    QVector<TTerm> m_terms;
};
