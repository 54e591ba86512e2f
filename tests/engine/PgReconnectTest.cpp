// A server that goes away for a while (switched off, the network down) costs the user no
// work: every call fails with the engine's connection error while it is away, the edit keeps
// its values, and the first call after it is back reconnects and lands.

#include "EngineFixture.h"

namespace {

TEST(PgReconnect, AnEditWaitsOutAServerThatIsAwayAndLandsWhenItIsBack)
{
    TAVORIO_REQUIRE_PG();
    const QString address = testsupport::newPgDatabase();
    const QString database = testsupport::pgDatabaseOf(address);
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace("DaoWorkspace", "Admin", "", dao::dbUseJet);
    const QString connect = QStringLiteral(";UID=Admin;PWD=%1;").arg(testsupport::pgOfficePassword());
    {
        auto db = ws->CreateDatabase(address, testsupport::pgOfficePassword());
        dao::TableSpec people{QStringLiteral("Persone"), {}};
        people.fields.push_back({"ID", dao::dbLong, 0, true});
        people.fields.push_back({"Nome", dao::dbText, 20});
        db->CreateTable(people);
        auto rs = db->OpenRecordset("Persone");
        rs->AddNew();
        rs->field("Nome").setValue(QStringLiteral("Anna"));
        rs->Update();
        db->Close();
    }
    auto db = ws->OpenDatabase(address, false, false, connect);
    auto rs = db->OpenRecordset("Persone");
    rs->Edit();
    rs->field("Nome").setValue(QStringLiteral("Anna Maria"));

    // The server turns every desk away, then drops this one.
    testsupport::pgAdminQuery(QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS false").arg(database));
    testsupport::pgEndSessions(database);
    for (int attempt = 0; attempt < 3; ++attempt) {
        try {
            rs->Update();
            ADD_FAILURE() << "saved while the server was away";
        } catch (const dao::EngineError &e) {
            EXPECT_EQ(e.number(), 3151) << e.description().toStdString();
            EXPECT_FALSE(e.description().contains(testsupport::pgOfficePassword()));
        }
        EXPECT_FALSE(db->isClosed());
        EXPECT_EQ(rs->EditMode(), dao::dbEditInProgress);
        EXPECT_EQ(rs->field("Nome").value(), dao::Value(QStringLiteral("Anna Maria")));
    }

    testsupport::pgAdminQuery(QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS true").arg(database));
    rs->Update();
    auto check = db->OpenRecordset("Persone");
    EXPECT_EQ(check->field("Nome").value(), dao::Value(QStringLiteral("Anna Maria")));
}

} // namespace
