#include "JetTestSupport.h"

#include <gtest/gtest.h>

using dao::jet::parseSelect;
using jettest::errorNumberOf;

namespace {

struct SelectCase {
    const char *text;
    const char *table;
    const char *condition;
    const char *sort;
};

class SelectSplit : public ::testing::TestWithParam<SelectCase> {};

TEST_P(SelectSplit, SeparatesTableConditionAndSort)
{
    const auto parts = parseSelect(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(parts.table.toStdString(), GetParam().table);
    EXPECT_EQ(parts.condition.toStdString(), GetParam().condition);
    EXPECT_EQ(parts.sort.toStdString(), GetParam().sort);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SelectSplit,
    ::testing::Values(
        SelectCase{"Select * From [Nucleo] Where ([ID_SCHEDA]  = 17) Order By [ID_PERSONA] ASC ;", "Nucleo",
                   "([ID_SCHEDA]  = 17)", "[ID_PERSONA] ASC"},
        SelectCase{"  select * from Nucleo where [ID_SCHEDA] IS NULL  ", "Nucleo", "[ID_SCHEDA] IS NULL", ""},
        SelectCase{"SELECT * FROM [Schede] ORDER BY Fascia, Capofamiglia;", "Schede", "", "Fascia, Capofamiglia"},
        SelectCase{"Select * From [Nucleo]", "Nucleo", "", ""},
        SelectCase{R"(Select * From [Nucleo] Where [Nome] = "x Order By y" Order By Nome;)", "Nucleo",
                   R"([Nome] = "x Order By y")", "Nome"},
        SelectCase{"Select * From [Nucleo] Where [Nome] = 'a;b' ;", "Nucleo", "[Nome] = 'a;b'", ""}));

class SelectRefused : public ::testing::TestWithParam<const char *> {};

TEST_P(SelectRefused, RaisesUnsupportedText)
{
    EXPECT_EQ(errorNumberOf([] { parseSelect(QString::fromUtf8(GetParam())); }), 3075);
}

INSTANTIATE_TEST_SUITE_P(Texts, SelectRefused,
                         ::testing::Values("Select Nome From [Nucleo]", "Delete * From [Nucleo]",
                                           "Select * From [Nucleo] Where [a] = 1; Drop Table Nucleo",
                                           "Select * From [Nucleo] Where Order By Nome",
                                           "Select * From [Nucleo] Where [a] = 1 Order By", "Select * From",
                                           "Select * From [Nucleo];;", "Select * From [Nucleo] Where [a] = \"x",
                                           "Select * From [Nucleo], [Schede]", ""));

} // namespace
