// The Russian collation: weights in the order an ICU-based "ru" collation gives (measured with QCollator
// at secondary strength; the test checks a corpus against it), computed over UTF-8 without allocation.
#include "TRussianCollation.h"

#include <sqlite3.h>

#include <array>

#include "Exception.h"

namespace {

// Primary weight groups, in sort order. 0 means ignorable (controls, soft hyphen).
enum : quint32 {
    kSpaceBase = 0x100,
    kPunctBase = 0x200,
    kDigitBase = 0x400,
    kCyrillicBase = 0x500,
    kLatinBase = 0x600,
    kOtherBase = 0x10000,
};

// Punctuation and symbols in the ICU root order (measured), each its own primary weight.
constexpr char16_t kPunctuation[] =
    u"_-\u2013\u2014,;:!?.\u2026\u00b7'\u2018\u2019\"\u201c\u201d\u201e\u00ab\u00bb()[]{}\u00a7@*/"
    u"\\&#%\u2022`^"
    u"\u00b0\u00a9\u00ae+\u00b1\u00d7<=>|~$\u20ac\u20bd";

// Russian alphabet with the letters of neighbouring alphabets placed as ICU places them: ґ, ё and ў
// are secondary variants of г, е and у; є, і, ї and й are letters of their own.
constexpr char16_t kCyrillic[] = u"абвгдеєжзиіїйклмнопрстуфхцчшщъыьэюя";

struct TWeight {
    quint32 Primary = 0;
    quint8 Secondary = 0;
};

struct TTables {
    std::array<TWeight, 0x100> Latin1{};    // U+0000..U+00FF
    std::array<TWeight, 0x100> Cyrillic{};  // U+0400..U+04FF
    std::array<quint32, 0x2200> Punct{};    // U+0000..U+21FF: punctuation outside Latin-1, 0 when none

    TTables() {
        for (int cp = 0; cp < 0x100; ++cp)
            Latin1[cp] = {kOtherBase + quint32(cp), 0};
        for (int cp = 0; cp < 0x20; ++cp)
            Latin1[cp] = {0, 0};
        Latin1[0x7f] = {0, 0};
        for (int cp = 0x80; cp < 0xa0; ++cp)
            Latin1[cp] = {0, 0};
        Latin1[0xad] = {0, 0};  // soft hyphen
        // Tab, line feed, vertical tab, form feed, carriage return, space, no-break space.
        const int spaces[] = {0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x20, 0xa0};
        for (int i = 0; i < int(std::size(spaces)); ++i)
            Latin1[spaces[i]] = {kSpaceBase + quint32(i), 0};
        for (int i = 0; kPunctuation[i]; ++i) {
            const char16_t cp = kPunctuation[i];
            if (cp < 0x100)
                Latin1[cp] = {kPunctBase + quint32(i), 0};
            else
                Punct[cp] = kPunctBase + quint32(i);
        }
        for (int d = 0; d < 10; ++d)
            Latin1['0' + d] = {kDigitBase + quint32(d), 0};
        // Superscript digits differ from digits only in case-like (tertiary) ways, which do not count here.
        Latin1[0xb9] = Latin1['1'];
        Latin1[0xb2] = Latin1['2'];
        Latin1[0xb3] = Latin1['3'];
        for (int l = 0; l < 26; ++l) {
            Latin1['a' + l] = {kLatinBase + quint32(l), 0};
            Latin1['A' + l] = {kLatinBase + quint32(l), 0};
        }
        // Accented Latin-1 letters: their base letter, told apart at the secondary level.
        const char* accented =
            "AAAAAAACEEEEIIII"
            "DNOOOOO*OUUUUYTs"
            "aaaaaaaceeeeiiii"
            "dnooooo/ouuuuyty";
        for (int cp = 0xc0; cp < 0x100; ++cp) {
            const char base = accented[cp - 0xc0];
            if (base == '*' || base == '/')
                continue;  // × and ÷ keep their own weights
            const char lower = char(base | 0x20);
            Latin1[cp] = {kLatinBase + quint32(lower - 'a'), quint8(1 + (cp & 0x1f))};
        }
        for (int cp = 0; cp < 0x100; ++cp)
            Cyrillic[cp] = {kOtherBase + 0x400 + quint32(cp), 0};
        for (int i = 0; kCyrillic[i]; ++i) {
            const char16_t lower = kCyrillic[i];
            const TWeight w{kCyrillicBase + quint32(i) * 2, 0};
            Cyrillic[lower - 0x400] = w;
            Cyrillic[Upper(lower) - 0x400] = w;
        }
        const auto variant = [this](char16_t lower, char16_t of) {
            const TWeight w{Cyrillic[of - 0x400].Primary, 1};
            Cyrillic[lower - 0x400] = w;
            Cyrillic[Upper(lower) - 0x400] = w;
        };
        variant(u'ё', u'е');
        variant(u'ґ', u'г');
        variant(u'ў', u'у');
    }

