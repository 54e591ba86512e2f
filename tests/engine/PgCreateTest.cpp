// An archive is made only in a database that keeps every letter and changes case as the
// program does; the refusal says what to create instead.

#include "EngineFixture.h"

#include <unistd.h>

namespace {

TEST(PgCreate, RefusesADatabaseThatWouldLoseLettersOrTheirCase)
{
    TAVORIO_REQUIRE_PG();
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace("DaoWorkspace", "Admin", "", dao::dbUseJet);
    const QString role = testsupport::pgOfficeRole();
    static const char *const settings[] = {"ENCODING 'UTF8' LC_CTYPE 'C' LC_COLLATE 'C'",
                                           "ENCODING 'SQL_ASCII' LC_CTYPE 'C' LC_COLLATE 'C'"};
    int n = 0;
    for (const char *setting : settings) {
        const QString name = QStringLiteral("prova_testi_%1_%2").arg(::getpid()).arg(n++);
        testsupport::pgAdminQuery(QStringLiteral("CREATE DATABASE %1 OWNER %2 TEMPLATE template0 %3")
                                      .arg(name, role, QLatin1String(setting)));
        const QString address = testsupport::pgOfficeAddress(name);
        try {
            ws->CreateDatabase(address, testsupport::pgOfficePassword());
            ADD_FAILURE() << "created in " << setting;
        } catch (const dao::EngineError &e) {
            EXPECT_EQ(e.number(), dao::errUnrecognizedFormat);
            EXPECT_TRUE(e.description().contains(QLatin1String("UTF8"))) << e.description().toStdString();
            EXPECT_FALSE(e.description().contains(testsupport::pgOfficePassword()));
        }
        // Nothing was left behind: the database can still be made an archive once fixed.
        EXPECT_EQ(testsupport::pgAdminQuery(QStringLiteral("SELECT count(*) FROM pg_class WHERE relnamespace = 'public'::regnamespace"), name),
                  QStringLiteral("0"));
    }
}

} // namespace
