// Conversions between value texts and the typed views of each field kind.

#include "DbTestSupport.h"

#include "db/DatabaseError.h"
#include "db/Fields.h"
#include "db/ValueText.h"

#include <gtest/gtest.h>
#include <cmath>
#include <ctime>

namespace {

TEST(ValueTextNumbers, ReadAsTheGeneralParseReadsThem)
{
    // Whole numbers take a short way: the same value, the same sign of zero, the same refusals.
    for (const char *text : {"0", "-0", "007", "42", "-17", "123456789012345", "-123456789012345",
                             "1234567890123456", "99999999999999999999", "-", "", "+5", " 12", "5,5", "1e3", "12a"}) {
        const QString t = QString::fromLatin1(text);
        bool ok = false;
        const double expected = QString(t.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        const auto parsed = ValueText::parseFloat(t);
        ASSERT_EQ(parsed.has_value(), ok) << text;
        if (ok) {
            EXPECT_EQ(*parsed, expected) << text;
            EXPECT_EQ(std::signbit(*parsed), std::signbit(expected)) << text;
        }
    }
}

// One row of every kind the conversions care about, in edit mode.
class FieldValues : public ::testing::Test {
protected:
    void SetUp() override
    {
        ds->addRow({});
        ds->open();
        ds->edit();
    }
    TField *f(const char *name) { return ds->fieldByName(name); }

    std::unique_ptr<MemoryDataSet> ds = std::make_unique<MemoryDataSet>(std::vector<MemoryDataSet::Column>{
        {"S", TFieldType::ftString, 12, false, {}},
        {"I", TFieldType::ftInteger, 0, false, {}},
        {"SI", TFieldType::ftSmallint, 0, false, {}},
        {"F", TFieldType::ftFloat, 0, false, {}},
        {"B", TFieldType::ftBoolean, 0, false, {}},
        {"D", TFieldType::ftDate, 0, false, {}},
        {"T", TFieldType::ftTime, 0, false, {}},
        {"DT", TFieldType::ftDateTime, 0, false, {}},
        {"M", TFieldType::ftMemo, 0, false, {}},
    });
};

struct BoolText {
    const char *text;
    std::optional<bool> value;
};

class BooleanTexts : public ::testing::TestWithParam<BoolText> {};

TEST_P(BooleanTexts, AreRecognised)
{
    EXPECT_EQ(TField::parseBool(QString::fromUtf8(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, BooleanTexts,
    ::testing::Values(BoolText{"true", true}, BoolText{"TRUE", true}, BoolText{"Yes", true}, BoolText{"on", true},
                      BoolText{"-1", true}, BoolText{"=True", true}, BoolText{" yes ", true},
                      BoolText{"false", false}, BoolText{"No", false}, BoolText{"OFF", false},
                      BoolText{"=false", false}, BoolText{"==true", std::nullopt}, BoolText{"1", std::nullopt},
                      BoolText{"maybe", std::nullopt}, BoolText{"", std::nullopt}));

TEST_F(FieldValues, BooleanReadsAndDisplaysTrueFalse)
{
    f("B")->setAsString("yes");
    EXPECT_EQ(f("B")->valueText(), "True");
    EXPECT_EQ(f("B")->asString(), "True");
    EXPECT_EQ(f("B")->displayText(), "True");
    EXPECT_EQ(f("B")->asVariant(), QVariant(true));
    f("B")->setAsBoolean(false);
    EXPECT_EQ(f("B")->displayText(), "False");
    f("B")->clear();
    EXPECT_TRUE(f("B")->isNull());
    EXPECT_FALSE(f("B")->asVariant().isValid());
}

struct BadText {
    const char *field;
    const char *text;
    const char *message;
};

class RefusedTexts : public FieldValues, public ::testing::WithParamInterface<BadText> {};

TEST_P(RefusedTexts, NameTheText)
{
    try {
        f(GetParam().field)->setAsString(QString::fromUtf8(GetParam().text));
        FAIL() << "accepted " << GetParam().text;
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), QString::fromUtf8(GetParam().message));
    }
    EXPECT_TRUE(f(GetParam().field)->isNull());
}

INSTANTIATE_TEST_SUITE_P(Texts, RefusedTexts,
    ::testing::Values(BadText{"I", "12a", "'12a' is not a valid integer value"},
                      BadText{"I", "1.5", "'1.5' is not a valid integer value"},
                      BadText{"I", "3000000000",
                              "3000000000 is not a valid value for field 'I'. The allowed range is -2147483648 to 2147483647"},
                      BadText{"SI", "40000",
                              "40000 is not a valid value for field 'SI'. The allowed range is -32768 to 32767"},
                      BadText{"F", "1,2,3", "'1,2,3' is not a valid floating point value"},
                      BadText{"F", "abc", "'abc' is not a valid floating point value"},
                      BadText{"B", "maybe", "'maybe' is not a valid boolean value"},
                      BadText{"D", "31/02/2020", "'31/02/2020' is not a valid date"},
                      BadText{"T", "25:00", "'25:00' is not a valid time"},
                      BadText{"DT", "yesterday", "'yesterday' is not a valid date and time"}));

TEST_F(FieldValues, StringReadsAsNumbersWhenItCan)
{
    f("S")->setAsString("42");
    EXPECT_EQ(f("S")->asInteger(), 42);
    f("S")->setAsString("x");
    try {
        (void)f("S")->asInteger();
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), "'x' is not a valid integer value");
    }
    try {
        (void)f("S")->asFloat();
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), "'x' is not a valid floating point value");
    }
}

