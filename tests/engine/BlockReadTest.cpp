// Walks inside a read transaction take their rows a block at a time. What another desk
// changed before a block was read is seen there just as a row-by-row read sees it, and a
// block never outlives its read transaction nor a write of this desk.

#include "EngineFixture.h"

#include <functional>

namespace {

constexpr int kRows = 450;   // more than two blocks

QStringList numbered()
{
    QStringList names;
    for (int i = 0; i < kRows; ++i)
        names << QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0'));
    return names;
}

// The name at position, the recordset moved there.
QString nameAt(dao::Recordset &rs, int position)
{
    rs.setAbsolutePosition(position);
    return rs.field("Nome").value().asText();
}

void rename(dao::Database &db, int position, const QString &name)
{
    auto rs = db.OpenRecordset("Persone");
    rs->setAbsolutePosition(position);
    rs->Edit();
    rs->field("Nome").setValue(name);
    rs->Update();
}

using BlockRead = EngineFixture;

TEST_F(BlockRead, BlockReadsSeeOtherDesksChangesAsRowReadsDo)
{
    makeArchive(numbered());
    auto desk = open();
    auto other = open();
    auto walked = desk->OpenRecordset("Persone");
    {
        const dao::ReadScope reads(desk.get());
        EXPECT_EQ(names(*walked), numbered());   // every row, in blocks
        walked->setAbsolutePosition(0);
        for (int i = 0; i < 150; ++i)
            walked->MoveNext();
    }
    // Between two walks another desk renames a row already visited, one of the next block,
    // and deletes one.
    rename(*other, 100, QStringLiteral("Cambiato"));
    rename(*other, 250, QStringLiteral("Anche"));
    {
        auto gone = other->OpenRecordset("Persone");
        gone->setAbsolutePosition(260);
        gone->Delete();
    }

    // Outside a read transaction every visit is a read of its own row.
    auto rowByRow = desk->OpenRecordset("Persone");
    const QStringList expected{nameAt(*rowByRow, 100), nameAt(*rowByRow, 120), nameAt(*rowByRow, 250)};
    {
        const dao::ReadScope reads(desk.get());
        // The walk's last block, read before the changes, is not used again.
        EXPECT_EQ((QStringList{nameAt(*walked, 100), nameAt(*walked, 120), nameAt(*walked, 250)}), expected);
        EXPECT_EQ(nameAt(*walked, 250), "Anche");
        EXPECT_EQ(nameAt(*walked, 100), "Cambiato");
        walked->setAbsolutePosition(259);
        walked->MoveNext();
        try {
            walked->field("Nome").value();
            ADD_FAILURE() << "a row deleted by another desk was read from a block";
        } catch (const dao::EngineError &e) {
            EXPECT_EQ(e.number(), 3167);
        }

        // This desk's own write, inside the same walk, is seen at the next visit.
        rename(*desk, 200, QStringLiteral("Mio"));
        EXPECT_EQ(nameAt(*walked, 200), "Mio");
    }
}

// A memo read goes to its row and back; the grid does it for every row of its screen.
// Whatever blocks such jumps read, each visit lands on its own row, and a walk on from there
// in either direction goes on through the right rows.
TEST_F(BlockRead, JumpsAndWalksInsideOneReadTransactionLandOnTheirRows)
{
    makeArchive(numbered());
    auto desk = open();
    auto rs = desk->OpenRecordset("Persone");
    const auto expect = [&](int position) {
        EXPECT_EQ(rs->field("Nome").value().asText(), numbered().at(position)) << "at " << position;
    };
    const dao::ReadScope reads(desk.get());
    // Back and forth within reach, at a block's full reach, beyond it, at both ends.
    for (int position : {300, 272, 300, 273, 299, 101, 300, 449, 251, 449, 0, 199, 0, 2, 0, 448, 449, 250, 449})
        expect((rs->setAbsolutePosition(position), position));
    // A jump forward within reach, then on past the rows it read; the same backwards.
    rs->setAbsolutePosition(120);
    rs->setAbsolutePosition(250);
    for (int position = 251; position < 260; ++position) {
        rs->MoveNext();
        expect(position);
    }
    rs->setAbsolutePosition(100);
    for (int position = 99; position >= 0; --position) {
        rs->MovePrevious();
        expect(position);
    }
    rs->MovePrevious();
    EXPECT_TRUE(rs->BOF());

    // A walk that said it reads three rows goes on past them, in growing blocks, both ways.
    rs->setAbsolutePosition(300);
    rs->setBlockRows(3);
    for (int position = 301; position < 449; ++position) {
        rs->MoveNext();
        expect(position);
    }
    rs->setBlockRows(3);
    for (int position = 447; position >= 200; --position) {
        rs->MovePrevious();
        expect(position);
    }
}

} // namespace

namespace {

class MasterDetail : public EngineFixture {
protected:
    static constexpr int kMasters = 230;   // more than one block of masters

