#pragma once
// Text as an Access 2000 file stores it: UTF-16 little-endian, or "compressed" behind the
// mark 0xFF 0xFE, in runs of one-byte characters (the low byte of the UTF-16 unit) and of
// UTF-16 units, each zero byte switching from one kind of run to the other.

#include <QString>

#include <cstddef>

namespace accessdb {

QString jet4Text(const unsigned char *bytes, size_t length);

} // namespace accessdb
