#include "JetTestSupport.h"
#include "engine/sqlite/SqliteDialect.h"

#include <gtest/gtest.h>

using jettest::errorNumberOf;
using jettest::personColumns;

namespace {

struct SortCase {
    const char *sort;
    const char *sql;
};

class SortTranslation : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTranslation, GivesOrderByList)
{
    EXPECT_EQ(dao::sqlite::dialect().sort(QString::fromUtf8(GetParam().sort), personColumns()).toStdString(), GetParam().sql);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SortTranslation,
    ::testing::Values(SortCase{"Fascia, Capofamiglia ", R"("Fascia" COLLATE JET ASC, "Capofamiglia" COLLATE JET ASC)"},
                      SortCase{"[Ordine] ASC ", R"("Ordine" COLLATE JET ASC)"},
                      SortCase{"[ID_PERSONA] ASC", R"("ID_PERSONA" COLLATE JET ASC)"},
                      SortCase{"Capofamiglia ", R"("Capofamiglia" COLLATE JET ASC)"},
                      SortCase{"nome desc, [cognome] Asc", R"("Nome" COLLATE JET DESC, "Cognome" COLLATE JET ASC)"},
                      SortCase{"[Nucleo].[Ordine] DESC", R"("Ordine" COLLATE JET DESC)"},
                      SortCase{"[Strano\"Nome]", R"("Strano""Nome" COLLATE JET ASC)"}, SortCase{"", ""},
                      SortCase{"   ", ""}));

struct SortRefusal {
    const char *sort;
    int number;
};

class SortRefused : public ::testing::TestWithParam<SortRefusal> {};

TEST_P(SortRefused, RaisesEngineError)
{
    EXPECT_EQ(errorNumberOf([] { dao::sqlite::dialect().sort(QString::fromUtf8(GetParam().sort), personColumns()); }),
              GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Texts, SortRefused,
                         ::testing::Values(SortRefusal{"Manca", 3061}, SortRefusal{"[Nome], [Manca] DESC", 3061},
                                           SortRefusal{"Nome,", 3075}, SortRefusal{", Nome", 3075},
                                           SortRefusal{"Nome ASC DESC", 3075}, SortRefusal{"Nome; DROP TABLE x", 3075},
                                           SortRefusal{"Nome Cognome", 3075}, SortRefusal{"1", 3075},
                                           SortRefusal{"LCASE(Nome)", 3075}, SortRefusal{"[Nome", 3075}));

} // namespace
