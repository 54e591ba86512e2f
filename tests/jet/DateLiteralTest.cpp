#include "JetTestSupport.h"

#include <gtest/gtest.h>

using dao::jet::parseDateLiteral;
using jettest::errorNumberOf;

namespace {

struct DateCase {
    const char *text;
    double days;
};

class DateLiteral : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateLiteral, GivesDaysSinceEpoch)
{
    EXPECT_DOUBLE_EQ(parseDateLiteral(QString::fromUtf8(GetParam().text)).days, GetParam().days);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DateLiteral,
    ::testing::Values(DateCase{"03/07/2024", 45358}, DateCase{"3/7/2024", 45358}, DateCase{"12/30/1899", 0},
                      DateCase{"2/29/2024", 45351}, DateCase{"1/1/00", 36526}, DateCase{"12/31/1899 12:00:00", 1.5},
                      DateCase{"03/07/2024 18:00:00", 45358.75}, DateCase{" 1/1/2000  06:00 ", 36526.25},
                      DateCase{"12/29/1899 06:00:00", -1.25}, DateCase{"06:00:00", 0.25}, DateCase{"0:00:00", 0}));

class BadDate : public ::testing::TestWithParam<const char *> {};

TEST_P(BadDate, IsRefused)
{
    EXPECT_EQ(errorNumberOf([] { parseDateLiteral(QString::fromUtf8(GetParam())); }), 3075);
}

INSTANTIATE_TEST_SUITE_P(Forms, BadDate,
                         ::testing::Values("13/01/2024", "01/32/2024", "2/30/2024", "2/29/2023", "0/1/2024",
                                           "1/1/2024 24:00:00", "1/1/2024 10:60", "10:00:60", "1/1", "1-1-2024",
                                           "1/1/2024 10:00:00 x", "abc", "", "1/1/+2024"));

} // namespace
