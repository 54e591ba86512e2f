// A search opens with its first keys only; whatever needs the rest (a move past them, the
// count, the last record, a bookmark, a clone) takes it, and the records come out as a
// complete keyset gives them.

#include "EngineFixture.h"

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

} // namespace