TEST_F(FieldValues, NumbersKeepACanonicalText)
{
    f("I")->setAsString(" +17 ");
    EXPECT_EQ(f("I")->valueText(), "17");
    EXPECT_EQ(f("I")->asVariant().typeId(), QMetaType::LongLong);
    f("F")->setAsString("2,5");
    EXPECT_EQ(f("F")->valueText(), "2.5");
    EXPECT_DOUBLE_EQ(f("F")->asFloat(), 2.5);
    EXPECT_EQ(f("F")->asInteger(), 3);
    EXPECT_EQ(f("F")->asVariant().typeId(), QMetaType::Double);
    f("F")->setAsFloat(0.1);
    EXPECT_EQ(f("F")->valueText(), "0.1");
}

struct DateCase {
    const char *field;
    const char *typed;
    const char *valueText;
    const char *text;
    const char *display;
};

class DateTexts : public FieldValues, public ::testing::WithParamInterface<DateCase> {};

TEST_P(DateTexts, RoundTrip)
{
    TField *field = f(GetParam().field);
    field->setAsString(QString::fromUtf8(GetParam().typed));
    EXPECT_EQ(field->valueText(), QString::fromUtf8(GetParam().valueText));
    EXPECT_EQ(field->text(), QString::fromUtf8(GetParam().text));
    EXPECT_EQ(field->asString(), QString::fromUtf8(GetParam().text));
    EXPECT_EQ(field->displayText(), QString::fromUtf8(GetParam().display));
    field->setText(field->text());
    EXPECT_EQ(field->valueText(), QString::fromUtf8(GetParam().valueText));
}

INSTANTIATE_TEST_SUITE_P(Texts, DateTexts,
    ::testing::Values(DateCase{"D", "30/12/1899", "693594 0", "30/12/1899", "30/12/1899"},
                      DateCase{"D", "1/1/0001", "1 0", "01/01/0001", "01/01/0001"},
                      DateCase{"D", "5.3.2024", "738950 0", "05/03/2024", "05/03/2024"},
                      DateCase{"D", "05/03/2024 13:00", "738950 0", "05/03/2024", "05/03/2024"},
                      DateCase{"T", "08:30", "693594 30600000", "08:30:00", "08:30:00"},
                      DateCase{"DT", "05/03/2024 08:30:15", "738950 30615000", "05/03/2024 08:30:15",
                               "05/03/2024 08:30:15"},
                      DateCase{"DT", "05/03/2024", "738950 0", "05/03/2024 00:00:00", "05/03/2024"}));

TEST_F(FieldValues, DateTextsConvertBothWays)
{
    const QDateTime dayZero(QDate(1899, 12, 30), QTime(0, 0));
    EXPECT_EQ(TField::dateTimeText(dayZero), "693594 0");
    EXPECT_EQ(TField::parseDateTimeText("693594 0"), dayZero);
    EXPECT_EQ(TField::parseDateTimeText("693595"), dayZero.addDays(1));
    EXPECT_FALSE(TField::parseDateTimeText("x 0").isValid());
    EXPECT_FALSE(TField::parseDateTimeText("1 86400000").isValid());
    EXPECT_TRUE(TField::dateTimeText(QDateTime()).isEmpty());
}