    // Upper case of a Cyrillic lower-case letter: U+0430..U+044F, U+0450..U+045F, then pairs from U+0460.
    static char16_t Upper(char16_t lower) {
        return lower >= 0x460 ? lower - 1 : lower >= 0x450 ? lower - 0x50 : lower - 0x20;
    }
};

const TTables& Tables() {
    static const TTables tables;
    return tables;
}

// Decodes one code point; invalid bytes come out one by one as U+DC80.. (sorting after everything).
inline quint32 Next(const unsigned char*& p, const unsigned char* end) {
    const unsigned c = *p++;
    if (c < 0x80)
        return c;
    int extra = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : c >= 0xc0 ? 1 : -1;
    if (extra < 0 || end - p < extra)
        return 0xdc00 + c;
    quint32 cp = c & (0x3f >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xc0) != 0x80)
            return 0xdc00 + c;
        cp = (cp << 6) | (p[i] & 0x3f);
    }
    p += extra;
    return cp;
}

// The weights of one code point; "№" expands to "No" as ICU does.
inline int Weigh(quint32 cp, TWeight out[2]) {
    const TTables& t = Tables();
    if (cp < 0x100) {
        out[0] = t.Latin1[cp];
        return 1;
    }
    if (cp >= 0x400 && cp < 0x500) {
        out[0] = t.Cyrillic[cp - 0x400];
        return 1;
    }
    if (cp == 0x2116) {
        out[0] = t.Latin1['N'];
        out[1] = t.Latin1['o'];
        return 2;
    }
    if (cp < 0x2200 && t.Punct[cp]) {
        out[0] = {t.Punct[cp], 0};
        return 1;
    }
    out[0] = {kOtherBase + cp, 0};
    return 1;
}

// Walks a string's non-ignorable weights.
class TWeightStream {
public:
    TWeightStream(const char* s, int length)
        : m_p(reinterpret_cast<const unsigned char*>(s)), m_end(m_p + length) {}
    // False at the end.
    bool Get(TWeight& w) {
        for (;;) {
            if (m_pending < m_count) {
                w = m_buffer[m_pending++];
                if (w.Primary)
                    return true;
                continue;
            }
            if (m_p == m_end)
                return false;
            // ASCII needs no decoding and no expansion.
            if (*m_p < 0x80) {
                w = Tables().Latin1[*m_p++];
                if (w.Primary)
                    return true;
                continue;
            }
            m_count = Weigh(Next(m_p, m_end), m_buffer);
            m_pending = 0;
        }
    }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
    TWeight m_buffer[2];
    int m_count = 0;
    int m_pending = 0;
};

int CollationCallback(void*, int aLength, const void* a, int bLength, const void* b) {
    return CompareRussian(static_cast<const char*>(a), aLength, static_cast<const char*>(b), bLength);
}

}  // namespace

int CompareRussian(const char* a, int aLength, const char* b, int bLength) {
    // Weights are per code point (no contractions), so an identical byte prefix weighs the same on both
    // sides: start at the code point where the bytes first differ. Names share long prefixes
    // ("Телевизор Вектра ..."), which makes this most of the work saved.
    int same = 0;
    const int shorter = aLength < bLength ? aLength : bLength;
    while (same < shorter && a[same] == b[same])
        ++same;
    if (same == aLength && same == bLength)
        return 0;
    const char* longer = same < aLength ? a : b;  // one of them goes on past `same`
    while (same > 0 && (static_cast<unsigned char>(longer[same]) & 0xc0) == 0x80)
        --same;
    a += same;
    b += same;
    aLength -= same;
    bLength -= same;
    {
        TWeightStream sa(a, aLength), sb(b, bLength);
        TWeight wa, wb;
        for (;;) {
            const bool ha = sa.Get(wa), hb = sb.Get(wb);
            if (!ha || !hb) {
                if (ha != hb)
                    return ha ? 1 : -1;
                break;
            }
            if (wa.Primary != wb.Primary)
                return wa.Primary < wb.Primary ? -1 : 1;
        }
    }
    // Equal at the primary level: the first accent difference decides (е before ё).
    TWeightStream sa(a, aLength), sb(b, bLength);
    TWeight wa, wb;
    while (sa.Get(wa) && sb.Get(wb)) {
        if (wa.Secondary != wb.Secondary)
            return wa.Secondary < wb.Secondary ? -1 : 1;
    }
    return 0;
}

void RegisterRussianCollation(sqlite3* db) {
    Tables();  // build the tables once, before any statement needs them
    const int rc = sqlite3_create_collation_v2(db, kRussianCollationName, SQLITE_UTF8, nullptr,
                                               &CollationCallback, nullptr);
    if (rc != SQLITE_OK)
        throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
}
