// The history on the server is written by the server for every login, and no desk login can
// change it: an archive made by its owner, a desk's role granted what desks get, a change
// made by the desk recorded under the desk's name, every way of rewriting the history
// refused to the desk.

#include "EngineFixture.h"

#include "engine/pg/PgSchema.h"
#include "engine/pg/PgSession.h"

#include <unistd.h>

using dao::pg::PgSession;

namespace {

class PgHistoryPrivilegeTest : public EngineFixture {
protected:
    void SetUp() override
    {
        TAVORIO_REQUIRE_PG();
        const QString suffix = QString::number(::getpid());
        owner = QStringLiteral("proprietario_storia_") + suffix;
        desk = QStringLiteral("sportello_storia_") + suffix;
        database = QStringLiteral("storia_") + suffix;
        for (const QString &role : {owner, desk})
            testsupport::pgAdminQuery(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(role, password(role)));
        testsupport::pgAdminQuery(QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' TEMPLATE template0").arg(database, owner));
    }
    void TearDown() override
    {
        if (database.isEmpty())
            return;
        testsupport::pgAdminQuery(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
        for (const QString &role : {owner, desk})
            testsupport::pgAdminQuery(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role));
    }
    static QString password(const QString &role) { return role + QStringLiteral("-Parola1"); }

    QString owner, desk, database;
};

TEST_F(PgHistoryPrivilegeTest, ADeskChangeIsRecordedUnderItsLoginAndTheDeskCannotRewriteTheHistory)
{
    {
        auto db = ws->CreateDatabase(testsupport::pgSocketAddress(owner, database), password(owner));
        db->CreateTable(peopleSpec());
        db->TrackChanges("Persone", "ID");
        db->Close();
        PgSession session;
        session.connect(dao::ServerAddress::parse(testsupport::pgSocketAddress(owner, database)), {});
        for (const QString &statement : dao::pg::deskGrantStatements(desk))
            session.exec(statement);
    }
    {
        auto db = ws->OpenDatabase(testsupport::pgRoleAddress(desk, database), false, false,
                                   ";UID=Admin;PWD=" + password(desk) + ";");
        auto rs = db->OpenRecordset("Persone");
        rs->AddNew();
        rs->field("Nome").setValue("Bianca");
        rs->Update();
        db->Close();
    }
    PgSession deskSession;
    deskSession.connect(dao::ServerAddress::parse(testsupport::pgRoleAddress(desk, database)), password(desk));
    const dao::pg::PgResult seen = deskSession.exec(QStringLiteral(
        "SELECT \"Utente\", \"Campo\", \"Dopo\" FROM \"Storia\" WHERE \"Campo\" = 'Nome'"));
    ASSERT_EQ(seen.rowCount(), 1);
    EXPECT_EQ(seen.value(0, 0).asText(), desk);
    EXPECT_EQ(seen.value(0, 2).asText(), QStringLiteral("Bianca"));

    for (const char *rewrite : {"UPDATE \"Storia\" SET \"Utente\" = 'nessuno'", "DELETE FROM \"Storia\"",
                                "TRUNCATE \"Storia\"",
                                "INSERT INTO \"Storia\" (\"Utente\", \"Campo\") VALUES ('nessuno', 'Nome')",
                                "DELETE FROM \"MSysHistory\"", "DROP TRIGGER engine_history ON \"Persone\"",
                                "ALTER TABLE \"Persone\" DISABLE TRIGGER engine_history",
                                "SELECT engine_functions.\"engine_history_Persone\"()"})
        EXPECT_THROW(deskSession.exec(QLatin1String(rewrite)), dao::EngineError) << rewrite;
    // Every attempt failed whole: the two rows of the insert (Nome, and Attivo from its default) stay.
    const dao::pg::PgResult all = deskSession.exec(QStringLiteral(
        "SELECT count(*), count(*) FILTER (WHERE \"Utente\" = ?::text) FROM \"Storia\""), {desk});
    EXPECT_EQ(all.value(0, 0).asInt(), 2);
    EXPECT_EQ(all.value(0, 1).asInt(), 2);
}

} // namespace
