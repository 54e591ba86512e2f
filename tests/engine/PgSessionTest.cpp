#include "engine/pg/PgParameters.h"
#include "engine/pg/PgSession.h"
#include "tests/support/PgTestServer.h"

#include <gtest/gtest.h>
#include <limits>
#include <unistd.h>

using dao::EngineError;
using dao::Value;
using dao::pg::PgSession;

namespace {

dao::ServerAddress freshDatabase()
{
    return dao::ServerAddress::parse(testsupport::newPgDatabase());
}

// The failure the call raises; fails the test when it raises none.
template <typename Call>
EngineError failureOf(Call call)
{
    try {
        call();
    } catch (const EngineError &e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return EngineError(0, {}, {});
}

void expectNoSecret(const EngineError &e, const QString &secret)
{
    EXPECT_FALSE(e.description().contains(secret)) << e.description().toStdString();
    EXPECT_FALSE(QString::fromUtf8(e.what()).contains(secret));
}

class PgSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAVORIO_REQUIRE_PG();
        address = freshDatabase();
        session.connect(address, testsupport::pgOfficePassword());
    }

    dao::ServerAddress address;
    PgSession session;
};

} // namespace

TEST(PgPlaceholders, AreNumberedOutsideQuotesOnly)
{
    int count = 0;
    EXPECT_EQ(dao::pg::numberedPlaceholders(QStringLiteral("SELECT \"a?\" FROM t WHERE x = ? AND y = '?' AND z IN (?, ?)"), &count),
              QByteArray("SELECT \"a?\" FROM t WHERE x = $1 AND y = '?' AND z IN ($2, $3)"));
    EXPECT_EQ(count, 3);
}

TEST_F(PgSessionTest, EveryKindOfValueComesBackAsItWent)
{
    session.exec(QStringLiteral("CREATE TABLE v (t varchar(60), m text, b smallint, i2 smallint, i4 integer, "
                                "i8 bigint, d double precision, w double precision, y bytea)"));
    QString memo;
    for (int i = 0; i < 100000; ++i)
        memo += QChar(u"àèìòù'\"\\?x"[i % 10]);
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += char(i % 7 == 0 ? 0 : i);
    const double exact = 0.1 + 0.2;                       // 0.30000000000000004
    const dao::Date moment{45678.0 + (13 * 3600 + 45 * 60 + 7) / 86400.0};
    const std::vector<Value> row = {QStringLiteral("L'Aquila \"centro\" più ?"), memo, Value(true),
                                    Value(qint64(-32768)), Value(qint64(std::numeric_limits<qint32>::min())),
                                    Value(std::numeric_limits<qint64>::max()), Value(exact), Value(moment), Value(bytes)};
    session.exec(QStringLiteral("INSERT INTO v VALUES (?, ?, ?::smallint, ?::smallint, ?::integer, ?::bigint, "
                                "?::double precision, ?::double precision, ?)"), row);
    session.exec(QStringLiteral("INSERT INTO v VALUES (?, ?, ?::smallint, ?::smallint, ?::integer, ?::bigint, "
                                "?::double precision, ?::double precision, ?)"),
                 {Value(), Value(), Value(false), Value(qint64(32767)), Value(qint64(std::numeric_limits<qint32>::max())),
                  Value(std::numeric_limits<qint64>::min()), Value(-1e-300), Value(), Value()});

    const dao::pg::PgResult r = session.exec(QStringLiteral("SELECT * FROM v ORDER BY i2"));
    ASSERT_EQ(r.rowCount(), 2);
    ASSERT_EQ(r.columnCount(), 9);
    EXPECT_EQ(r.columnName(8), QStringLiteral("y"));
    EXPECT_EQ(r.value(0, 0), row[0]);
    EXPECT_EQ(r.value(0, 1).asText().size(), 100000);
    EXPECT_EQ(r.value(0, 1), row[1]);
    EXPECT_EQ(r.value(0, 2), Value(qint64(-1)));          // a Yes/No field holds -1 as on the file
    EXPECT_EQ(r.value(0, 3), row[3]);
    EXPECT_EQ(r.value(0, 4), row[4]);
    EXPECT_EQ(r.value(0, 5), row[5]);
    EXPECT_EQ(r.value(0, 6), row[6]);
    EXPECT_EQ(r.value(0, 7), Value(moment.days));
    EXPECT_EQ(r.value(0, 8), row[8]);
    EXPECT_EQ(r.value(1, 2), Value(qint64(0)));
    EXPECT_EQ(r.value(1, 3), Value(qint64(32767)));
    EXPECT_EQ(r.value(1, 5), Value(std::numeric_limits<qint64>::min()));
    EXPECT_EQ(r.value(1, 6), Value(-1e-300));
    for (int c : {0, 1, 7, 8})
        EXPECT_TRUE(r.value(1, c).isNull()) << c;

    // Booleans, numerics and counts as the server computes them.
    const dao::pg::PgResult e = session.exec(QStringLiteral("SELECT true, count(*), avg(i4), 'x'::text FROM v"));
    EXPECT_EQ(e.value(0, 0), Value(true));
    EXPECT_EQ(e.value(0, 1), Value(qint64(2)));
    EXPECT_EQ(e.value(0, 2), Value(-0.5));
    EXPECT_EQ(session.exec(QStringLiteral("UPDATE v SET b = 1")).rowsAffected(), 2);
}