    void makeTables()
    {
        auto db = ws->CreateDatabase(path(), QString());
        db->CreateTable({QStringLiteral("Schede"), {{"ID", dao::dbLong, 0, true}, {"Nome", dao::dbText, 20}}});
        db->CreateTable({QStringLiteral("Membri"),
                         {{"ID", dao::dbLong, 0, true}, {"ID_SCHEDA", dao::dbLong, 0}, {"Nome", dao::dbText, 20}}});
        auto masters = db->OpenRecordset("Schede");
        auto members = db->OpenRecordset("Membri");
        for (int i = 1; i <= kMasters; ++i) {
            masters->AddNew();
            masters->field("Nome").setValue(QStringLiteral("S%1").arg(i));
            masters->Update();
            for (int m = 0; m < i % 4; ++m)
                addMember(*members, i, QStringLiteral("M%1-%2").arg(i).arg(m));
        }
        db->Close();
    }
    static void addMember(dao::Recordset &members, int master, const QString &name)
    {
        members.AddNew();
        members.field("ID_SCHEDA").setValue(master);
        members.field("Nome").setValue(name);
        members.Update();
    }
    // The members of one master as the master link asks for them, last name first.
    static QStringList membersOf(dao::Database &db, qint64 master)
    {
        auto rs = db.OpenRecordset(QStringLiteral("Select * From [Membri] Where ([ID_SCHEDA]  = %1) Order By [Nome] DESC ;")
                                       .arg(master));
        return names(*rs);
    }
    // Every master's members, walking the masters.
    static QList<QStringList> walk(dao::Database &db)
    {
        QList<QStringList> all;
        auto masters = db.OpenRecordset("Schede");
        for (masters->MoveFirst(); !masters->IsEOF(); masters->MoveNext())
            all << membersOf(db, masters->field("ID").value().asInt());
        return all;
    }
    // The same walk with one member recordset given each master's key in turn.
    static QList<QStringList> walkRebinding(dao::Database &db, const std::function<void(qint64)> &atMaster = {})
    {
        QList<QStringList> all;
        auto masters = db.OpenRecordset("Schede");
        auto members = db.OpenRecordset(QStringLiteral("Select * From [Membri] Where ([ID_SCHEDA]  = 0) Order By [Nome] DESC ;"));
        for (masters->MoveFirst(); !masters->IsEOF(); masters->MoveNext()) {
            const qint64 master = masters->field("ID").value().asInt();
            if (atMaster)
                atMaster(master);
            members->Rebind(QStringLiteral("([ID_SCHEDA]  = %1)").arg(master));
            all << names(*members);
        }
        return all;
    }
};

TEST_F(MasterDetail, DetailsReadForABlockOfMastersAreEachMastersOwn)
{
    makeTables();
    auto desk = open();
    auto other = open();
    const QList<QStringList> oneByOne = walk(*desk);
    ASSERT_EQ(oneByOne.size(), kMasters);
    EXPECT_EQ(oneByOne[6], (QStringList{"M7-2", "M7-1", "M7-0"}));
    EXPECT_TRUE(oneByOne[3].isEmpty());
    {
        const dao::ReadScope reads(desk.get());
        EXPECT_EQ(walk(*desk), oneByOne);
    }
    // Another desk adds a member between two walks; this desk adds one during its walk.
    auto theirs = other->OpenRecordset("Membri");
    addMember(*theirs, 5, QStringLiteral("Nuovo"));
    {
        const dao::ReadScope reads(desk.get());
        auto masters = desk->OpenRecordset("Schede");
        masters->MoveFirst();
        EXPECT_EQ(membersOf(*desk, 5), (QStringList{"Nuovo", "M5-0"}));
        auto mine = desk->OpenRecordset("Membri");
        addMember(*mine, 6, QStringLiteral("Mio"));
        EXPECT_EQ(membersOf(*desk, 6), (QStringList{"Mio", "M6-1", "M6-0"}));
    }
}

// A member recordset rebound to each master in turn holds what a new one would, inside a
// read transaction as outside, and sees what was written before each rebinding.
TEST_F(MasterDetail, ARecordsetReboundToEachMasterHoldsWhatANewOneWould)
{
    makeTables();
    auto desk = open();
    auto other = open();
    const QList<QStringList> oneByOne = walk(*desk);
    EXPECT_EQ(walkRebinding(*desk), oneByOne);
    {
        const dao::ReadScope reads(desk.get());
        EXPECT_EQ(walkRebinding(*desk), oneByOne);
    }
    auto theirs = other->OpenRecordset("Membri");
    addMember(*theirs, 5, QStringLiteral("Nuovo"));
    const dao::ReadScope reads(desk.get());
    auto mine = desk->OpenRecordset("Membri");
    const QList<QStringList> changed = walkRebinding(*desk, [&](qint64 master) {
        if (master == 205)
            addMember(*mine, 206, QStringLiteral("Mio"));
    });
    EXPECT_EQ(changed[4], (QStringList{"Nuovo", "M5-0"}));
    EXPECT_EQ(changed[205], (QStringList{"Mio", "M206-1", "M206-0"}));
    EXPECT_EQ(changed[6], oneByOne[6]);
}

} // namespace
