// Reads grouped under one read transaction: a write made inside still lands, and the
// lock is gone when the group ends, so another user can write again.

#include "EngineFixture.h"

namespace {

TEST_F(EngineFixture, WritesInsideAReadGroupLandAndTheLockEndsWithIt)
{
    makeArchive({"Anna", "Bruno"});
    auto db = open();
    auto other = open();
    {
        const dao::ReadScope reads(db.get());
        auto rs = db->OpenRecordset("Persone");
        EXPECT_EQ(names(*rs), (QStringList{"Anna", "Bruno"}));
        rs->AddNew();
        rs->field("Nome").setValue(QStringLiteral("Carla"));
        rs->Update();
    }
    auto seen = other->OpenRecordset("Persone");
    EXPECT_EQ(names(*seen), (QStringList{"Anna", "Bruno", "Carla"}));
    // The other user writes at once: nothing of the group holds the file any more.
    seen->MoveFirst();
    seen->Edit();
    seen->field("Nome").setValue(QStringLiteral("Annalisa"));
    seen->Update();
    db->Close();
    const dao::ReadScope closed(db.get());   // does nothing on a closed archive
}

} // namespace
