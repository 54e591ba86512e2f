// Impostors on the office network: servers that decline TLS, show a certificate the desk does
// not trust, or ask for the password in clear or as MD5. None of them receives a byte of the
// password, whatever sslmode the address asks for, and the desk is told that the server did
// not prove who it is, never that the password is wrong. No real server is needed.

#include "engine/EngineError.h"
#include "engine/pg/PgSession.h"
#include "tests/support/FakePgServer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testsupport::FakePgServer;

namespace {

const QString kPassword = QStringLiteral("Parola-Segreta-4417");

struct Impostor {
    const char *what;
    FakePgServer::Tls tls;
    FakePgServer::Login login;
    bool trustedCertificate;
    const char *sslmode;      // empty: the address's default
    bool reachesTheLogin;     // whether the impostor gets as far as asking for the password
};

TEST(UnprovenServer, GetsNoPasswordByteAndIsReportedAsUnproven)
{
    QTemporaryDir dir;
    const testsupport::Certificate office = testsupport::makeCertificate(dir.path(), QStringLiteral("ufficio"));
    const testsupport::Certificate own = testsupport::makeCertificate(dir.path(), QStringLiteral("impostore"));
    using Tls = FakePgServer::Tls;
    using Login = FakePgServer::Login;
    const Impostor impostors[] = {
        {"declines TLS, asks in clear", Tls::Declined, Login::Cleartext, false, "", false},
        {"declines TLS under sslmode=require", Tls::Declined, Login::Cleartext, false, "require", false},
        {"a certificate of its own", Tls::Offered, Login::Cleartext, false, "", false},
        {"a certificate of its own under sslmode=require", Tls::Offered, Login::Cleartext, false, "require", true},
        {"the office's certificate, asks in clear", Tls::Offered, Login::Cleartext, true, "", true},
        {"the office's certificate, asks for MD5", Tls::Offered, Login::Md5, true, "", true},
        {"a certificate of its own, asks for MD5", Tls::Offered, Login::Md5, false, "verify-ca", false},
    };
    for (const Impostor &impostor : impostors) {
        SCOPED_TRACE(impostor.what);
        FakePgServer server(impostor.tls, impostor.login, impostor.trustedCertificate ? office : own);
        // Under sslmode=require libpq checks the certificate all the same when it is given an
        // authority: those cases go without, as a desk that was never given one would.
        const QString sslmode = QLatin1String(impostor.sslmode);
        QString text = QStringLiteral("postgresql://sportello@127.0.0.1:%1/tavorio?application_name=desk").arg(server.port());
        if (sslmode != QLatin1String("require"))
            text += QStringLiteral("&sslrootcert=") + office.certFile;
        if (!sslmode.isEmpty())
            text += QStringLiteral("&sslmode=") + sslmode;
        dao::pg::PgSession session;
        try {
            session.connect(dao::ServerAddress::parse(text), kPassword);
            ADD_FAILURE() << "connected to an impostor";
        } catch (const dao::EngineError &e) {
            EXPECT_NE(e.number(), dao::errNotValidPassword);
            EXPECT_TRUE(e.description().startsWith(QStringLiteral("Il server non ha dimostrato la sua identità")))
                << e.description().toStdString();
        }
        session.close();
        EXPECT_EQ(server.loginRequests(), impostor.reachesTheLogin ? 1 : 0);
        EXPECT_FALSE(server.passwordMessageReceived());
        EXPECT_FALSE(server.received().contains(kPassword.toUtf8()));
        EXPECT_FALSE(server.received().contains("md5")) << "not even a hash of it";
    }
}

// An unprotected link is for a server on this computer, and has to be asked for by name.
TEST(UnprovenServer, OnlyThisComputerMayBeReachedUnprotected)
{
    const dao::ServerAddress office = dao::ServerAddress::parse(QStringLiteral("postgresql://sportello@nas/tavorio"));
    EXPECT_EQ(office.sslmode, QStringLiteral("verify-full"));
    EXPECT_EQ(office.channelBinding, QStringLiteral("require"));
    EXPECT_TRUE(office.isProtected());
    for (const char *text : {"postgresql://sportello@nas/tavorio?sslmode=disable",
                             "postgresql://sportello@192.168.1.10/tavorio?channel_binding=disable",
                             "postgresql://sportello@nas/tavorio?sslmode=prefer",
                             "postgresql://sportello@nas/tavorio?sslmode=allow"}) {
        EXPECT_THROW(dao::ServerAddress::parse(QLatin1String(text)), dao::EngineError) << text;
    }
    for (const char *text : {"postgresql://sportello@127.0.0.1/tavorio?sslmode=disable",
                             "postgresql://sportello@[::1]/tavorio?channel_binding=disable",
                             "postgresql://sportello@localhost/tavorio?sslmode=disable",
                             "postgresql://sportello@/tavorio?host=/run/postgresql&channel_binding=disable"}) {
        const dao::ServerAddress local = dao::ServerAddress::parse(QLatin1String(text));
        EXPECT_FALSE(local.isProtected()) << text;
        EXPECT_EQ(dao::ServerAddress::parse(local.displayText()).isProtected(), false) << text;
    }
    const dao::ServerAddress files = dao::ServerAddress::parse(QStringLiteral(
        "postgresql://sportello@nas/tavorio?sslcrl=/u/crl.pem&sslcert=/u/desk.crt&sslkey=/u/desk.key"));
    EXPECT_EQ(files.sslCrl + files.sslCert + files.sslKey, QStringLiteral("/u/crl.pem/u/desk.crt/u/desk.key"));
}

} // namespace
