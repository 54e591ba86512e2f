// Field objects bound to the definitions the open dataset finds.

#include "DbTestSupport.h"

#include "db/DatabaseError.h"
#include "db/Fields.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<MemoryDataSet> oneColumn(TFieldType type)
{
    auto ds = std::make_unique<MemoryDataSet>(std::vector<MemoryDataSet::Column>{{"X", type, 10, false, {}}});
    ds->addRow({""});
    return ds;
}

QString openError(MemoryDataSet &ds)
{
    try {
        ds.open();
    } catch (const EDatabaseError &e) {
        return e.message();
    }
    return QString();
}

TEST(BindFields, MissingDefinitionIsNamed)
{
    auto ds = makePeople(1);
    new TStringField(ds.get(), "SURNAME", 20);
    EXPECT_EQ(openError(*ds), "Field 'SURNAME' not found");
    EXPECT_FALSE(ds->active());
    EXPECT_EQ(ds->fieldCount(), 1);
}

struct Mismatch {
    TFieldType fieldType;
    TFieldType defType;
    const char *message;   // empty when compatible
};

class FieldTypes : public ::testing::TestWithParam<Mismatch> {};

TEST_P(FieldTypes, BindOnlyWithinTheirFamily)
{
    auto ds = oneColumn(GetParam().defType);
    TFieldDef def;
    def.name = "X";
    def.dataType = GetParam().fieldType;
    def.size = 10;
    createField(ds.get(), def);
    EXPECT_EQ(openError(*ds), QString::fromUtf8(GetParam().message));
    EXPECT_EQ(ds->active(), QString::fromUtf8(GetParam().message).isEmpty());
}

using T = TFieldType;
INSTANTIATE_TEST_SUITE_P(Pairs, FieldTypes,
    ::testing::Values(Mismatch{T::ftInteger, T::ftAutoInc, ""}, Mismatch{T::ftSmallint, T::ftInteger, ""},
                      Mismatch{T::ftDate, T::ftDateTime, ""}, Mismatch{T::ftTime, T::ftDate, ""},
                      Mismatch{T::ftMemo, T::ftBlob, ""}, Mismatch{T::ftString, T::ftString, ""},
                      Mismatch{T::ftString, T::ftInteger, "Type mismatch for field 'X', expecting: String actual: Integer"},
                      Mismatch{T::ftBoolean, T::ftSmallint, "Type mismatch for field 'X', expecting: Boolean actual: Smallint"},
                      Mismatch{T::ftFloat, T::ftCurrency, "Type mismatch for field 'X', expecting: Float actual: Currency"},
                      Mismatch{T::ftDateTime, T::ftMemo, "Type mismatch for field 'X', expecting: DateTime actual: Memo"},
                      Mismatch{T::ftVarBytes, T::ftBytes, "Type mismatch for field 'X', expecting: VarBytes actual: Bytes"}));

TEST(BindFields, DefaultFieldsLiveWhileOpen)
{
    auto ds = makePeople(1);
    ds->open();
    ASSERT_EQ(ds->fieldCount(), 5);
    QPointer<TField> name = ds->fieldByName("name");
    EXPECT_NE(dynamic_cast<TStringField *>(name.data()), nullptr);
    EXPECT_NE(dynamic_cast<TBooleanField *>(ds->field(2)), nullptr);
    EXPECT_NE(dynamic_cast<TDateField *>(ds->field(3)), nullptr);
    EXPECT_NE(dynamic_cast<TMemoField *>(ds->field(4)), nullptr);
    EXPECT_EQ(name->fieldNo(), 2);
    EXPECT_EQ(name->index(), 1);
    EXPECT_TRUE(name->required());
    ds->close();
    EXPECT_TRUE(name.isNull());
    EXPECT_EQ(ds->fieldCount(), 0);
}

TEST(BindFields, PersistentFieldsSurviveClosing)
{
    auto ds = makePeople(2);
    auto *name = new TStringField(ds.get(), "NAME", 30);
    ds->open();
    EXPECT_EQ(ds->fieldCount(), 1);
    EXPECT_EQ(name->fieldNo(), 2);
    EXPECT_EQ(name->asString(), "P1");
    ds->close();
    EXPECT_EQ(name->fieldNo(), 0);
    EXPECT_TRUE(name->asString().isEmpty());
    ds->open();
    EXPECT_EQ(name->asString(), "P1");
}

TEST(BindFields, FieldDestroyedBeforeItsDatasetLeavesTheList)
{
    auto ds = makePeople(1);
    auto *extra = new TStringField(ds.get(), "NAME", 30);
    delete extra;
    EXPECT_EQ(ds->fieldCount(), 0);
    ds->open();
    EXPECT_EQ(ds->fieldCount(), 5);
}

} // namespace
