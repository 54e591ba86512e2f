// The program on an archive kept on the tests' PostgreSQL server, named by tavorio.ini: the
// server's password window, none of the file's own maintenance, a card saved, a connection
// killed under an edit (the engine's Italian error, the typed values kept, the next save
// landing), a printed list, another connection seeing the edit, and the password page
// changing the role's password on the server.

#include "CardPageTestSupport.h"
#include "ConfigTestSupport.h"

#include "db/TField.h"
#include "forms/main/ListPage.h"
#include "forms/main/PasswordChange.h"
#include "forms/pass1/Tfrm_pass.h"
#include "forms/pass2/Tfrm_pass2.h"
#include "forms/selezione/Tfrm_stampa.h"
#include "output/report/TqnReport.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/SuppliedLayouts.h"
#include "tests/support/ScopedHook.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

#include <unistd.h>

namespace {

class ServerArchiveTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        TAVORIO_REQUIRE_PG();
        m_address = testsupport::newPgDatabase();
        cardtest::createArchive(m_address,
                                {cardtest::household(QStringLiteral("P1"), QStringLiteral("ROSSI MARIO")),
                                 cardtest::household(QStringLiteral("P2"), QStringLiteral("BIANCHI ANNA"))},
                                password());
        // As an office sets a desk up: the address, and the authority's certificate beside tavorio.ini.
        ASSERT_TRUE(QFile::copy(testsupport::pgServerCertificate(), file("ufficio-ca.crt")));
        apptest::writeFile(file("tavorio.ini"),
                           "[Server]\r\nIndirizzo=" + bare(m_address).toUtf8() + "\r\nCertificato=ufficio-ca.crt\r\n");
    }

    static QString password() { return testsupport::pgOfficePassword(); }
    static QString bare(const QString &address) { return address.section(u'?', 0, 0); }

    // The password window's answers, in turn; each checks that it asks for the server's.
    std::unique_ptr<Tfrm_main> startAnswering(const QStringList &typed)
    {
        std::deque<apptest::ModalScript::Action> actions;
        for (const QString &text : typed) {
            actions.push_back([this, text](QWidget *modal) {
                auto *prompt = qobject_cast<Tfrm_pass *>(modal);
                ASSERT_NE(prompt, nullptr);
                EXPECT_EQ(prompt->windowTitle(), QStringLiteral("Password del server"));
                EXPECT_TRUE(prompt->label()->text().contains(bare(m_address)));
                apptest::typeText(prompt, text);
                apptest::pressKey(prompt->pass(), Qt::Key_Return);
            });
        }
        apptest::ModalScript script(std::move(actions));
        std::unique_ptr<Tfrm_main> window = start();
        EXPECT_TRUE(script.finished());
        return window;
    }

    // Ends every connection to the test's database but the admin's own, as a network failure would.
    // It waits for them to end, so that the next call surely finds its connection gone.
    void dropConnections()
    {
        testsupport::pgEndSessions(testsupport::pgDatabaseOf(m_address));
    }

    QStringList headsOnServer() const
    {
        return cardtest::ArchiveAccess(m_address, password()).texts(QStringLiteral("Anagrafica"), QStringLiteral("Capofamiglia"));
    }

    QStringList filesInFolder() const { return QDir(m_folder.folder()).entryList(QDir::Files, QDir::Name); }

    QString m_address;
};

