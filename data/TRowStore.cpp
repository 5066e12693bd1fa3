// The packed snapshot. A cell is one tag byte followed by its payload: nothing for null, a
// zigzag varint for an integer, eight bytes for a real, a varint length and the UTF-8 bytes for
// text. Blocks are large and never move, so row pointers stay valid until Clear().
#include "TRowStore.h"

#include <QDateTime>
#include <cstring>

#include "TDbCursor.h"

namespace {

// Large enough that block headers are negligible, small enough that a small data set stays small.
constexpr size_t kBlockSize = 256 * 1024;
constexpr int kMaxVarint = 10;

enum TTag : quint8 { TagNull = 0, TagInt = 1, TagReal = 2, TagText = 3 };

char* PutVarint(char* p, quint64 v) {
    while (v >= 0x80) {
        *p++ = char(quint8(v) | 0x80);
        v >>= 7;
    }
    *p++ = char(quint8(v));
    return p;
}

const char* GetVarint(const char* p, quint64& v) {
    v = 0;
    int shift = 0;
    for (;;) {
        const quint8 b = quint8(*p++);
        v |= quint64(b & 0x7f) << shift;
        if (!(b & 0x80))
            return p;
        shift += 7;
    }
}

quint64 ZigZag(qint64 v) {
    return (quint64(v) << 1) ^ quint64(v >> 63);
}
qint64 UnZigZag(quint64 v) {
    return qint64(v >> 1) ^ -qint64(v & 1);
}

size_t Bound(const TDbValue& cell) {
    switch (cell.Kind) {
        case TDbValue::Null:
            return 1;
        case TDbValue::Integer:
            return 1 + kMaxVarint;
        case TDbValue::Double:
            return 1 + sizeof(double);
        case TDbValue::Text:
            return 1 + kMaxVarint + size_t(cell.Length);
    }
    return 1;
}

char* Put(char* p, const TDbValue& cell) {
    switch (cell.Kind) {
        case TDbValue::Null:
            *p++ = char(TagNull);
            break;
        case TDbValue::Integer:
            *p++ = char(TagInt);
            p = PutVarint(p, ZigZag(cell.Int));
            break;
        case TDbValue::Double:
            *p++ = char(TagReal);
            std::memcpy(p, &cell.Real, sizeof(double));
            p += sizeof(double);
            break;
        case TDbValue::Text:
            *p++ = char(TagText);
            p = PutVarint(p, quint64(cell.Length));
            if (cell.Length)
                std::memcpy(p, cell.Utf8, size_t(cell.Length));
            p += cell.Length;
            break;
    }
    return p;
}

// Decodes the cell at p and returns the position after it.
const char* Get(const char* p, TDbValue& cell) {
    const quint8 tag = quint8(*p++);
    quint64 v = 0;
    switch (tag) {
        case TagInt:
            p = GetVarint(p, v);
            cell.Kind = TDbValue::Integer;
            cell.Int = UnZigZag(v);
            break;
        case TagReal:
            cell.Kind = TDbValue::Double;
            std::memcpy(&cell.Real, p, sizeof(double));
            p += sizeof(double);
            break;
        case TagText:
            p = GetVarint(p, v);
            cell.Kind = TDbValue::Text;
            cell.Utf8 = p;
            cell.Length = int(v);
            p += v;
            break;
        default:
            cell.Kind = TDbValue::Null;
            break;
    }
    return p;
}

const char* Skip(const char* p) {
    TDbValue unused;
    return Get(p, unused);
}

}  // namespace

char* TRowStore::Reserve(size_t bytes) {
    if (bytes > m_free) {
        const size_t size = std::max(kBlockSize, bytes);
        m_blocks.emplace_back(new char[size]);
        m_next = m_blocks.back().get();
        m_free = size;
        m_reserved += size;
    }
    return m_next;
}

const char* TRowStore::AddFromCursor(const TDbCursor& cursor, int columns) {
    // Cells are fetched once; the text pointers stay valid until the cursor moves.
    TDbValue cells[64];
    std::vector<TDbValue> many;
    TDbValue* c = cells;
    if (columns > 64) {
        many.resize(size_t(columns));
        c = many.data();
    }
    size_t bound = 0;
    for (int i = 0; i < columns; ++i) {
        c[i] = cursor.Value(i);
        bound += Bound(c[i]);
    }
    char* start = Reserve(bound);
    char* p = start;
    for (int i = 0; i < columns; ++i)
        p = Put(p, c[i]);
    Commit(size_t(p - start));
    return start;
}

