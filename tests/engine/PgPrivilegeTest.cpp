// An archive on the server made by its owner, used by a desk's role with only what a desk
// needs, and a third role of the same server that tries to take the place of the archive's
// functions and tables, in schema public and in a schema of its own named as the desk's role
// would look first. The desk's results stay the same, and the desk cannot change a table.

#include "EngineFixture.h"

#include "engine/pg/PgSchema.h"
#include "engine/pg/PgSession.h"

#include <unistd.h>

using dao::pg::PgSession;

namespace {

class PgPrivilegeTest : public EngineFixture {
protected:
    void SetUp() override
    {
        TAVORIO_REQUIRE_PG();
        const QString suffix = QString::number(::getpid());
        owner = QStringLiteral("proprietario_") + suffix;
        desk = QStringLiteral("sportello_") + suffix;
        intruder = QStringLiteral("intruso_") + suffix;
        database = QStringLiteral("privilegi_") + suffix;
        for (const QString &role : {owner, desk, intruder})
            testsupport::pgAdminQuery(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(role, password(role)));
        testsupport::pgAdminQuery(QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' TEMPLATE template0").arg(database, owner));
        testsupport::pgAdminQuery(QStringLiteral("GRANT CREATE ON DATABASE %1 TO %2").arg(database, intruder));
        // Schema public as servers up to PostgreSQL 14 make it: open to every role.
        testsupport::pgAdminQuery(QStringLiteral("GRANT CREATE ON SCHEMA public TO PUBLIC"), database);
    }
    void TearDown() override
    {
        if (database.isEmpty())
            return;
        testsupport::pgAdminQuery(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
        for (const QString &role : {owner, desk, intruder})
            testsupport::pgAdminQuery(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role));
    }
    static QString password(const QString &role) { return role + QStringLiteral("-Parola1"); }

    // What the desk sees: a search and a sort that go through the archive's functions.
    QStringList deskResults()
    {
        auto db = ws->OpenDatabase(testsupport::pgRoleAddress(desk, database), false, false,
                                   ";UID=Admin;PWD=" + password(desk) + ";");
        auto rs = db->OpenRecordset(QStringLiteral("Select * From [Persone] Where [Nome] Like \"*a*\" Order By [Nome];"));
        QStringList seen = names(*rs);
        rs->Close();
        db->Close();
        return seen;
    }

    QString owner, desk, intruder, database;
};

TEST_F(PgPrivilegeTest, ADeskGetsWhatADeskNeedsAndNoRoleCanShadowTheArchive)
{
    {
        auto db = ws->CreateDatabase(testsupport::pgSocketAddress(owner, database), password(owner));
        db->CreateTable(peopleSpec());
        auto rs = db->OpenRecordset("Persone");
        for (const char *name : {"Zaira", "bianca", "Àlvaro", "Marco", "piero"}) {
            rs->AddNew();
            rs->field("Nome").setValue(QString::fromUtf8(name));
            rs->Update();
        }
        rs->Close();
        db->Close();
        PgSession session;
        session.connect(dao::ServerAddress::parse(testsupport::pgSocketAddress(owner, database)), {});
        for (const QString &statement : dao::pg::deskGrantStatements(desk))
            session.exec(statement);
    }
    const QStringList before = deskResults();
    ASSERT_EQ(before, (QStringList{"Àlvaro", "bianca", "Marco", "Zaira"}));

    PgSession intruding;
    intruding.connect(dao::ServerAddress::parse(testsupport::pgRoleAddress(intruder, database)), password(intruder));
    // Every function of the archive, taken over with a closer argument type and with its own.
    const dao::pg::PgResult functions = intruding.exec(QStringLiteral(
        "SELECT p.proname, pg_get_function_identity_arguments(p.oid), pg_get_function_result(p.oid) FROM pg_proc p "
        "JOIN pg_namespace n ON n.oid = p.pronamespace WHERE n.nspname = 'engine_functions'"));
    ASSERT_GT(functions.rowCount(), 10);
    intruding.exec(QStringLiteral("CREATE SCHEMA %1").arg(intruder));
    for (int row = 0; row < functions.rowCount(); ++row) {
        const QString name = functions.value(row, 0).asText();
        const QString arguments = functions.value(row, 1).asText();
        const QString result = functions.value(row, 2).asText();
        const QString closer = QString(arguments).replace(QStringLiteral("t text"), QStringLiteral("t character varying"));
        QStringList signatures{arguments};
        if (closer != arguments)
            signatures << closer;
        for (const QString &schema : {QStringLiteral("public"), intruder}) {
            for (const QString &signature : signatures) {
                const QString planted = QStringLiteral("CREATE FUNCTION %1.%2(%3) RETURNS %4 LANGUAGE sql AS $x$ SELECT NULL::%4 $x$")
                                            .arg(schema, name, signature, result);
                if (schema == QLatin1String("public"))
                    EXPECT_THROW(intruding.exec(planted), dao::EngineError) << planted.toStdString();
                else
                    intruding.exec(planted);
            }
        }
    }
    for (const QString &schema : {QStringLiteral("public"), intruder}) {
        const QString table = QStringLiteral("CREATE TABLE %1.\"Persone\" (\"Nome\" varchar(20))").arg(schema);
        if (schema == QLatin1String("public"))
            EXPECT_THROW(intruding.exec(table), dao::EngineError);
        else
            intruding.exec(table);
    }
    intruding.exec(QStringLiteral("INSERT INTO %1.\"Persone\" VALUES ('Intruso a')").arg(intruder));
    intruding.exec(QStringLiteral("CREATE FUNCTION %1.lower(t character varying) RETURNS text LANGUAGE sql AS $x$ SELECT 'a' $x$")
                       .arg(intruder));
    // Even a search path the desk's role was given to look in the intruder's schema first.
    testsupport::pgAdminQuery(QStringLiteral("ALTER ROLE %1 SET search_path = %2, public").arg(desk, intruder));

    EXPECT_EQ(deskResults(), before);

    PgSession deskSession;
    deskSession.connect(dao::ServerAddress::parse(testsupport::pgRoleAddress(desk, database)), password(desk));
    for (const char *change : {"ALTER TABLE \"Persone\" ADD COLUMN \"Altro\" integer", "DROP TABLE \"Persone\"",
                               "CREATE TABLE \"Nuova\" (x integer)", "TRUNCATE \"Persone\"",
                               "CREATE FUNCTION engine_functions.jet_key(t character varying) RETURNS bytea LANGUAGE sql AS $x$ SELECT NULL::bytea $x$"})
        EXPECT_THROW(deskSession.exec(QLatin1String(change)), dao::EngineError) << change;
    EXPECT_EQ(deskSession.exec(QStringLiteral("DELETE FROM \"Persone\" WHERE \"Nome\" = 'piero'")).rowsAffected(), 1);
}

} // namespace
