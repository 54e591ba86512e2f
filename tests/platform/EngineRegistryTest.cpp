#include "platform/EngineRegistry.h"

#include <gtest/gtest.h>

namespace {

class EngineRegistry : public ::testing::Test {
protected:
    void TearDown() override { platform::resetEngineRegistry(); }
};

struct ClassCase {
    const char *progId;
    bool available;
};

class EngineRegistryDefaults : public EngineRegistry, public ::testing::WithParamInterface<ClassCase> {};

TEST_P(EngineRegistryDefaults, OnlyTheVersion36ClassesAreThere)
{
    const QString progId = QString::fromLatin1(GetParam().progId);
    EXPECT_EQ(platform::isEngineClassRegistered(progId), GetParam().available);
    EXPECT_EQ(platform::canCreateEngine(progId), GetParam().available);
}

INSTANTIATE_TEST_SUITE_P(Classes, EngineRegistryDefaults,
                         ::testing::Values(ClassCase{"DAO.DBEngine.36", true},
                                           ClassCase{"DAO.PrivateDBEngine.36", true},
                                           ClassCase{"dao.dbengine.36", true},
                                           ClassCase{"DAO.DBEngine.35", false},
                                           ClassCase{"DAO.PrivateDBEngine.35", false},
                                           ClassCase{"DAO.DBEngine", false},
                                           ClassCase{"", false}));

TEST_F(EngineRegistry, NoSystemDbByDefault)
{
    EXPECT_TRUE(platform::engineSystemDbDefault(QStringLiteral("4.0")).isEmpty());
    EXPECT_TRUE(platform::engineSystemDbDefault(QStringLiteral("3.5")).isEmpty());
}

TEST_F(EngineRegistry, AClassThatCannotBeCreatedStaysRegistered)
{
    platform::setEngineCreatable(QStringLiteral("DAO.DBEngine.36"), false);
    EXPECT_TRUE(platform::isEngineClassRegistered(QStringLiteral("DAO.DBEngine.36")));
    EXPECT_FALSE(platform::canCreateEngine(QStringLiteral("DAO.DBEngine.36")));
    EXPECT_TRUE(platform::canCreateEngine(QStringLiteral("DAO.PrivateDBEngine.36")));
}

TEST_F(EngineRegistry, OnlyARegisteredClassCanBeCreated)
{
    platform::setEngineCreatable(QStringLiteral("DAO.DBEngine.35"), true);
    EXPECT_FALSE(platform::canCreateEngine(QStringLiteral("DAO.DBEngine.35")));
    platform::setEngineClassRegistered(QStringLiteral("DAO.DBEngine.35"), true);
    EXPECT_TRUE(platform::canCreateEngine(QStringLiteral("DAO.DBEngine.35")));
}

TEST_F(EngineRegistry, ResetRestoresTheDefaults)
{
    platform::setEngineClassRegistered(QStringLiteral("DAO.DBEngine.36"), false);
    platform::setEngineClassRegistered(QStringLiteral("DAO.DBEngine.35"), true);
    platform::setEngineCreatable(QStringLiteral("DAO.PrivateDBEngine.36"), false);
    platform::setEngineSystemDbDefault(QStringLiteral("3.5"), QStringLiteral("/x/system.mdw"));
    EXPECT_EQ(platform::engineSystemDbDefault(QStringLiteral("3.5")), QStringLiteral("/x/system.mdw"));
    EXPECT_TRUE(platform::engineSystemDbDefault(QStringLiteral("4.0")).isEmpty());

    platform::resetEngineRegistry();

    EXPECT_TRUE(platform::canCreateEngine(QStringLiteral("DAO.DBEngine.36")));
    EXPECT_TRUE(platform::canCreateEngine(QStringLiteral("DAO.PrivateDBEngine.36")));
    EXPECT_FALSE(platform::isEngineClassRegistered(QStringLiteral("DAO.DBEngine.35")));
    EXPECT_TRUE(platform::engineSystemDbDefault(QStringLiteral("3.5")).isEmpty());
}

} // namespace
