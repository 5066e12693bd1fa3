// Reading a filter text and testing packed rows against its terms; relies on TRowStore for cells.
#include "TRowFilter.h"

#include "Exception.h"
#include "TRowStore.h"

TRowFilter TRowFilter::Parse(const QString& filter) {
    TRowFilter parsed;
    int i = 0;
    const int n = filter.size();
    const auto skipSpace = [&] {
        while (i < n && filter.at(i).isSpace())
            ++i;
    };
    const auto fail = [&] { throw EDatabaseError(QStringLiteral("Filter cannot be read: %1").arg(filter)); };
    for (;;) {
        skipSpace();
        if (i >= n)
            break;
        TTerm term;
        if (filter.at(i) == QLatin1Char('[')) {
            const int end = filter.indexOf(QLatin1Char(']'), i);
            if (end < 0)
                fail();
            term.Column = filter.mid(i + 1, end - i - 1);
            i = end + 1;
        } else {
            const int start = i;
            while (i < n && !filter.at(i).isSpace() && filter.at(i) != QLatin1Char('='))
                ++i;
            term.Column = filter.mid(start, i - start);
        }
        skipSpace();
        if (i >= n || filter.at(i) != QLatin1Char('=') || term.Column.isEmpty())
            fail();
        ++i;
        skipSpace();
        if (i < n && filter.at(i) == QLatin1Char('\'')) {
            ++i;
            for (;;) {
                if (i >= n)
                    fail();
                if (filter.at(i) == QLatin1Char('\'')) {
                    if (i + 1 < n && filter.at(i + 1) == QLatin1Char('\'')) {
                        term.Text += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                term.Text += filter.at(i++);
            }
        } else {
            const int start = i;
            while (i < n && !filter.at(i).isSpace())
                ++i;
            term.Text = filter.mid(start, i - start);
            if (term.Text.isEmpty())
                fail();
            term.IsNull = term.Text.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0;
        }
        parsed.m_terms.append(term);
        skipSpace();
        if (i >= n)
            break;
        // "AND" must stand as a word: "ANDx = 1" is no second term.
        if (filter.mid(i, 3).compare(QLatin1String("AND"), Qt::CaseInsensitive) != 0 ||
            (i + 3 < n && !filter.at(i + 3).isSpace() && filter.at(i + 3) != QLatin1Char('[')))
            fail();
        i += 3;
    }
    return parsed;
}

void TRowFilter::Bind(const std::function<int(const QString&)>& fieldIndex) {
    for (TTerm& term : m_terms)
        term.Field = fieldIndex(term.Column);
}

bool TRowFilter::Matches(const char* row) const {
    for (const TTerm& term : m_terms) {
        Q_ASSERT(term.Field >= 0);  // bound before rows are tested
        const TDbValue cell = TRowStore::Cell(row, term.Field);
        bool pass;
        if (term.IsNull) {
            pass = cell.Kind == TDbValue::Null;
        } else if (cell.Kind == TDbValue::Null) {
            pass = false;
        } else if (cell.Kind == TDbValue::Text) {
            pass = QString::fromUtf8(cell.Utf8, cell.Length).compare(term.Text, Qt::CaseInsensitive) == 0;
        } else {
            bool ok = false;
            const double want = QString(term.Text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            const double have = cell.Kind == TDbValue::Integer ? double(cell.Int) : cell.Real;
            pass = ok && want == have;
        }
        if (!pass)
            return false;
    }
    return true;
}
