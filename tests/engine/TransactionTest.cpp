// The workspace's transaction is the only one: whatever the engine does inside it on its own
// (the saved-query table, the history's set-up) lands or goes with it, and a commit the
// storage refuses leaves the transaction open for the caller's rollback. Runs on both
// storages (the server run).

#include "EngineFixture.h"

#include "engine/StorageFaults.h"

namespace {

class Transaction : public EngineFixture {
protected:
    static QStringList tableNames(dao::Database &db)
    {
        QStringList names;
        for (const dao::TableDefInfo &def : db.TableDefs())
            names << def.name;
        return names;
    }

    dao::faults::Scope m_faults;
};

TEST_F(Transaction, TablesTheEngineMakesInsideATransactionGoWithItsRollback)
{
    makeArchive({"Anna"});
    const QStringList before = tableNames(*open());
    {
        auto db = open();
        ws->BeginTrans();
        db->CreateQueryDef(QStringLiteral("Elenco"), QStringLiteral("Select * From [Persone];"));
        db->TrackChanges(QStringLiteral("Persone"), QStringLiteral("ID"));
        auto rs = db->OpenRecordset(QStringLiteral("Persone"));
        rs->AddNew();
        rs->field("Nome").setValue(QStringLiteral("Bruno"));
        rs->Update();
        ws->Rollback();

        // The archive as this connection sees it, and what it does next, are as before.
        EXPECT_EQ(tableNames(*db), before);
        EXPECT_TRUE(db->QueryDefs().isEmpty());
        EXPECT_TRUE(db->TrackedTables().empty());
        db->CreateQueryDef(QStringLiteral("Dopo"), QStringLiteral("Select * From [Persone];"));
        ASSERT_EQ(db->QueryDefs().size(), 1);
        db->Close();
    }
    auto db = open();
    EXPECT_EQ(names(*db->OpenRecordset(QStringLiteral("Persone"))), QStringList{QStringLiteral("Anna")});
    EXPECT_TRUE(db->TrackedTables().empty());
    ASSERT_EQ(db->QueryDefs().size(), 1);
    EXPECT_EQ(db->QueryDefs().front().name, QStringLiteral("Dopo"));
}

TEST_F(Transaction, ACommitTheStorageRefusesLeavesTheRollback)
{
    makeArchive({"Anna"});
    auto db = open();
    ws->BeginTrans();
    auto rs = db->OpenRecordset(QStringLiteral("Persone"));
    rs->AddNew();
    rs->field("Nome").setValue(QStringLiteral("Bruno"));
    rs->Update();
    dao::faults::failStatements(QStringLiteral("COMMIT"), dao::faults::Fault::Busy, 0, 1);
    EXPECT_ENGINE_ERROR(ws->CommitTrans(), dao::errRecordLocked);
    ws->Rollback();
    EXPECT_ENGINE_ERROR(ws->Rollback(), 3034);
    EXPECT_EQ(names(*db->OpenRecordset(QStringLiteral("Persone"))), QStringList{QStringLiteral("Anna")});

    // The next transaction runs as any other.
    ws->BeginTrans();
    rs = db->OpenRecordset(QStringLiteral("Persone"));
    rs->AddNew();
    rs->field("Nome").setValue(QStringLiteral("Carla"));
    rs->Update();
    ws->CommitTrans();
    db->Close();
    EXPECT_EQ(names(*open()->OpenRecordset(QStringLiteral("Persone"))), (QStringList{QStringLiteral("Anna"), QStringLiteral("Carla")}));
}

} // namespace