TEST_F(FieldValues, DateFieldKeepsOnlyItsPart)
{
    const QDateTime moment(QDate(2024, 3, 5), QTime(8, 30));
    f("D")->setAsDateTime(moment);
    EXPECT_EQ(f("D")->asDateTime(), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    f("T")->setAsDateTime(moment);
    EXPECT_EQ(f("T")->asDateTime(), QDateTime(QDate(1899, 12, 30), QTime(8, 30)));
    f("DT")->setAsVariant(moment);
    EXPECT_EQ(f("DT")->asVariant(), QVariant(moment));
    f("DT")->setAsVariant(QVariant());
    EXPECT_TRUE(f("DT")->isNull());
    EXPECT_EQ(f("DT")->displayText(), "");
}

// Runs its body with the process in an Italian time zone, the zone put back afterwards.
template <typename F>
void inRomeTime(F &&body)
{
    const QByteArray saved = qgetenv("TZ");
    const bool had = qEnvironmentVariableIsSet("TZ");
    qputenv("TZ", "Europe/Rome");
    tzset();
    struct Restore {
        QByteArray saved;
        bool had;
        ~Restore()
        {
            if (had)
                qputenv("TZ", saved);
            else
                qunsetenv("TZ");
            tzset();
        }
    } restore{saved, had};
    body();
}

// 02:30 on 29 March 2026 never happened on an Italian clock (summer time starts at 02:00),
// yet a stored value may hold it: it reads, shows and is written back as stored.
TEST_F(FieldValues, StoredTimesIgnoreTheLocalTimeZone)
{
    inRomeTime([&] {
        const QString stored = TField::dateTimeText(QDateTime(QDate(2026, 3, 29), QTime(2, 30), Qt::UTC));
        f("DT")->setValueText(stored);
        const QDateTime read = f("DT")->asDateTime();
        EXPECT_EQ(read.date(), QDate(2026, 3, 29));
        EXPECT_EQ(read.time(), QTime(2, 30));
        EXPECT_EQ(f("DT")->displayText(), "29/03/2026 02:30:00");
        f("DT")->setAsDateTime(read);
        EXPECT_EQ(f("DT")->valueText(), stored);

        // A local date-time handed in keeps its clock reading too.
        f("D")->setAsDateTime(QDateTime(QDate(2026, 10, 25), QTime(2, 30)));
        EXPECT_EQ(f("D")->asDateTime().date(), QDate(2026, 10, 25));
        EXPECT_EQ(f("D")->displayText(), "25/10/2026");
    });
}

TEST_F(FieldValues, MemoGoesThroughTheBlobStream)
{
    EXPECT_EQ(f("M")->displayText(), "(memo)");
    f("M")->setAsString("Note with accents: àè");
    EXPECT_EQ(f("M")->valueText(), QString::number(QString("Note with accents: àè").toUtf8().size()));
    EXPECT_EQ(f("M")->asString(), "Note with accents: àè");
    EXPECT_EQ(f("M")->displayText(), "(MEMO)");
    EXPECT_TRUE(ds->modified());
    ds->post();
    EXPECT_EQ(ds->rows()[0].values[8], "Note with accents: àè");
    EXPECT_EQ(f("M")->asVariant(), QVariant(QString("Note with accents: àè")));
}

TEST_F(FieldValues, MemoCannotBeWrittenOutsideEditing)
{
    ds->cancel();
    EXPECT_THROW(f("M")->setAsString("x"), EDatabaseError);
    EXPECT_EQ(f("M")->displayText(), "(memo)");
}

TEST_F(FieldValues, TextHooksReplaceTheConversions)
{
    f("I")->OnGetText = [](TField &field, QString &text, bool display) {
        text = (display ? "n." : "") + field.valueText();
    };
    f("I")->OnSetText = [](TField &field, const QString &text) { field.setAsInteger(text.size()); };
    f("I")->setText("abcd");
    EXPECT_EQ(f("I")->asInteger(), 4);
    EXPECT_EQ(f("I")->displayText(), "n.4");
    EXPECT_EQ(f("I")->text(), "4");
    f("D")->OnGetText = [](TField &, QString &text, bool) { text = "always"; };
    EXPECT_EQ(f("D")->displayText(), "always");
}

TEST_F(FieldValues, ChangeNotifiesTheFieldAndTheControls)
{
    TDataSource source;
    source.setDataSet(ds.get());
    TField *changed = nullptr;
    int onChange = 0;
    source.OnDataChange = [&](TDataSource &, TField *field) { changed = field; };
    f("S")->OnChange = [&](TField &) { ++onChange; };
    f("S")->setAsString("x");
    EXPECT_EQ(onChange, 1);
    EXPECT_EQ(changed, f("S"));
    ds->cancel();
    ds->edit();
    // A blob stream reports its write this way, without going through the field.
    ds->dataEvent(TDataEvent::deFieldChange, reinterpret_cast<qintptr>(f("S")));
    EXPECT_TRUE(ds->modified());
    EXPECT_EQ(onChange, 2);
}

} // namespace
