#pragma once
// Numbers as the layout file holds them: decimal integers, or hexadecimal after "0x", "0X"
// or "$"; anything else, or a number outside 32 bits, is not a number.

#include <QString>
#include <QStringView>
#include <optional>

namespace ininumbers {

std::optional<int> toInteger(QStringView text);
// The integer of the text, or the fallback when it is none.
int toIntegerOr(QStringView text, int fallback);

} // namespace ininumbers
