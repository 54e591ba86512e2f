#pragma once
// The engine's text order as a byte string: two texts compare as their keys do (bytewise,
// as bytea compares on the server) exactly when compareText orders them so, and they are
// equal under compareText exactly when their keys are equal. The server computes the same
// key with jet_key(text), made from the same table (ServerFunctions.cpp), so a comparison
// or a sort on the server gives the order of the archive file.
//
// Key = the primaries (the letters with case and accents taken off) in UTF-8, a zero byte,
// then the secondaries (one accent rank per primary, in private-use characters from
// U+E000, the rank of "no accent" last ones dropped). Texts are composed (NFC) first, so
// "e" followed by a combining acute weighs as "é"; a combining mark that composes with
// nothing counts as a character of its own.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <vector>

namespace dao::pg {

// U+E000 + rank: the secondary rank characters; U+E000 itself is "no accent".
inline constexpr char32_t kRankBase = 0xE000;

// A code point whose key part is not simply its lower-case letter without accent.
struct KeyEntry {
    char32_t cp = 0;
    QString primaries;    // one or two characters
    QString secondaries;  // one rank character per primary
};

struct KeyTable {
    std::vector<KeyEntry> singles;     // one primary: the server maps them with translate()
    std::vector<KeyEntry> expansions;  // two primaries ("ß" as "ss"): the server uses replace()
};

const KeyTable &keyTable();

QByteArray textKey(QStringView text);

} // namespace dao::pg