const char* TRowStore::AddValues(const QVector<QVariant>& values, const QVector<QMetaType::Type>& types) {
    std::vector<TDbValue> cells(size_t(values.size()));
    std::vector<QByteArray> texts(size_t(values.size()));
    size_t bound = 0;
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values.at(i);
        TDbValue& cell = cells[size_t(i)];
        const QMetaType::Type type = i < types.size() ? types.at(i) : QMetaType::QString;
        if (v.isNull() || !v.isValid()) {
            cell.Kind = TDbValue::Null;
        } else if (type == QMetaType::LongLong || type == QMetaType::Int) {
            bool ok = false;
            const qint64 n = v.toLongLong(&ok);
            if (ok && v.typeId() != QMetaType::Double) {
                cell.Kind = TDbValue::Integer;
                cell.Int = n;
            } else {
                cell.Kind = TDbValue::Double;
                cell.Real = v.toDouble();
            }
        } else if (type == QMetaType::Double) {
            cell.Kind = TDbValue::Double;
            cell.Real = v.toDouble();
        } else {
            const int id = v.typeId();
            if (id == QMetaType::LongLong || id == QMetaType::Int) {
                cell.Kind = TDbValue::Integer;
                cell.Int = v.toLongLong();
            } else if (id == QMetaType::Double) {
                cell.Kind = TDbValue::Double;
                cell.Real = v.toDouble();
            } else {
                texts[size_t(i)] = id == QMetaType::QDateTime
                                       ? v.toDateTime()
                                             .toString(Qt::ISODate)
                                             .replace(QLatin1Char('T'), QLatin1Char(' '))
                                             .toUtf8()
                                       : v.toString().toUtf8();
                cell.Kind = TDbValue::Text;
                cell.Utf8 = texts[size_t(i)].constData();
                cell.Length = int(texts[size_t(i)].size());
            }
        }
        bound += Bound(cell);
    }
    char* start = Reserve(bound);
    char* p = start;
    for (const TDbValue& cell : cells)
        p = Put(p, cell);
    Commit(size_t(p - start));
    return start;
}

const char* TRowStore::AddCopy(const char* row, int columns) {
    const size_t size = size_t(RecordSize(row, columns));
    char* start = Reserve(size);
    std::memcpy(start, row, size);
    Commit(size);
    return start;
}

void TRowStore::Clear() {
    m_blocks.clear();
    m_next = nullptr;
    m_free = 0;
    m_reserved = 0;
}

TDbValue TRowStore::Cell(const char* row, int column) {
    const char* p = row;
    for (int i = 0; i < column; ++i)
        p = Skip(p);
    TDbValue cell;
    Get(p, cell);
    return cell;
}

int TRowStore::RecordSize(const char* row, int columns) {
    const char* p = row;
    for (int i = 0; i < columns; ++i)
        p = Skip(p);
    return int(p - row);
}

QVector<QVariant> TRowStore::RawValues(const char* row, int columns) {
    QVector<QVariant> values;
    for (int i = 0; i < columns; ++i)
        values.append(Value(row, i, QMetaType::UnknownType));
    return values;
}

QVariant TRowStore::ToVariant(const TDbValue& cell, QMetaType::Type type) {
    switch (cell.Kind) {
        case TDbValue::Null:
            // UnknownType asks for the cell as stored (raw originals for write-back): an invalid null.
            return type == QMetaType::UnknownType ? QVariant() : QVariant(QMetaType(type));
        case TDbValue::Integer:
            if (type == QMetaType::Double)
                return QVariant(double(cell.Int));
            return QVariant(cell.Int);
        case TDbValue::Double:
            if ((type == QMetaType::LongLong || type == QMetaType::Int) &&
                cell.Real == double(qint64(cell.Real)))
                return QVariant(qint64(cell.Real));
            return QVariant(cell.Real);
        case TDbValue::Text: {
            const QString text = QString::fromUtf8(cell.Utf8, cell.Length);
            if (type == QMetaType::QDateTime) {
                // Dates are stored as ISO text; a value that does not parse stays text.
                QDateTime dt = QDateTime::fromString(text, Qt::ISODate);
                if (!dt.isValid())
                    dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                if (dt.isValid())
                    return QVariant(dt);
            }
            return QVariant(text);
        }
    }
    return {};
}

QVariant TRowStore::Value(const char* row, int column, QMetaType::Type type) {
    return ToVariant(Cell(row, column), type);
}

void TRowStore::AppendCell(QByteArray& bytes, const TDbValue& cell) {
    char buffer[1 + kMaxVarint + sizeof(double)];
    if (cell.Kind == TDbValue::Text) {
        char* end = PutVarint(buffer + 1, quint64(cell.Length));
        buffer[0] = char(TagText);
        bytes.append(buffer, int(end - buffer));
        bytes.append(cell.Utf8, cell.Length);
        return;
    }
    char* end = Put(buffer, cell);
    bytes.append(buffer, int(end - buffer));
}

int TRowStore::Compare(const TDbValue& a, const TDbValue& b) {
    const auto rank = [](const TDbValue& v) -> int {
        if (v.Kind == TDbValue::Null)
            return 0;
        return v.Kind == TDbValue::Text ? 2 : 1;
    };
    const int ra = rank(a), rb = rank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    if (ra == 0)
        return 0;
    if (ra == 1) {
        if (a.Kind == TDbValue::Integer && b.Kind == TDbValue::Integer)
            return a.Int < b.Int ? -1 : a.Int > b.Int ? 1 : 0;
        const double x = a.Kind == TDbValue::Integer ? double(a.Int) : a.Real;
        const double y = b.Kind == TDbValue::Integer ? double(b.Int) : b.Real;
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const int n = std::min(a.Length, b.Length);
    const int c = n ? std::memcmp(a.Utf8, b.Utf8, size_t(n)) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    return a.Length < b.Length ? -1 : a.Length > b.Length ? 1 : 0;
}
