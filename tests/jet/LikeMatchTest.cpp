#include "JetTestSupport.h"

#include <gtest/gtest.h>

using dao::jet::likeMatch;

namespace {

struct LikeCase {
    const char *value;
    const char *pattern;
    bool matches;
};

class LikeMatch : public ::testing::TestWithParam<LikeCase> {};

TEST_P(LikeMatch, FollowsJetWildcards)
{
    EXPECT_EQ(likeMatch(QString::fromUtf8(GetParam().value), QString::fromUtf8(GetParam().pattern)),
              GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LikeMatch,
    ::testing::Values(
        LikeCase{"Rossi", "ross*", true}, LikeCase{"Rossi", "R?ssi", true}, LikeCase{"Rossi", "R?si", false},
        LikeCase{"ROSSI", "rossi", true}, LikeCase{"Rossì", "rossi", false}, LikeCase{"ROSSÌ", "rossì", true},
        LikeCase{"abc12", "abc##", true}, LikeCase{"abc1x", "abc##", false}, LikeCase{"b", "[abc]", true},
        LikeCase{"d", "[abc]", false}, LikeCase{"M", "[a-z]", true}, LikeCase{"5", "[!a-z]", true},
        LikeCase{"m", "[!a-z]", false}, LikeCase{"7", "[a-c0-9]", true}, LikeCase{"-", "[a-]", true},
        LikeCase{"[x]yz", "[[]x*", true}, LikeCase{"x", "[[]x*", false}, LikeCase{"a*b", "a[*]b", true},
        LikeCase{"axb", "a[*]b", false}, LikeCase{"a?b", "a[?]b", true}, LikeCase{"axb", "a[?]b", false},
        LikeCase{"a#", "a[#]", true}, LikeCase{"a1", "a[#]", false}, LikeCase{"a]", "a]", true},
        LikeCase{"ab", "a[]b", true}, LikeCase{"", "*", true}, LikeCase{"", "", true}, LikeCase{"a", "", false},
        LikeCase{"", "?", false}, LikeCase{"abc", "a*c", true}, LikeCase{"abcx", "a*c", false},
        LikeCase{"aXbXc", "*b*", true}, LikeCase{"Mario Rossi", "*ross*", true},
        LikeCase{"mississippi", "*sip*i", true}, LikeCase{"mississippi", "m*iss*ppi", true},
        LikeCase{"mississippi", "m*x*i", false}, LikeCase{"a[b", "a[b", true}, LikeCase{"Città", "citt?", true},
        LikeCase{"😀x", "?x", true}));

// A naive backtracking matcher would take exponential time here; this one returns.
TEST(LikeMatchLong, ManyStarsOverLongTextStayLinearPerStar)
{
    const QString text(20000, u'a');
    EXPECT_FALSE(likeMatch(text, QStringLiteral("*a*a*a*a*a*a*a*a*a*a*b")));
    EXPECT_TRUE(likeMatch(text + u'b', QStringLiteral("*a*a*a*a*a*a*a*a*a*a*b")));
}

} // namespace
