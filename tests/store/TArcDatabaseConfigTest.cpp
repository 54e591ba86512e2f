// Construction, configuration and engine start of the archive connection.

#include "StoreTestSupport.h"
#include "TArcTableTestSupport.h"

#include "engine/DBEngine.h"
#include "engine/Workspace.h"
#include "platform/ComRuntime.h"
#include "platform/EngineRegistry.h"
#include "store/TArcDatabase.h"

#include <functional>

namespace {

using store_test::StoreTest;

const QString Dao35 = QStringLiteral("DAO.DBEngine.35");
const QString Dao36 = QStringLiteral("DAO.DBEngine.36");
const QString OldEngine = QStringLiteral("You does not have Microsoft DAO installed ot it is an OLD Version!");

using table_test::messageOf;

using ConfigTest = StoreTest;

TEST_F(ConfigTest, InitialValuesAfterConstruction)
{
    platform::setEngineSystemDbDefault(QStringLiteral("4.0"), QStringLiteral("/etc/jet/system.mdw"));
    TArcDatabase db;
    EXPECT_EQ(db.Database(), QString());
    EXPECT_EQ(db.DatabasePassword(), QString());
    EXPECT_EQ(db.DatabaseType(), QStringLiteral("Access"));
    EXPECT_FALSE(db.Exclusive());
    EXPECT_FALSE(db.ReadOnly());
    EXPECT_EQ(db.UserName(), QStringLiteral("Admin"));
    EXPECT_EQ(db.Password(), QString());
    EXPECT_EQ(db.SystemDatabase(), QStringLiteral("/etc/jet/system.mdw"));
    EXPECT_EQ(db.engine()->SystemDB(), QStringLiteral("/etc/jet/system.mdw"));
    EXPECT_EQ(db.Workspace(), QStringLiteral("DaoWorkspace"));
    EXPECT_EQ(db.EngineType(), 2);
    EXPECT_FALSE(db.PrivateEngine());
    EXPECT_EQ(db.Version(), QStringLiteral("3.6"));
    EXPECT_EQ(db.EngineVersionList(), QStringList{QStringLiteral("3.6")});
    EXPECT_EQ(db.DatabaseParameters(), QString());
    EXPECT_EQ(db.QueryTimeout(), 60);
    EXPECT_TRUE(db.SmartOpen());
    EXPECT_FALSE(db.ShowSystemObjects());
    EXPECT_FALSE(db.LoginPrompt());
    EXPECT_TRUE(db.SaveUserName());
    EXPECT_TRUE(db.TrackTransactions());
    EXPECT_FALSE(db.MdbVersionAutoDetect());
    EXPECT_EQ(db.DefaultCursorDriver(), -1);
    EXPECT_TRUE(db.UseODBCDialog());
    EXPECT_TRUE(db.UsesDynaDao());
    EXPECT_EQ(db.ComponentVersion(), QStringLiteral("8.20"));
    EXPECT_EQ(db.VersionDetails(), db.engine()->Version());
    EXPECT_EQ(db.VersionInfo(), QStringLiteral("(In Access'2000 mode)"));
    EXPECT_EQ(db.DatabaseVersionInfo(), QString());
    EXPECT_FALSE(db.Connected());
    EXPECT_NE(db.engine(), nullptr);
    EXPECT_EQ(db.workspace(), nullptr);
    EXPECT_EQ(db.engine()->DefaultUser(), QStringLiteral("Admin"));
    EXPECT_EQ(db.engine()->DefaultType(), 2);
}

TEST_F(ConfigTest, OlderEngineComesFirstWhenBothAreThere)
{
    platform::setEngineClassRegistered(Dao35, true);
    platform::setEngineSystemDbDefault(QStringLiteral("3.5"), QStringLiteral("sys35.mdw"));
    TArcDatabase db;
    EXPECT_EQ(db.EngineVersionList(), (QStringList{QStringLiteral("3.5"), QStringLiteral("3.6")}));
    EXPECT_EQ(db.Version(), QStringLiteral("3.5"));
    EXPECT_EQ(db.SystemDatabase(), QStringLiteral("sys35.mdw"));
    EXPECT_EQ(db.VersionInfo(), QStringLiteral("(In Access'2000 mode)")); // the engine says 3.6

    // The 3.5 class vanishing makes the next engine start fall back to 3.6.
    platform::setEngineCreatable(Dao35, false);
    db.setWorkspace(QStringLiteral("Altro"));
    EXPECT_EQ(db.Version(), QStringLiteral("3.6"));
}

struct ConstructionFailure {
    const char *name;
    std::function<void()> arrange;
    const char *message;
};

class ConstructionFailureTest : public StoreTest, public ::testing::WithParamInterface<ConstructionFailure> {};

TEST_P(ConstructionFailureTest, RaisesItsMessageAndBalancesTheRuntime)
{
    const int before = platform::coInitCount();
    GetParam().arrange();
    EXPECT_EQ(messageOf([] { TArcDatabase db; }), QString::fromLatin1(GetParam().message));
    EXPECT_EQ(platform::coInitCount(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Construction, ConstructionFailureTest,
    ::testing::Values(
        ConstructionFailure{"runtime", [] { platform::failNextCoInitialize(-2147418113); },
                            "Unable to init OLE objects!"},
        ConstructionFailure{"unregistered", [] { platform::setEngineClassRegistered(Dao36, false); },
                            "Cannot find DAO on your system!"},
        ConstructionFailure{"notCreatable", [] { platform::setEngineCreatable(Dao36, false); },
                            "Cannot find DAO on your system!"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConfigTest, RuntimeStaysBalancedOverEngineStartsAndDestruction)
{
    const int before = platform::coInitCount();
    {
        TArcDatabase db;
        db.setWorkspace(QStringLiteral("Uno"));
        db.setUserName(QStringLiteral("Admin"));
        EXPECT_EQ(platform::coInitCount(), before + 1);
    }
    EXPECT_EQ(platform::coInitCount(), before);
}

TEST_F(ConfigTest, FailedEngineStartRestoresThePreviousValue)
{
    TArcDatabase db;
    db.setWorkspace(QStringLiteral("Primo"));
    platform::setEngineCreatable(Dao36, false);
    EXPECT_EQ(messageOf([&] { db.setWorkspace(QStringLiteral("Secondo")); }), OldEngine);
    EXPECT_EQ(db.Workspace(), QStringLiteral("Primo"));
    EXPECT_EQ(messageOf([&] { db.setEngineType(1); }), OldEngine);
    EXPECT_EQ(db.EngineType(), 2);
    // User name and password changes ignore the engine's failure.
    db.setUserName(QStringLiteral("Altro"));
    EXPECT_EQ(db.UserName(), QStringLiteral("Altro"));
}

TEST_F(ConfigTest, AcceptedChangesAndTheirSideEffects)
{
    platform::setEngineSystemDbDefault(QStringLiteral("4.0"), QStringLiteral("registrato.mdw"));
    TArcDatabase db;
    db.setDatabase(QStringLiteral("/x/tavorio.mdb"));
    db.setDatabaseType(QStringLiteral("Access"));
    EXPECT_EQ(db.Database(), QString());

    db.setSystemDatabase(QStringLiteral("system.mdb"));
    EXPECT_EQ(db.engine()->SystemDB(), QStringLiteral("system.mdb"));
    db.setSystemDatabase(QString());
    EXPECT_EQ(db.SystemDatabase(), QStringLiteral("registrato.mdw"));

    db.setVersion(QStringLiteral("3.60 beta"));
    EXPECT_EQ(db.Version(), QStringLiteral("3.6"));

    db.setWorkspace(QStringLiteral("Lavoro"));
    ASSERT_NE(db.workspace(), nullptr);
    EXPECT_EQ(db.workspace()->Name(), QStringLiteral("Lavoro"));

    db.setEngineType(1);
    db.setDefaultCursorDriver(3);
    EXPECT_EQ(db.workspace()->DefaultCursorDriver(), 3);
}

TEST_F(ConfigTest, LoadingOnlyStoresUntilItEnds)
{
    TArcDatabase db;
    const auto engineBefore = db.engineObject();
    db.beginLoading();
    db.setDatabase(QStringLiteral("/x/a.mdb"));
    db.setDatabaseType(QStringLiteral("Access")); // empties Database even while loading
    db.setVersion(QStringLiteral("3.6xx"));
    db.setWorkspace(QStringLiteral("Caricato"));
    db.setSystemDatabase(QStringLiteral("system.mdb"));
    EXPECT_EQ(db.Database(), QString());
    EXPECT_EQ(db.Version(), QStringLiteral("3.6"));
    EXPECT_EQ(db.engineObject(), engineBefore);
    EXPECT_EQ(db.workspace(), nullptr);

    db.endLoading();
    EXPECT_NE(db.engineObject(), engineBefore);
    ASSERT_NE(db.workspace(), nullptr);
    EXPECT_EQ(db.workspace()->Name(), QStringLiteral("Caricato"));
    EXPECT_EQ(db.engine()->SystemDB(), QStringLiteral("system.mdb"));
}

TEST_F(ConfigTest, EngineFailureAtEndOfLoadingWaitsForTheNextConnect)
{
    TArcDatabase db;
    platform::setEngineCreatable(Dao36, false);
    db.beginLoading();
    db.setDatabase(pathOf(QStringLiteral("tavorio.mdb")));
    EXPECT_NO_THROW(db.endLoading());
    EXPECT_EQ(messageOf([&] { db.Open(); }), OldEngine);
    EXPECT_FALSE(db.Connected());
}

} // namespace
