#pragma once
// The engine's text order over UTF-8, as the registered collation needs it. compareText in
// JetDialect.h is the same order over UTF-16.

#include <QtGlobal>

namespace dao::jet {

int compareUtf8(const char *a, qsizetype aSize, const char *b, qsizetype bSize) noexcept;

} // namespace dao::jet
