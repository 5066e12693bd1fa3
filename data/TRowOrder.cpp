// Sorting and searching packed rows by one column with TRowStore's cell order (nulls first, numbers
// by value, text by its UTF-8 bytes).
#include "TRowOrder.h"

#include <algorithm>

#include "TRowStore.h"

namespace {

bool IsNumericType(QMetaType::Type type) {
    return type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::Double;
}

TDbValue TextCell(const QVariant& value, QByteArray& storage) {
    storage = value.toString().toUtf8();
    TDbValue cell;
    cell.Kind = TDbValue::Text;
    cell.Utf8 = storage.constData();
    cell.Length = int(storage.size());
    return cell;
}

// Equal keys per master row are few; past this many a second binary search costs less than walking.
constexpr long kLinearRun = 64;

}  // namespace

void TRowOrder::Sort(std::vector<const char*>& rows) const {
    const int f = m_field;
    std::stable_sort(rows.begin(), rows.end(), [f](const char* a, const char* b) {
        return TRowStore::Compare(TRowStore::Cell(a, f), TRowStore::Cell(b, f)) < 0;
    });
}

bool TRowOrder::IsSorted(const std::vector<const char*>& rows) const {
    const int f = m_field;
    return std::is_sorted(rows.begin(), rows.end(), [f](const char* a, const char* b) {
        return TRowStore::Compare(TRowStore::Cell(a, f), TRowStore::Cell(b, f)) < 0;
    });
}

size_t TRowOrder::InsertPosition(const std::vector<const char*>& rows, const char* row) const {
    const int f = m_field;
    const TDbValue key = TRowStore::Cell(row, f);
    const auto it = std::upper_bound(rows.begin(), rows.end(), key, [f](const TDbValue& k, const char* r) {
        return TRowStore::Compare(k, TRowStore::Cell(r, f)) < 0;
    });
    return size_t(it - rows.begin());
}

std::pair<size_t, size_t> TRowOrder::Range(const std::vector<const char*>& rows,
                                           const QVariant& value) const {
    QByteArray storage;
    const TDbValue key = KeyCell(value, storage);
    const int f = m_field;
    const auto lower = std::lower_bound(rows.begin(), rows.end(), key, [f](const char* r, const TDbValue& k) {
        return TRowStore::Compare(TRowStore::Cell(r, f), k) < 0;
    });
    auto upper = lower;
    while (upper != rows.end() && upper - lower <= kLinearRun &&
           TRowStore::Compare(TRowStore::Cell(*upper, f), key) == 0)
        ++upper;
    if (upper - lower > kLinearRun) {
        upper = std::upper_bound(upper, rows.end(), key, [f](const TDbValue& k, const char* r) {
            return TRowStore::Compare(k, TRowStore::Cell(r, f)) < 0;
        });
    }
    return {size_t(lower - rows.begin()), size_t(upper - rows.begin())};
}

bool TRowOrder::SameKey(const QVariant& a, const QVariant& b) const {
    QByteArray sa, sb;
    const TDbValue ka = KeyCell(a, sa), kb = KeyCell(b, sb);
    return ka.Kind == kb.Kind && TRowStore::Compare(ka, kb) == 0;
}

TDbValue TRowOrder::KeyCell(const QVariant& value, QByteArray& storage) const {
    TDbValue key;
    if (value.isNull() || !value.isValid())
        return key;
    const int id = value.typeId();
    const bool numberGiven = id == QMetaType::LongLong || id == QMetaType::Int || id == QMetaType::Double ||
                             id == QMetaType::UInt || id == QMetaType::ULongLong;
    if (!IsNumericType(m_type) && !(numberGiven && m_type != QMetaType::QString))
        return TextCell(value, storage);
    bool ok = false;
    const double real = value.toDouble(&ok);
    if (!ok)
        return TextCell(value, storage);  // no number: matches no row of a numeric column
    if (real == double(qint64(real))) {
        key.Kind = TDbValue::Integer;
        key.Int = qint64(real);
    } else {
        key.Kind = TDbValue::Double;
        key.Real = real;
    }
    return key;
}
