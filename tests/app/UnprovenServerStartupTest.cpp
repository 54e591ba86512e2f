// A desk set up as the office's folder sets it up (tavorio.ini naming the server and the
// authority's certificate beside it) that meets an impostor holding a certificate of its own:
// the start-up ends with the reason, no password is asked for and none is sent.

#include "CardPageTestSupport.h"

#include "forms/main/Tfrm_main.h"
#include "tests/support/FakePgServer.h"

#include <QFile>

namespace {

class UnprovenServerStartup : public cardtest::WindowTest {};

TEST_F(UnprovenServerStartup, EndsWithTheReasonBeforeAnyPasswordIsAsked)
{
    const testsupport::Certificate office = testsupport::makeCertificate(m_folder.folder(), QStringLiteral("ufficio"));
    const testsupport::Certificate own = testsupport::makeCertificate(m_folder.folder(), QStringLiteral("impostore"));
    qsizetype shown = 0;
    for (const auto &[tls, certificate] : {std::pair{testsupport::FakePgServer::Tls::Offered, own},
                                           std::pair{testsupport::FakePgServer::Tls::Declined, own}}) {
        testsupport::FakePgServer impostor(tls, testsupport::FakePgServer::Login::Cleartext, certificate);
        apptest::writeFile(file("tavorio.ini"), QStringLiteral("[Server]\nIndirizzo=postgresql://sportello@127.0.0.1:%1/tavorio\n"
                                                               "Certificato=ufficio.crt\n")
                                                    .arg(impostor.port()).toUtf8());
        apptest::ModalScript noPrompt({});
        const Tfrm_main window;

        EXPECT_EQ(window.startupOutcome(), StartupOutcome::ConnectionFailed);
        ASSERT_EQ(m_messages.shown().size(), ++shown);
        const QString text = m_messages.shown().back();
        EXPECT_TRUE(text.startsWith(QStringLiteral("   Errore di connessione al DB.   \n   Il server non ha dimostrato la sua "
                                                   "identità: la password non gli è stata inviata.")))
            << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("Password non valida")));
        EXPECT_EQ(noPrompt.handled(), 0);
        EXPECT_EQ(impostor.loginRequests(), 0);
        EXPECT_FALSE(impostor.passwordMessageReceived());
    }
}

} // namespace