TEST_F(PgSessionTest, ViolatedRulesGiveTheEngineNumbersInItalian)
{
    session.exec(QStringLiteral("CREATE TABLE \"Anagrafica\" (\"Cognome\" varchar(5) NOT NULL, \"N\" smallint, "
                                "\"K\" integer PRIMARY KEY)"));
    const EngineError required = failureOf([&] {
        session.exec(QStringLiteral("INSERT INTO \"Anagrafica\" VALUES (?, 1, 1)"), {Value()});
    });
    EXPECT_EQ(required.number(), dao::errFieldRequired);
    EXPECT_EQ(required.source(), QStringLiteral("DAO.Database"));
    EXPECT_EQ(required.description(),
              QStringLiteral("Un campo obbligatorio non contiene un valore: Anagrafica.Cognome. (codice 23502)"));

    const EngineError tooLong = failureOf([&] {
        session.exec(QStringLiteral("INSERT INTO \"Anagrafica\" VALUES (?, 1, 1)"), {QStringLiteral("Rossini")},
                     QStringLiteral("DAO.Recordset"));
    });
    EXPECT_EQ(tooLong.number(), 3163);
    EXPECT_EQ(tooLong.source(), QStringLiteral("DAO.Recordset"));
    EXPECT_TRUE(tooLong.description().endsWith(QLatin1String("(codice 22001)")));

    EXPECT_EQ(failureOf([&] { session.exec(QStringLiteral("INSERT INTO \"Anagrafica\" VALUES ('a', 99999, 1)")); }).number(), 3349);
    session.exec(QStringLiteral("INSERT INTO \"Anagrafica\" VALUES ('a', 1, 1)"));
    EXPECT_EQ(failureOf([&] { session.exec(QStringLiteral("INSERT INTO \"Anagrafica\" VALUES ('b', 1, 1)")); }).number(), 3022);
    const EngineError other = failureOf([&] { session.exec(QStringLiteral("SELECT nessuna FROM \"Anagrafica\"")); });
    EXPECT_EQ(other.number(), 3000);
    EXPECT_TRUE(other.description().startsWith(QLatin1String("Errore del server dell'archivio: ")));

    // A text with a zero character would be cut short on the way: refused instead.
    EXPECT_EQ(failureOf([&] {
        session.exec(QStringLiteral("INSERT INTO \"Anagrafica\" VALUES (?, 1, 2)"), {QStringLiteral("a") + QChar(0) + "b"});
    }).number(), 3000);
    EXPECT_EQ(session.exec(QStringLiteral("SELECT count(*) FROM \"Anagrafica\"")).value(0, 0), Value(qint64(1)));
}

TEST_F(PgSessionTest, ACommitAfterAFailedStatementIsNoSuccess)
{
    session.exec(QStringLiteral("CREATE TABLE t (k integer PRIMARY KEY)"));
    session.begin();
    session.exec(QStringLiteral("INSERT INTO t VALUES (1)"));
    EXPECT_THROW(session.exec(QStringLiteral("INSERT INTO t VALUES (1)")), EngineError);
    EXPECT_EQ(failureOf([&] { session.commit(); }).number(), 3000);
    EXPECT_FALSE(session.inTransaction());
    EXPECT_EQ(session.exec(QStringLiteral("SELECT count(*) FROM t")).value(0, 0), Value(qint64(0)));

    session.begin();
    session.exec(QStringLiteral("INSERT INTO t VALUES (1)"));
    session.savepoint(QStringLiteral("riga"));
    EXPECT_THROW(session.exec(QStringLiteral("INSERT INTO t VALUES (1)")), EngineError);
    session.rollbackToSavepoint(QStringLiteral("riga"));
    session.exec(QStringLiteral("INSERT INTO t VALUES (2)"));
    session.commit();
    EXPECT_EQ(session.exec(QStringLiteral("SELECT sum(k) FROM t")).value(0, 0), Value(qint64(3)));
}

