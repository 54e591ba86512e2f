// A search opens with its first keys only; whatever needs the rest (a move past them, the
// count, the last record, a bookmark, a clone) takes it, and the records come out as a
// complete keyset gives them.

#include "EngineFixture.h"

#include "engine/SelectionCount.h"

namespace {

QStringList numbered(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0'));
    return names;
}

std::unique_ptr<dao::Recordset> search(dao::Database &db, const QString &text)
{
    auto base = db.OpenRecordset("Persone");
    dao::RecordCondition condition;
    condition.contains.push_back({{{QStringLiteral("Nome"), dao::TextForm::Plain}}, text});
    base->setCondition(condition);
    return base->OpenRecordset();
}

using SearchKeys = EngineFixture;

TEST_F(SearchKeys, ASearchTakesTheRestOfItsKeysWhenNeeded)
{
    makeArchive(numbered(300));
    auto db = open();
    auto other = open();

    EXPECT_EQ(search(*db, "N")->RecordCount(), 300);
    EXPECT_EQ(names(*search(*db, "N")), numbered(300));
    EXPECT_EQ(names(*search(*db, "N00")), numbered(10));

    auto last = search(*db, "N");
    last->MoveLast();
    EXPECT_EQ(last->field("Nome").value().asText(), "N299");

    auto marked = search(*db, "N");
    auto walker = marked->Clone();
    walker->setAbsolutePosition(250);
    const QByteArray mark = walker->Bookmark();
    marked->setBookmark(mark);
    EXPECT_EQ(marked->field("Nome").value().asText(), "N250");
    EXPECT_EQ(marked->AbsolutePosition(), 250);

    // A bookmark of the first screen goes back to its row without taking the rest.
    auto firstScreen = search(*db, "N");
    firstScreen->Move(3);
    const QByteArray early = firstScreen->Bookmark();
    firstScreen->MoveFirst();
    firstScreen->setBookmark(early);
    EXPECT_EQ(firstScreen->field("Nome").value().asText(), "N003");
    EXPECT_EQ(firstScreen->KnownRecordCount(), -1);

    // A row another desk adds before the rest is taken joins the end; the first screen
    // already shown keeps its places.
    auto open = search(*db, "N");
    open->setAbsolutePosition(5);
    auto theirs = other->OpenRecordset("Persone");
    theirs->AddNew();
    theirs->field("Nome").setValue(QStringLiteral("N300"));
    theirs->Update();
    EXPECT_EQ(open->field("Nome").value().asText(), "N005");
    open->MoveLast();
    EXPECT_EQ(open->field("Nome").value().asText(), "N300");
    EXPECT_EQ(open->RecordCount(), 301);
}

// A search's count taken in steps of a few row ids gives what the whole keyset gives, and
// counts the selection as it stood when the count began, wherever another desk's changes
// fall; a complete keyset needs no counting at all.
TEST_F(SearchKeys, ACountInStepsCountsTheSelectionAsItStoodWhenItBegan)
{
    makeArchive(numbered(300));
    auto db = open();
    auto other = open();

    EXPECT_EQ(search(*db, "N00")->KnownRecordCount(), 10);
    auto rare = search(*db, "N1");
    EXPECT_EQ(rare->KnownRecordCount(), 100);
    auto wide = search(*db, "N");
    EXPECT_EQ(wide->KnownRecordCount(), -1);

    const std::unique_ptr<dao::SelectionCount> count = wide->CountSelection();
    int steps = 0;
    while (!count->Step(7)) {
        ASSERT_LT(++steps, 300);
        if (steps == 20) {
            // Past the rows counted so far: the first row goes, a new one comes.
            auto theirs = other->OpenRecordset("Select * From [Persone] Where [Nome] = \"N000\";");
            theirs->Delete();
            theirs = other->OpenRecordset("Persone");
            theirs->AddNew();
            theirs->field("Nome").setValue(QStringLiteral("N300"));
            theirs->Update();
        }
    }
    EXPECT_GT(steps, 40);
    EXPECT_EQ(count->Count(), 300);
    EXPECT_EQ(search(*db, "N")->RecordCount(), 300);

    const std::unique_ptr<dao::SelectionCount> none = search(*db, "ZZ")->CountSelection();
    EXPECT_TRUE(none->Step(1000));
    EXPECT_EQ(none->Count(), 0);
}

} // namespace

namespace {

// A list shown in an order without a search takes its first screen's keys only: the rest
// join them in the same order, so a walk sees every record once, in order.
TEST_F(SearchKeys, AnOrderAskedForItsFirstKeysTakesTheRestInTheSameOrder)
{
    makeArchive({"N04", "N02", "N05", "N00", "N03", "N01", "N06"});
    auto db = open();
    auto base = db->OpenRecordset("Persone");
    base->setSort(QStringLiteral("[Nome] DESC"));
    base->setFirstKeys(3);
    auto ordered = base->OpenRecordset();
    EXPECT_EQ(ordered->KnownRecordCount(), -1);
    QStringList walked;
    for (; !ordered->IsEOF(); ordered->MoveNext())
        walked << ordered->field("Nome").value().asText();
    EXPECT_EQ(walked, QStringList({"N06", "N05", "N04", "N03", "N02", "N01", "N00"}));
    EXPECT_EQ(ordered->KnownRecordCount(), 7);
}

} // namespace
