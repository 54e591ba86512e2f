// Sort orders saved as one comma text come back item for item.

#include "db/CommaText.h"

#include <gtest/gtest.h>

namespace {

TEST(CommaText, ItemsWithBlanksOrQuotesAreQuotedAndComeBackWhole)
{
    const QStringList items{"Capofamiglia", "[Scad_ISEE] DESC", "a,b", "say \"hi\""};
    const QString text = toCommaText(items);
    EXPECT_EQ(text, QStringLiteral("Capofamiglia,\"[Scad_ISEE] DESC\",\"a,b\",\"say \"\"hi\"\"\""));
    EXPECT_EQ(fromCommaText(text), items);
    EXPECT_EQ(toCommaText({}), QString());
}

TEST(CommaText, SplitsAtCommasAndBlanksOutsideQuotesAndDropsEmptyPieces)
{
    EXPECT_EQ(fromCommaText(QStringLiteral(" Fascia , Capofamiglia ")), (QStringList{"Fascia", "Capofamiglia"}));
    EXPECT_EQ(fromCommaText(QStringLiteral("[Fascia] DESC")), (QStringList{"[Fascia]", "DESC"}));
    EXPECT_EQ(fromCommaText(QStringLiteral("a,,b,")), (QStringList{"a", "b"}));
    EXPECT_EQ(fromCommaText(QStringLiteral("\"unterminated item")), QStringList{"unterminated item"});
}

} // namespace