TEST_F(PgSessionTest, AWaitForAnotherSessionsLockEndsAsALockedRecord)
{
    session.exec(QStringLiteral("CREATE TABLE t (k integer PRIMARY KEY, n integer)"));
    session.exec(QStringLiteral("INSERT INTO t VALUES (1, 0)"));
    PgSession other;
    other.connect(address, testsupport::pgOfficePassword());
    other.setLockTimeout(100);
    session.begin();
    session.exec(QStringLiteral("SELECT n FROM t WHERE k = 1 FOR UPDATE"));
    const EngineError locked = failureOf([&] { other.exec(QStringLiteral("UPDATE t SET n = 2 WHERE k = 1")); });
    EXPECT_EQ(locked.number(), dao::errRecordLocked);
    EXPECT_TRUE(locked.description().endsWith(QLatin1String("(codice 55P03)")));
    session.commit();
    EXPECT_EQ(other.exec(QStringLiteral("UPDATE t SET n = 2 WHERE k = 1")).rowsAffected(), 1);
}

TEST_F(PgSessionTest, ALostConnectionFailsOnceThenTheNextCallReconnects)
{
    session.exec(QStringLiteral("CREATE TABLE t (k integer)"));
    const int before = session.backendPid();
    testsupport::pgEndSession(before);
    const EngineError lost = failureOf([&] { session.exec(QStringLiteral("INSERT INTO t VALUES (1)")); });
    EXPECT_EQ(lost.number(), 3151);
    EXPECT_TRUE(lost.description().startsWith(QLatin1String("Connessione al server dell'archivio non riuscita o interrotta: ")));
    EXPECT_TRUE(session.isBroken());
    expectNoSecret(lost, testsupport::pgOfficePassword());

    session.exec(QStringLiteral("INSERT INTO t VALUES (2)"));
    EXPECT_FALSE(session.isBroken());
    EXPECT_NE(session.backendPid(), before);
    EXPECT_EQ(session.exec(QStringLiteral("SELECT sum(k) FROM t")).value(0, 0), Value(qint64(2)));

    // Within a transaction the work is gone with the connection: no statement runs on in a
    // new session as if nothing happened, and the commit says so; the rollback clears it.
    session.begin();
    session.exec(QStringLiteral("INSERT INTO t VALUES (3)"));
    testsupport::pgEndSession(session.backendPid());
    EXPECT_EQ(failureOf([&] { session.exec(QStringLiteral("INSERT INTO t VALUES (4)")); }).number(), 3151);
    EXPECT_EQ(failureOf([&] { session.exec(QStringLiteral("INSERT INTO t VALUES (5)")); }).number(), 3151);
    session.rollback();
    EXPECT_EQ(session.exec(QStringLiteral("SELECT sum(k) FROM t")).value(0, 0), Value(qint64(2)));

    session.begin();
    session.exec(QStringLiteral("INSERT INTO t VALUES (6)"));
    testsupport::pgEndSession(session.backendPid());
    EXPECT_EQ(failureOf([&] { session.commit(); }).number(), 3151);
    EXPECT_FALSE(session.inTransaction());
    EXPECT_EQ(session.exec(QStringLiteral("SELECT sum(k) FROM t")).value(0, 0), Value(qint64(2)));
}

