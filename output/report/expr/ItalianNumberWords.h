#pragma once
// Numbers in Italian words, as written on a cheque or a receipt: one word below a million
// ("duemilaventisei", "ventunmila"), millions and billions apart ("un milione",
// "due milioni trecentomila"), "venti" and the other tens losing their
// vowel before "uno" and "otto" ("ventuno", "trentotto"), "cento" before "ottanta"
// ("centottanta"), a final "tre" accented in compounds ("ventitré", "centotré"). Negative
// numbers start with "meno "; cents follow a slash as two digits ("dodici/50"), after
// rounding to the cent. Whole values from -999 999 999 999 to 999 999 999 999.

#include <QString>
#include <optional>

namespace report {

// None when the number is not finite or out of range.
std::optional<QString> italianNumberWords(double value);

} // namespace report