TEST_F(ServerArchiveTest, StartsWithTheServersPasswordAndNoFileMaintenance)
{
    const std::unique_ptr<Tfrm_main> window = startAnswering({QStringLiteral("sbagliata"), password()});
    ASSERT_FALSE(window->endRequested());
    EXPECT_TRUE(window->Database().Connected());
    EXPECT_EQ(window->Database().Database(), bare(m_address) + QStringLiteral("?sslrootcert=")
                                                 + QString::fromUtf8(QUrl::toPercentEncoding(file("ufficio-ca.crt"))));
    EXPECT_EQ(window->data().Anagrafica().recordCount(), 2);
    // No lock file, no backup copy, no archive file: only the layout store and the certificate.
    EXPECT_EQ(filesInFolder(), (QStringList{QStringLiteral("tavorio.ini"), QStringLiteral("ufficio-ca.crt")}));
    EXPECT_TRUE(m_messages.shown().isEmpty());
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

TEST_F(ServerArchiveTest, ALostConnectionKeepsTheTypedCardAndTheNextSaveLands)
{
    const std::unique_ptr<Tfrm_main> window = startAnswering({password()});
    ASSERT_FALSE(window->endRequested());
    showActive(*window);
    TArcTable &cards = window->data().Anagrafica();
    cards.first();
    cards.edit();
    cards.fieldByName(QStringLiteral("Capofamiglia"))->setAsString(QStringLiteral("VERDI LUCA"));

    dropConnections();
    window->close();   // closing posts the card first

    ASSERT_EQ(m_messages.errors().size(), 1);
    EXPECT_TRUE(m_messages.errors().front().contains(QStringLiteral("Connessione al server dell'archivio")))
        << m_messages.errors().front().toStdString();
    EXPECT_FALSE(m_messages.errors().front().contains(password()));
    EXPECT_TRUE(window->isVisible()) << "a refused post keeps the window open";
    EXPECT_EQ(cards.state(), TDataSetState::dsEdit);
    EXPECT_EQ(cards.fieldByName(QStringLiteral("Capofamiglia"))->asString(), QStringLiteral("VERDI LUCA"));
    EXPECT_EQ(headsOnServer(), (QStringList{"ROSSI MARIO", "BIANCHI ANNA"}));

    window->close();   // the connection comes back for the next save
    EXPECT_EQ(m_messages.errors().size(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(headsOnServer(), (QStringList{"VERDI LUCA", "BIANCHI ANNA"}));
}

TEST_F(ServerArchiveTest, ASearchThatLosesTheConnectionReportsItOnceAndTheNextKeystrokeSearches)
{
    const std::unique_ptr<Tfrm_main> window = startAnswering({password()});
    ASSERT_FALSE(window->endRequested());
    showActive(*window);
    window->barButton(Tfrm_main::cmdLista)->click();
    QLineEdit *box = window->listPage()->cerca();
    box->setFocus();

    dropConnections();
    apptest::typeText(box, QStringLiteral("R"));
    ASSERT_EQ(m_messages.errors().size(), 1);
    EXPECT_TRUE(m_messages.errors().front().contains(QStringLiteral("Connessione al server dell'archivio")))
        << m_messages.errors().front().toStdString();

    apptest::typeText(box, QStringLiteral("OSSI"));
    EXPECT_EQ(box->text(), QStringLiteral("ROSSI"));
    EXPECT_EQ(cardtest::visibleValues(window->data().Anagrafica(), QStringLiteral("Capofamiglia")),
              QStringList{QStringLiteral("ROSSI MARIO")});
    window->barButton(Tfrm_main::cmdScheda)->click();
    EXPECT_EQ(window->data().Anagrafica().fieldByName(QStringLiteral("Capofamiglia"))->asString(),
              QStringLiteral("ROSSI MARIO"));
    EXPECT_EQ(m_messages.errors().size(), 1);
}

TEST_F(ServerArchiveTest, APrintedListReadsTheServer)
{
    ASSERT_TRUE(testsupport::copySuppliedLayouts(m_folder.folder()));
    cardtest::ArchiveAccess(m_address, password())
        .set(QStringLiteral("Anagrafica"), QStringLiteral("[Protocollo] = \"P2\""), QStringLiteral("Capofamiglia"),
             dao::Value(QStringLiteral("AZZURRI NINA")));
    QStringList printed;
    const testsupport::ScopedHook previewHook(TqnReport::previewHook(), [&](TqnReport &report) {
        for (const PreparedPage &page : report.preparedPages())
            for (const DrawRecord &r : page.Records)
                if (r.kind == DrawRecord::Text)
                    printed << r.text;
    });

    const std::unique_ptr<Tfrm_main> window = startAnswering({password()});
    ASSERT_FALSE(window->endRequested());
    showActive(*window);
    apptest::ModalScript script({[](QWidget *modal) { qobject_cast<Tfrm_stampa *>(modal)->bt_stampa()->click(); }});
    window->barButton(Tfrm_main::cmdStampa)->click();

    EXPECT_EQ(script.handled(), 1);
    const qsizetype azzurri = printed.indexOf(QStringLiteral("AZZURRI NINA"));
    const qsizetype rossi = printed.indexOf(QStringLiteral("ROSSI MARIO"));
    EXPECT_GE(azzurri, 0) << printed.join(u'|').toStdString();
    EXPECT_LT(azzurri, rossi) << "the list's order, by head of household";
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

// The office role of this test alone, so that changing its password leaves the other tests'
// role in peace.
TEST_F(ServerArchiveTest, ThePasswordPageChangesTheRolesPasswordOnTheServer)
{
    const QString role = QStringLiteral("ufficio_pw_%1").arg(::getpid());
    const QString oldPassword = QStringLiteral("Vecchia-1");
    const QString newPassword = QStringLiteral("Nuova parola 2");
    testsupport::pgAdminQuery(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(role, oldPassword));
    const QString tcp = testsupport::newPgDatabase();
    testsupport::pgAdminQuery(QStringLiteral("ALTER DATABASE %1 OWNER TO %2").arg(testsupport::pgDatabaseOf(tcp), role));
    m_address = QString(tcp).replace(testsupport::pgOfficeRole() + u'@', role + u'@');
    cardtest::createArchive(m_address, {cardtest::household(QStringLiteral("P1"), QStringLiteral("ROSSI MARIO"))},
                            oldPassword);
    apptest::writeFile(file("tavorio.ini"), "[Server]\nIndirizzo=" + m_address.toUtf8() + "\n");

    const std::unique_ptr<Tfrm_main> window = startAnswering({oldPassword});
    ASSERT_FALSE(window->endRequested());
    configtest::changePassword(*window, oldPassword, {});
    configtest::changePassword(*window, oldPassword, newPassword);
    Tfrm_pass2 page(window.get());
    apptest::ModalScript look({[&](QWidget *) {
        EXPECT_EQ(page.emptyHint()->text(), QStringLiteral("sul server la password è obbligatoria"));
        page.annulla()->click();
    }});
    PasswordChange(*window, page).run();

    EXPECT_EQ(m_messages.shown(),
              (QStringList{QStringLiteral("   L'archivio sul server non può restare senza password: scrivete due "
                                          "volte la nuova password.   "),
                           PasswordChange::changedText()}));
    EXPECT_TRUE(m_messages.errors().isEmpty());
    EXPECT_TRUE(window->Database().Connected());
    EXPECT_TRUE(window->data().Anagrafica().active());
    EXPECT_EQ(window->Database().DatabasePassword(), newPassword);
    EXPECT_TRUE(testsupport::pgAdminQuery(QStringLiteral("SELECT rolpassword FROM pg_authid WHERE rolname = '%1'").arg(role))
                    .startsWith(QStringLiteral("SCRAM-SHA-256$")))
        << "the server holds a verifier, never the clear password";
    EXPECT_EQ(cardtest::ArchiveAccess(m_address, newPassword).count(QStringLiteral("Anagrafica")), 1);
    EXPECT_ANY_THROW(cardtest::ArchiveAccess(m_address, oldPassword).count(QStringLiteral("Anagrafica")));
    EXPECT_FALSE(QFile::exists(file("tavorio_backup.mdb")));
}

// On a server the storage needs no exclusive open: the others work on while the role's
// password changes (here to itself, so that the office's role keeps its password).
TEST_F(ServerArchiveTest, ThePasswordChangeNeverReopensTheServerAlone)
{
    const std::unique_ptr<Tfrm_main> window = startAnswering({password()});
    ASSERT_FALSE(window->endRequested());
    QList<bool> exclusiveConnects;
    window->Database().OnBeforeConnect = [&](TArcDatabase &db) { exclusiveConnects << db.Exclusive(); };

    configtest::changePassword(*window, password(), password());

    EXPECT_EQ(exclusiveConnects, QList<bool>{false});
    EXPECT_EQ(m_messages.shown(), QStringList{PasswordChange::changedText()});
    EXPECT_TRUE(window->data().Anagrafica().active());
}

// A certificate check the desk cannot make (SSL=verify-full with no root certificate) stops the
// start-up before any password is asked, and the message that ends it says why.
TEST_F(ServerArchiveTest, ARequiredTlsCheckThatCannotBeMadeEndsTheStartWithItsReason)
{
    apptest::writeFile(file("tavorio.ini"), "[Server]\nIndirizzo=" + bare(m_address).toUtf8()
                                                + "?sslrootcert=/nonexistent/root.crt\nSSL=verify-full\n");
    apptest::ModalScript noPrompt({});
    const Tfrm_main window;

    EXPECT_EQ(window.startupOutcome(), StartupOutcome::ConnectionFailed);
    ASSERT_EQ(m_messages.shown().size(), 1);
    const QString &text = m_messages.shown().front();
    EXPECT_TRUE(text.startsWith(QStringLiteral("   Errore di connessione al DB.   \n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("root.crt"))) << text.toStdString();
    EXPECT_EQ(noPrompt.handled(), 0);
    EXPECT_TRUE(filesInFolder() == (QStringList{QStringLiteral("tavorio.ini"), QStringLiteral("ufficio-ca.crt")}));
}

} // namespace
