// The texts the table dataset builds for the engine and its value texts, without an archive.

#include "db/DatabaseError.h"
#include "db/TField.h"
#include "engine/Constants.h"
#include "store/TArcTableCondition.h"
#include "store/TArcTableValueText.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

using arctable::KeyValue;

struct SortCase {
    QStringList items;
    QString text;
};

class SortTextTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTextTest, JoinsItemsAsWritten)
{
    EXPECT_EQ(arctable::sortText(GetParam().items), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Items, SortTextTest,
                         ::testing::Values(SortCase{{}, QString()},
                                           SortCase{{QStringLiteral("[Ordine] ASC")}, QStringLiteral("[Ordine] ASC ")},
                                           SortCase{{QStringLiteral("Capofamiglia")}, QStringLiteral("Capofamiglia ")},
                                           SortCase{{QStringLiteral("Fascia"), QStringLiteral("Capofamiglia")},
                                                    QStringLiteral("Fascia, Capofamiglia ")}));

struct TermCase {
    const char *label;
    KeyValue value;
    QString term;
};

class MasterTermTest : public ::testing::TestWithParam<TermCase> {};

TEST_P(MasterTermTest, WritesTheValuePartOfItsType)
{
    EXPECT_EQ(arctable::term(QStringLiteral("K"), arctable::masterValuePart(GetParam().value), true), GetParam().term);
}

// 17 December 2024 is day 739237; 13:05:09 is 47109000 ms.
INSTANTIATE_TEST_SUITE_P(
    Types, MasterTermTest,
    ::testing::Values(
        TermCase{"Integer", {TFieldType::ftInteger, false, QStringLiteral("17")}, QStringLiteral("([K]  = 17)")},
        TermCase{"Null", {TFieldType::ftAutoInc, true, QString()}, QStringLiteral("([K] IS NULL)")},
        TermCase{"Float", {TFieldType::ftFloat, false, QStringLiteral("2.5")}, QStringLiteral("([K]  = 2.5)")},
        TermCase{"Text", {TFieldType::ftString, false, QStringLiteral("Rossi")}, QStringLiteral("([K]  = \"Rossi\")")},
        TermCase{"TextWithQuote", {TFieldType::ftString, false, QStringLiteral("Il \"Faro\"")},
                 QStringLiteral("([K]  = \"Il \"\"Faro\"\"\")")},
        TermCase{"Memo", {TFieldType::ftMemo, false, QStringLiteral("a\"b")}, QStringLiteral("([K]  = \"a\"\"b\")")},
        TermCase{"BooleanTrue", {TFieldType::ftBoolean, false, QStringLiteral("True")}, QStringLiteral("([K]  = True)")},
        TermCase{"BooleanFalse", {TFieldType::ftBoolean, false, QStringLiteral("False")}, QStringLiteral("([K]  = False)")},
        TermCase{"Date", {TFieldType::ftDate, false, QStringLiteral("739237 0")}, QStringLiteral("([K]  = #12/17/2024#)")},
        TermCase{"Time", {TFieldType::ftTime, false, QStringLiteral("693594 47109000")},
                 QStringLiteral("([K]  = #13:05:09#)")},
        TermCase{"DateTime", {TFieldType::ftDateTime, false, QStringLiteral("739237 47109000")},
                 QStringLiteral("([K]  = #12/17/2024 13:05:09#)")}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(MasterTerm, RefusesTypesItCannotWrite)
{
    for (TFieldType type : {TFieldType::ftUnknown, TFieldType::ftVarBytes}) {
        try {
            arctable::masterValuePart({type, false, QStringLiteral("x")});
            ADD_FAILURE() << "no error";
        } catch (const EDatabaseError &error) {
            EXPECT_EQ(error.message(), QStringLiteral("Unable to build Master/Detail SQL Relationship!"));
        }
    }
}

TEST(MasterTerm, BracketsAroundEachPartOfADottedName)
{
    EXPECT_EQ(arctable::fieldNameText(QStringLiteral("Nucleo.ID_SCHEDA"), true), QStringLiteral("[Nucleo].[ID_SCHEDA]"));
    EXPECT_EQ(arctable::fieldNameText(QStringLiteral("ID_SCHEDA"), false), QStringLiteral("ID_SCHEDA"));
}

struct LocateCase {
    const char *label;
    QString typed;
    bool caseInsensitive;
    bool partialKey;
    QString valuePart;
};

class LocateTermTest : public ::testing::TestWithParam<LocateCase> {};

TEST_P(LocateTermTest, EnclosesTypedTextSafely)
{
    const LocateCase &c = GetParam();
    EXPECT_EQ(arctable::locateValuePart({TFieldType::ftString, false, c.typed}, c.caseInsensitive, c.partialKey),
              c.valuePart);
}

INSTANTIATE_TEST_SUITE_P(
    Options, LocateTermTest,
    ::testing::Values(
        LocateCase{"Plain", QStringLiteral("Alta"), false, false, QStringLiteral(" = \"Alta\"")},
        LocateCase{"CaseInsensitive", QStringLiteral("AlTa"), true, false, QStringLiteral(" = LCASE(\"alta\")")},
        LocateCase{"Partial", QStringLiteral("Al"), false, true, QStringLiteral(" LIKE \"Al*\"")},
        LocateCase{"PartialCaseInsensitive", QStringLiteral("AL"), true, true, QStringLiteral(" LIKE LCASE(\"al*\")")},
        LocateCase{"PartialWildcardsStandForThemselves", QStringLiteral("a*b?[c]#-!"), false, true,
                   QStringLiteral(" LIKE \"a[*]b[?][[]c[]][#][-][!]*\"")},
        LocateCase{"QuoteDoubled", QStringLiteral("x\" OR \"1\"=\"1"), false, false,
                   QStringLiteral(" = \"x\"\" OR \"\"1\"\"=\"\"1\"")},
        LocateCase{"QuoteDoubledInPartialCaseInsensitive", QStringLiteral("A\"B"), true, true,
                   QStringLiteral(" LIKE LCASE(\"a\"\"b*\")")}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(MasterFields, PairsAndSemicolonLists)
{
    arctable::LinkPairs pairs = arctable::parseMasterFields(
        {QStringLiteral("ID_SCHEDA -> ID_SCHEDA"), QStringLiteral("senza freccia"), QStringLiteral("A -> B")});
    EXPECT_EQ(pairs.detail, (QStringList{QStringLiteral("ID_SCHEDA"), QStringLiteral("A")}));
    EXPECT_EQ(pairs.master, (QStringList{QStringLiteral("ID_SCHEDA"), QStringLiteral("B")}));

    pairs = arctable::parseMasterFields({QStringLiteral("X;Y")});
    EXPECT_EQ(pairs.detail, (QStringList{QStringLiteral("X"), QStringLiteral("Y")}));
    EXPECT_EQ(pairs.master, pairs.detail);

    // With other lines a ";" line is only a line without separator.
    pairs = arctable::parseMasterFields({QStringLiteral("X;Y"), QStringLiteral("A -> B")});
    EXPECT_EQ(pairs.detail, QStringList{QStringLiteral("A")});
}

TEST(SelectText, WithAndWithoutOrder)
{
    EXPECT_EQ(arctable::selectText(QStringLiteral("Nucleo"), QStringLiteral("([ID_SCHEDA]  = 17)"),
                                   QStringLiteral("[ID_PERSONA] ASC ")),
              QStringLiteral("Select * From [Nucleo] Where ([ID_SCHEDA]  = 17) Order By [ID_PERSONA] ASC ;"));
    EXPECT_EQ(arctable::selectText(QStringLiteral("T"), QStringLiteral("(c)"), QString()),
              QStringLiteral("Select * From [T] Where (c);"));
    EXPECT_EQ(arctable::combineWithFilter(QStringLiteral("(c)"), QStringLiteral("f")), QStringLiteral("((c)) AND (f)"));
    EXPECT_EQ(arctable::combineWithFilter(QString(), QStringLiteral("f")), QStringLiteral("f"));
    EXPECT_EQ(arctable::combineWithFilter(QStringLiteral("c"), QString()), QStringLiteral("c"));
}

// ---- value texts ----

TEST(ValueText, DayNumbersAgreeWithTheFieldObjects)
{
    // The engine's day zero and the field objects' calendar name the same day.
    EXPECT_EQ(TField::parseDateTimeText(QStringLiteral("693594 0")).date(), QDate(1899, 12, 30));
    EXPECT_EQ(arctable::dateValueText(dao::Date{0.0}), QStringLiteral("693594 0"));
    const QDateTime moment(QDate(2024, 12, 17), QTime(13, 5, 9));
    EXPECT_EQ(arctable::engineDate(TField::dateTimeText(moment))->days,
              QDate(1899, 12, 30).daysTo(moment.date()) + 47109000.0 / 86400000.0);
}

TEST(ValueText, DatesRoundTrip)
{
    for (double days : {0.0, 45642.0, 45642.5, -1.25, 12.999999999}) {
        const QString text = arctable::dateValueText(dao::Date{days});
        EXPECT_NEAR(arctable::engineDate(text)->days, days, 1e-6) << text.toStdString();
    }
    EXPECT_EQ(arctable::dateValueText(dao::Date{-1.25}), QStringLiteral("693593 21600000"));
    // Written digit by digit, as QString::number writes the day and the milliseconds, below
    // the first calendar day too.
    for (double days : {-700000.5, -693594.0, -693595.75, 2958465.999, 0.5, 9.0, 10.0}) {
        const double whole = std::trunc(days);
        const qint64 ms = std::llround(std::fabs(days - whole) * 86400000.0);
        EXPECT_EQ(arctable::dateValueText(dao::Date{days}),
                  QString::number(qint64(whole) + arctable::kEngineEpochDay) + QLatin1Char(' ') + QString::number(ms));
    }
    EXPECT_FALSE(arctable::engineDate(QStringLiteral("abc")));
    EXPECT_FALSE(arctable::engineDate(QStringLiteral("700000 86400000")));
}

struct DefaultCase {
    QString engine;
    TFieldType type;
    QString shown;
};

class DefaultValueTest : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultValueTest, ShowsTheEngineDefault)
{
    EXPECT_EQ(arctable::defaultValueText(GetParam().engine, GetParam().type), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, DefaultValueTest,
    ::testing::Values(DefaultCase{QStringLiteral("\"abc\""), TFieldType::ftString, QStringLiteral("abc")},
                      DefaultCase{QStringLiteral("\"nota\""), TFieldType::ftMemo, QStringLiteral("nota")},
                      DefaultCase{QStringLiteral("0"), TFieldType::ftInteger, QStringLiteral("0")},
                      DefaultCase{QStringLiteral("No"), TFieldType::ftBoolean, QStringLiteral("No")},
                      DefaultCase{QStringLiteral("null"), TFieldType::ftString, QString()},
                      DefaultCase{QStringLiteral("#12/31/2024#"), TFieldType::ftDate, QStringLiteral("739251 0")},
                      DefaultCase{QStringLiteral("Date()"), TFieldType::ftDate, QString()}));

TEST(FieldTypes, FromEngineFields)
{
    EXPECT_EQ(arctable::fieldTypeOf(dao::dbLong, dao::dbAutoIncrField, std::nullopt), TFieldType::ftAutoInc);
    EXPECT_EQ(arctable::fieldTypeOf(dao::dbInteger, 0, std::nullopt), TFieldType::ftSmallint);
    EXPECT_EQ(arctable::fieldTypeOf(dao::dbDate, 0, QStringLiteral("Short Date")), TFieldType::ftDate);
    EXPECT_EQ(arctable::fieldTypeOf(dao::dbDate, 0, QStringLiteral("Short Time")), TFieldType::ftTime);
    EXPECT_EQ(arctable::fieldTypeOf(dao::dbDate, 0, QStringLiteral("General Date")), TFieldType::ftDateTime);
    EXPECT_EQ(arctable::definitionSize(dao::dbText, 0), 255);
    EXPECT_EQ(arctable::definitionSize(dao::dbLong, 4), 0);
}

} // namespace
