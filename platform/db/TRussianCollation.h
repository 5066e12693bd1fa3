// The text order of the shop's database: Russian alphabetical order without regard to case, ё beside е,
// as a server with a Cyrillic case-insensitive, accent-sensitive collation sorts. Compares UTF-8 directly
// (no QString per comparison) so that sorting a large list costs about what the engine's own order costs.
#pragma once

#include <QByteArray>

struct sqlite3;

// The collation's name as the schema declares it on every text column.
inline constexpr const char kRussianCollationName[] = "RUSSIAN_CI";

// < 0, 0, > 0 like strcmp. Primary level: spaces, punctuation, digits, Cyrillic, Latin (case folded,
// ё = е); secondary level breaks primary ties (е before ё, plain Latin before accented). Case never counts.
int CompareRussian(const char* a, int aLength, const char* b, int bLength);
inline int CompareRussian(const QByteArray& a, const QByteArray& b) {
    return CompareRussian(a.constData(), int(a.size()), b.constData(), int(b.size()));
}

// Registers the collation on one SQLite connection; throws EDatabaseError when SQLite refuses.
void RegisterRussianCollation(sqlite3* db);