TEST(PgSessionConnect, FailuresSayWhyWithoutThePassword)
{
    TAVORIO_REQUIRE_PG();
    const dao::ServerAddress address = freshDatabase();
    const QString wrong = QStringLiteral("Sbagliata-7731");
    PgSession session;

    const EngineError badPassword = failureOf([&] { session.connect(address, wrong); });
    EXPECT_EQ(badPassword.number(), dao::errNotValidPassword);
    EXPECT_EQ(badPassword.description(), QStringLiteral("Password non valida. (codice 28P01)"));
    expectNoSecret(badPassword, wrong);
    EXPECT_EQ(failureOf([&] { session.connect(address, {}); }).number(), dao::errNotValidPassword);

    dao::ServerAddress missing = address;
    missing.database = QStringLiteral("archivio_che_non_esiste");
    const EngineError notFound = failureOf([&] { session.connect(missing, testsupport::pgOfficePassword()); });
    EXPECT_EQ(notFound.number(), dao::errFileNotFound);
    EXPECT_TRUE(notFound.description().contains(QLatin1String("archivio_che_non_esiste")));

    const dao::ServerAddress nobody = dao::ServerAddress::parse(QStringLiteral("postgresql://ufficio@127.0.0.1:1/x"));
    const EngineError refused = failureOf([&] { session.connect(nobody, wrong, QStringLiteral("DAO.DBEngine")); });
    EXPECT_EQ(refused.number(), 3151);
    EXPECT_EQ(refused.source(), QStringLiteral("DAO.DBEngine"));
    expectNoSecret(refused, wrong);
    EXPECT_FALSE(session.isOpen());

    // A certificate the client cannot check is refused when the address asks for a check.
    dao::ServerAddress unchecked = address;
    unchecked.sslmode = QStringLiteral("verify-full");
    unchecked.sslRootCert = QStringLiteral("/nonexistent/root.crt");
    EXPECT_EQ(failureOf([&] { session.connect(unchecked, testsupport::pgOfficePassword()); }).number(), 3151);
}

// The test server offers TLS as an office server would: the default checks its certificate
// and binds the login to the channel, and "disable" (allowed on this computer only) goes without.
TEST(PgSessionTls, UsedWhenTheServerOffersItAndAsTheAddressAsks)
{
    TAVORIO_REQUIRE_PG();
    const dao::ServerAddress address = freshDatabase();
    const auto encrypted = [](const dao::ServerAddress &a) {
        PgSession session;
        session.connect(a, testsupport::pgOfficePassword());
        return session.exec(QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()")).value(0, 0).asBool();
    };
    EXPECT_EQ(address.sslmode, QStringLiteral("verify-full"));
    EXPECT_EQ(address.channelBinding, QStringLiteral("require"));
    EXPECT_TRUE(encrypted(address));
    const dao::ServerAddress plain = dao::ServerAddress::parse(
        QStringLiteral("postgresql://%1@127.0.0.1:%2/%3?sslmode=disable").arg(address.role).arg(address.port).arg(address.database));
    EXPECT_FALSE(plain.isProtected());
    EXPECT_FALSE(encrypted(plain));
}

TEST(PgSessionPassword, TheServerGetsAVerifierAndTheSessionKeepsTheNewPassword)
{
    TAVORIO_REQUIRE_PG();
    dao::ServerAddress address = freshDatabase();
    address.role = QStringLiteral("prova_pw_%1").arg(::getpid());
    testsupport::pgAdminQuery(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'Primo-4821'").arg(address.role));
    const QString changed = QStringLiteral("Nuova'Parola-9907");
    {
        PgSession session;
        session.connect(address, QStringLiteral("Primo-4821"));
        EXPECT_EQ(failureOf([&] { session.changePassword({}); }).number(), dao::errNotValidPassword);
        session.changePassword(changed);
        const QString pid = QString::number(session.backendPid());
        const QString lastStatement = testsupport::pgAdminQuery(
            QStringLiteral("SELECT query FROM pg_stat_activity WHERE pid = %1").arg(pid));
        EXPECT_TRUE(lastStatement.startsWith(QLatin1String("ALTER ROLE CURRENT_USER PASSWORD 'SCRAM-SHA-256$")))
            << lastStatement.toStdString();
        EXPECT_FALSE(lastStatement.contains(QLatin1String("Parola")));

        // A reconnection after a lost connection logs in with the new password.
        testsupport::pgEndSession(pid.toLongLong());
        EXPECT_EQ(failureOf([&] { session.exec(QStringLiteral("SELECT 1")); }).number(), 3151);
        EXPECT_EQ(session.exec(QStringLiteral("SELECT 1")).value(0, 0), Value(qint64(1)));
    }
    PgSession later;
    EXPECT_EQ(failureOf([&] { later.connect(address, QStringLiteral("Primo-4821")); }).number(), dao::errNotValidPassword);
    later.connect(address, changed);
    later.close();
    testsupport::pgAdminQuery(QStringLiteral("DROP ROLE %1").arg(address.role));
}
