#include "JetTestSupport.h"
#include "engine/jet/TextOrder.h"

#include <QStringList>
#include <algorithm>
#include <random>
#include <gtest/gtest.h>

using dao::jet::compareText;

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

int compareAsUtf8(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    return dao::jet::compareUtf8(x.constData(), x.size(), y.constData(), y.size());
}

struct OrderCase {
    const char *a;
    const char *b;
    int expected;  // sign of compare(a, b)
};

class TextOrder : public ::testing::TestWithParam<OrderCase> {};

// Both entry points, in both directions, must agree: the collation sorts the rows that
// compareText is used to reason about.
TEST_P(TextOrder, ComparesAsTheEngineDoes)
{
    const QString a = QString::fromUtf8(GetParam().a);
    const QString b = QString::fromUtf8(GetParam().b);
    EXPECT_EQ(sign(compareText(a, b)), GetParam().expected);
    EXPECT_EQ(sign(compareText(b, a)), -GetParam().expected);
    EXPECT_EQ(sign(compareAsUtf8(a, b)), GetParam().expected);
    EXPECT_EQ(sign(compareAsUtf8(b, a)), -GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextOrder,
    ::testing::Values(OrderCase{"a", "à", -1}, OrderCase{"à", "b", -1}, OrderCase{"Rossi", "ROSSI", 0},
                      OrderCase{"", "", 0}, OrderCase{"", "a", -1}, OrderCase{"", " ", -1},
                      OrderCase{"Àlfa", "alfa", 1}, OrderCase{"àlfa", "alfb", -1}, OrderCase{"e", "é", -1},
                      OrderCase{"é", "f", -1}, OrderCase{"É", "é", 0}, OrderCase{"Perché", "PERCHE", 1},
                      OrderCase{"Citta", "Città", -1}, OrderCase{"Città", "Cittadino", -1},
                      OrderCase{"Müller", "Mulm", -1}, OrderCase{"n", "ñ", -1}, OrderCase{"ñ", "o", -1},
                      OrderCase{"ss", "ß", -1}, OrderCase{"ß", "st", -1}, OrderCase{"Çelik", "cemento", -1},
                      OrderCase{"abc", "abcd", -1}, OrderCase{"10", "9", -1}, OrderCase{"a b", "ab", -1},
                      OrderCase{"[", "A", -1}, OrderCase{"_", "z", -1}, OrderCase{"e\u0301", "é", 0},
                      OrderCase{"e\u0301", "f", -1}, OrderCase{"à", "á", -1}, OrderCase{"Ärger", "arger", 1},
                      OrderCase{"Øre", "ore", 1}, OrderCase{"Øre", "orf", -1}, OrderCase{"Ελλάδα", "ΕΛΛΆΔΑ", 0}));

TEST(TextOrderSort, PutsAccentedNamesBesideTheirBaseLetters)
{
    QStringList names = {QStringLiteral("Zeta"),  QStringLiteral("émile"), QStringLiteral("Bianchi"),
                         QStringLiteral("Àlfa"),  QStringLiteral("Emile"), QStringLiteral("alfa"),
                         QStringLiteral("Ábaco"), QStringLiteral(""),      QStringLiteral("Éva")};
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return compareText(a, b) < 0; });
    EXPECT_EQ(names, (QStringList{QStringLiteral(""), QStringLiteral("Ábaco"), QStringLiteral("alfa"),
                                  QStringLiteral("Àlfa"), QStringLiteral("Bianchi"), QStringLiteral("Emile"),
                                  QStringLiteral("émile"), QStringLiteral("Éva"), QStringLiteral("Zeta")}));
}

// The UTF-8 order skips plain ASCII the short way: texts mixing ASCII with accented letters,
// combining marks after ASCII letters and letters that sort as two must still be ordered as
// the UTF-16 order, which reads every character in full, orders them.
TEST(TextOrderUtf8, AgreesWithTheUtf16OrderOnMixedTexts)
{
    const QStringList pieces = {"a", "A", "b", "e", "E", "\u0301", "é", "É", "ß", "ss", "S", " ", "1", "_", "[", "Ø", "ñ", "n"};
    std::mt19937 random(35);
    const auto text = [&] {
        QString out;
        for (int n = int(random() % 6); n > 0; --n)
            out += pieces[int(random() % unsigned(pieces.size()))];
        return out;
    };
    for (int i = 0; i < 20000 && !::testing::Test::HasFailure(); ++i) {
        const QString a = text();
        const QString b = random() % 4 == 0 ? a.toUpper() : text();
        EXPECT_EQ(sign(compareAsUtf8(a, b)), sign(compareText(a, b))) << a.toStdString() << " / " << b.toStdString();
    }
}

TEST(TextOrderUtf8, ToleratesMalformedBytes)
{
    const char broken[] = "ab\xC3";  // truncated two-byte sequence
    EXPECT_EQ(dao::jet::compareUtf8(broken, 3, broken, 3), 0);
    EXPECT_LT(dao::jet::compareUtf8("ab", 2, broken, 3), 0);
    EXPECT_EQ(dao::jet::compareUtf8(nullptr, 0, "", 0), 0);
}

} // namespace
