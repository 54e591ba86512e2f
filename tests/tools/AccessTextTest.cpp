// Access 2000 texts as the file stores them, in the forms a file written by Access itself
// holds and the tests' writer does not make: compressed runs switching to UTF-16 and back,
// and characters outside the basic plane.

#include "import/JetText.h"

#include <gtest/gtest.h>

namespace {

QString decoded(const QByteArray &bytes)
{
    return accessdb::jet4Text(reinterpret_cast<const unsigned char *>(bytes.constData()), size_t(bytes.size()));
}

TEST(AccessText, CompressedRunsSwitchAtEveryZeroByte)
{
    // "Né" one byte each, then "Ωб" as UTF-16, then " à" one byte each again.
    const QByteArray mixed("\xff\xfe" "N\xe9" "\x00" "\xa9\x03\x31\x04" "\x00" " \xe0", 12);
    EXPECT_EQ(decoded(mixed), QStringLiteral("NéΩб à"));
    // Ends inside UTF-16: the last unit is whole.
    EXPECT_EQ(decoded(QByteArray("\xff\xfe" "a\x00\x2f\x06", 6)), QStringLiteral("aد"));
    // A dangling half unit at the end is dropped, not read past.
    EXPECT_EQ(decoded(QByteArray("\xff\xfe" "a\x00\x2f", 5)), QStringLiteral("a"));
}

TEST(AccessText, UncompressedTextKeepsSurrogatePairs)
{
    const QString text = QStringLiteral("Zoë 😀");
    const QByteArray bytes(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    EXPECT_EQ(decoded(bytes), text);
    EXPECT_EQ(decoded(QByteArray("\xff\xfe", 2)), QString());
}

} // namespace
