#pragma once
// The engine's text order over UTF-8, as the registered collation needs it. compareText in
// JetDialect.h is the same order over UTF-16.

#include <QtGlobal>
#include <cstdint>

namespace dao::jet {

// What one code point weighs when it stands alone (no combining marks after it): one or two
// primaries (a letter that sorts as two, such as "ß") and the secondary of the first; the
// second primary has secondary 0. Storages that sort by a key derive it from these.
struct Weight {
    char32_t primary[2] = {0, 0};
    int count = 1;
    uint32_t secondary = 0;
};
Weight weightOf(char32_t cp);

int compareUtf8(const char *a, qsizetype aSize, const char *b, qsizetype bSize) noexcept;

} // namespace dao::jet
