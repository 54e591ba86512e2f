#include "JetTestSupport.h"
#include "engine/sqlite/SqliteDialect.h"

#include <gtest/gtest.h>

using dao::Date;
using dao::Value;
using jettest::errorNumberOf;
using jettest::personColumns;

namespace {

struct Translation {
    const char *condition;
    const char *sql;
    std::vector<Value> params;
};

class ConditionTranslation : public ::testing::TestWithParam<Translation> {};

TEST_P(ConditionTranslation, GivesExactSqlAndParams)
{
    const auto fragment = dao::sqlite::dialect().condition(QString::fromUtf8(GetParam().condition), personColumns());
    EXPECT_EQ(fragment.sql.toStdString(), GetParam().sql);
    EXPECT_EQ(fragment.params, GetParam().params);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ConditionTranslation,
    ::testing::Values(
        Translation{"([ID_SCHEDA]  = 17)", R"(("ID_SCHEDA" = ? COLLATE JET))", {qint64(17)}},
        Translation{"([ID_SCHEDA] IS NULL)", R"(("ID_SCHEDA" IS NULL))", {}},
        Translation{"[id_scheda] is not null", R"(("ID_SCHEDA" IS NOT NULL))", {}},
        Translation{R"(([Nome]  = "Al ""Capo"""))", R"(("Nome" = ? COLLATE JET))", {QStringLiteral("Al \"Capo\"")}},
        Translation{"[Nome] = 'l''Aquila'", R"(("Nome" = ? COLLATE JET))", {QStringLiteral("l'Aquila")}},
        Translation{"[DataNascita] = #03/07/2024#", R"(("DataNascita" = ? COLLATE JET))", {Date{45358}}},
        Translation{R"(LCASE([Cognome]) = "rossi")", R"((jet_lcase("Cognome") = ? COLLATE JET))", {"rossi"}},
        Translation{R"(ucase(Nome) Like "A*")", R"(jet_like(jet_ucase("Nome"), ?))", {"A*"}},
        Translation{R"([Nome] LIKE "[[]x*")", R"(jet_like("Nome", ?))", {"[[]x*"}},
        Translation{R"([Nome] NOT LIKE "a?")", R"((NOT jet_like("Nome", ?)))", {"a?"}},
        Translation{"[Capofamiglia] = True AND NOT [Nome] = Null",
                    R"((("Capofamiglia" = ? COLLATE JET) AND (NOT ("Nome" = NULL COLLATE JET))))", {qint64(-1)}},
        Translation{"[Capofamiglia] <> False", R"(("Capofamiglia" <> ? COLLATE JET))", {qint64(0)}},
        Translation{"[Ordine] = 1 OR [Ordine] = 2 AND [Fascia] = 3",
                    R"((("Ordine" = ? COLLATE JET) OR (("Ordine" = ? COLLATE JET) AND ("Fascia" = ? COLLATE JET))))",
                    {qint64(1), qint64(2), qint64(3)}},
        Translation{"([Ordine] = 1 OR [Ordine] = 2) AND [Fascia] = 3",
                    R"(((("Ordine" = ? COLLATE JET) OR ("Ordine" = ? COLLATE JET)) AND ("Fascia" = ? COLLATE JET)))",
                    {qint64(1), qint64(2), qint64(3)}},
        Translation{"[Nucleo].[ID_SCHEDA] >= -5", R"(("ID_SCHEDA" >= ? COLLATE JET))", {qint64(-5)}},
        Translation{"Importo < 12.5", R"(("Importo" < ? COLLATE JET))", {12.5}},
        Translation{"(5) <= ([ID_SCHEDA])", R"(((?) <= ("ID_SCHEDA") COLLATE JET))", {qint64(5)}},
        Translation{"((([ID_SCHEDA] > 1)))", R"(("ID_SCHEDA" > ? COLLATE JET))", {qint64(1)}},
        Translation{"NOT [Capofamiglia]", R"((NOT "Capofamiglia"))", {}},
        Translation{R"(5 >= LCASE(UCASE("x")))", R"((? >= jet_lcase(jet_ucase(?)) COLLATE JET))", {qint64(5), "x"}},
        Translation{"[Nome] = Cognome", R"(("Nome" = "Cognome" COLLATE JET))", {}},
        Translation{R"([Strano"Nome] = 1)", R"(("Strano""Nome" = ? COLLATE JET))", {qint64(1)}}));

// Whatever a typed value contains, it travels as a parameter and the SQL stays the same.
class HostileValue : public ::testing::TestWithParam<const char *> {};

TEST_P(HostileValue, EndsUpInParamsOnly)
{
    const QString value = QString::fromUtf8(GetParam());
    QString doubled = value;
    doubled.replace(u'"', QStringLiteral("\"\""));
    QString single = value;
    single.replace(u'\'', QStringLiteral("''"));

    for (const QString &condition : {QStringLiteral("[Nome] = \"%1\"").arg(doubled),
                                     QStringLiteral("[Nome] = '%1'").arg(single)}) {
        const auto fragment = dao::sqlite::dialect().condition(condition, personColumns());
        EXPECT_EQ(fragment.sql, QStringLiteral("(\"Nome\" = ? COLLATE JET)"));
        EXPECT_EQ(fragment.params, std::vector<Value>{value});
    }
}

INSTANTIATE_TEST_SUITE_P(Injections, HostileValue,
                         ::testing::Values("x\"; DROP TABLE Nucleo; --", "'; DELETE FROM Nucleo", "a;b",
                                           "Order By [ID] ) OR (1=1", "#1/1/2000#", "[Nome]", "?"));

struct Refusal {
    const char *condition;
    int number;
};

class ConditionRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ConditionRefusal, RaisesEngineError)
{
    EXPECT_EQ(errorNumberOf([] { dao::sqlite::dialect().condition(QString::fromUtf8(GetParam().condition), personColumns()); }),
              GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConditionRefusal,
    ::testing::Values(Refusal{"1; DROP TABLE x", 3075}, Refusal{"[ID_SCHEDA] = 1; DROP TABLE Nucleo", 3075},
                      Refusal{"[ID_SCHEDA] = 1) OR (1=1", 3075}, Refusal{"([ID_SCHEDA] = 1", 3075},
                      Refusal{"[ID_SCHEDA] = 1 UNION SELECT * FROM x", 3075}, Refusal{"SELECT 1", 3075},
                      Refusal{"[ID_SCHEDA] = 1 -- commento", 3075}, Refusal{"/* x */ [ID_SCHEDA] = 1", 3075},
                      Refusal{"[Sconosciuto] = 1", 3061}, Refusal{"Sconosciuto = 1", 3061},
                      Refusal{"[Nome] = [Nucleo].[Manca]", 3061}, Refusal{"LEN([Nome]) = 3", 3075},
                      Refusal{"[Nome] = \"aperto", 3075}, Refusal{"[Nome] = 'aperto", 3075},
                      Refusal{"[Nome = 1", 3075}, Refusal{"[ID_SCHEDA] = 1 [Nome]", 3075}, Refusal{"", 3075},
                      Refusal{"   ", 3075}, Refusal{"[DataNascita] = #13/01/2024#", 3075},
                      Refusal{"[DataNascita] = #1/1/2024", 3075}, Refusal{"[ID_SCHEDA] IS 1", 3075},
                      Refusal{"[ID_SCHEDA] = 0x10", 3075}, Refusal{"([ID_SCHEDA] = 1) = 2", 3075},
                      Refusal{"[ID_SCHEDA] == 1", 3075}, Refusal{"[ID_SCHEDA] = 1 AND", 3075},
                      Refusal{"[Nome] = Drop", 3075}, Refusal{"[ID_SCHEDA] IN (1, 2)", 3075},
                      Refusal{"LCASE([Nome] = 1)", 3075}, Refusal{"[] = 1", 3075}));

TEST(ConditionErrors, DescribeTheProblemInItalianFromTheDatabase)
{
    try {
        dao::sqlite::dialect().condition(QStringLiteral("[Manca] = 1"), personColumns());
        FAIL() << "no error";
    } catch (const dao::EngineError &error) {
        EXPECT_EQ(error.source(), QStringLiteral("DAO.Database"));
        EXPECT_EQ(error.description(), QStringLiteral("Parametri insufficienti: il campo 'Manca' non esiste."));
    }
    try {
        dao::sqlite::dialect().condition(QStringLiteral("[Nome] = 1 ;"), personColumns());
        FAIL() << "no error";
    } catch (const dao::EngineError &error) {
        EXPECT_EQ(error.source(), QStringLiteral("DAO.Database"));
        EXPECT_TRUE(error.description().startsWith(QStringLiteral("Errore di sintassi nell'espressione: ")));
    }
}

} // namespace
