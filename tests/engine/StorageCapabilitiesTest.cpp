// What each storage allows, answered alike for a closed location and an open archive, and
// the engine acting on the answer: a file refuses a password change on a shared open, a
// server changes its role's password on one and refuses to be left without a password or
// to be compacted.

#include "EngineFixture.h"

#include "engine/ArchiveLocation.h"
#include "engine/Connection.h"

namespace {

class StorageCapabilitiesTest : public EngineFixture {
protected:
    void expectAnswers(const QString &location, const QString &password, bool asFile)
    {
        auto db = ws->CreateDatabase(location, password);
        const dao::StorageCapabilities open = db->capabilities();
        db->Close();
        for (const dao::StorageCapabilities &answer :
             {dao::Connection::capabilitiesAt(dao::ArchiveLocation(location)), open}) {
            EXPECT_EQ(answer.passwordChangeNeedsExclusive, asFile);
            EXPECT_EQ(answer.emptyPasswordAllowed, asFile);
            EXPECT_EQ(answer.compactionApplies, asFile);
        }
    }
    std::shared_ptr<dao::Database> openShared(const QString &location, const QString &password)
    {
        return ws->OpenDatabase(location, false, false, QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
    }
};

TEST_F(StorageCapabilitiesTest, AFileIsRewrittenForANewPasswordMayGoWithoutOneAndIsCompacted)
{
    const QString file = dir.filePath(QStringLiteral("tavorio.mdb"));
    expectAnswers(file, {}, true);

    auto shared = openShared(file, {});
    EXPECT_ENGINE_ERROR(shared->NewPassword({}, {}), dao::errNotExclusive);
    shared->Close();
    engine.CompactDatabase(file, dir.filePath(QStringLiteral("copia.mdb")), {}, 0, {});
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("copia.mdb"))));
}

TEST_F(StorageCapabilitiesTest, AServerChangesItsRolesPasswordInPlaceNeverEmptyAndKeepsItsStorage)
{
    TAVORIO_REQUIRE_PG();
    const QString address = testsupport::newPgDatabase();
    const QString password = testsupport::pgOfficePassword();
    expectAnswers(address, password, false);

    // The same password again changes nothing on the server, but passes every check first.
    auto shared = openShared(address, password);
    EXPECT_NO_THROW(shared->NewPassword(password, password));
    EXPECT_ENGINE_ERROR(shared->NewPassword(password, {}), dao::errNotValidPassword);
    shared->Close();
    EXPECT_ENGINE_ERROR(engine.CompactDatabase(address, dir.filePath(QStringLiteral("copia.mdb")), {}, 0, {}),
                        dao::errOperationNotSupported);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("copia.mdb"))));
}

} // namespace
