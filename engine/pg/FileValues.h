#pragma once
// How the archive file's storage library treats a literal when a condition mixes kinds,
// so the server's translation can decide the same at translation time: a text read as a
// number, a number written as text, a value standing as a condition, two literals compared.

#include "engine/Value.h"

#include <QString>
#include <optional>

namespace dao::pg {

// A literal's kind in the file's order of kinds: null < numbers < texts < binary.
enum class ValueClass { Null = 0, Number = 1, Text = 2, Binary = 3 };
ValueClass classOf(const Value &value);

// The text read as a number when it is one as a whole (blanks around it allowed).
std::optional<Value> numberOfText(const QString &text);
// A number (dates are their day numbers) written as text; a text as it is.
QString textOfValue(const Value &value);
// A real number as the file writes it: 15 significant digits, always a decimal point.
QString realText(double value);
// Whether a literal standing as a condition holds; no value for null.
std::optional<bool> truthOf(const Value &value);
// The order of two literals, no conversion between kinds; no value when one is null.
std::optional<int> compareValues(const Value &left, const Value &right);
// Whether `order` (the sign of a comparison) satisfies op (= <> < > <= >=).
bool satisfies(int order, QStringView op);

} // namespace dao::pg
