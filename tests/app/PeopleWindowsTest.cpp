// People and history through the program's windows. On a file: a card changed in the window
// shows in "Storia della scheda" (opened from the card page's button) with the computer's
// user, and the removal is offered; "Persone" is disabled, saying why. On the test server:
// a person signed in through the password window as an Operatore finds the layouts, the
// lookup tables, "Persone" and the history's removal disabled, each with the reason, and
// the server refuses the same changes made behind the windows' back.

#include "CardPageTestSupport.h"

#include "controls/TDBNavStrip.h"
#include "controls/TExDBGrid.h"
#include "db/TField.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "engine/People.h"
#include "forms/main/CardHistoryDialog.h"
#include "forms/main/CardPage.h"
#include "forms/main/ConfigPage.h"
#include "forms/main/LookupTab.h"
#include "forms/pass1/Tfrm_pass.h"
#include "store/TArcDatabase.h"
#include "tests/support/PgTestServer.h"

#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <pwd.h>
#include <unistd.h>

namespace {

QStringList rowTexts(QTableWidget *table, int row)
{
    QStringList texts;
    for (int c = 1; c < table->columnCount(); ++c)
        texts << table->item(row, c)->text();
    return texts;
}

class PeopleWindowsTest : public cardtest::WindowTest {};

TEST_F(PeopleWindowsTest, TheCardsHistoryOnAFileNamesTheComputersUser)
{
    TAVORIO_FILE_ONLY();
    const std::vector<qint64> keys = cardtest::createArchive(
        archive(), {cardtest::household(QStringLiteral("P1"), QStringLiteral("ROSSI MARIO")),
                    cardtest::household(QStringLiteral("P2"), QStringLiteral("BIANCHI ANNA"))});
    const std::unique_ptr<Tfrm_main> window = start();
    ASSERT_FALSE(window->endRequested());
    showActive(*window);
    TArcTable &cards = window->data().Anagrafica();
    cards.first();
    cards.edit();
    cards.fieldByName(QStringLiteral("Capofamiglia"))->setAsString(QStringLiteral("VERDI LUCA"));
    cards.post();

    const QString me = QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
    int rows = -1;
    apptest::ModalScript script({[&](QWidget *modal) {
        auto *dialog = qobject_cast<CardHistoryDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Storia della scheda"));
        rows = dialog->changes()->rowCount();
        for (int r = 1; r < rows; ++r)
            EXPECT_EQ(dialog->changes()->item(r, 2)->text(), QStringLiteral("inserimento")) << r;
        if (rows > 0)
            EXPECT_EQ(rowTexts(dialog->changes(), 0),
                      (QStringList{me, "modifica", "Anagrafica", "Capofamiglia", "ROSSI MARIO", "VERDI LUCA"}));
        // One archive password: whoever opens the file may remove old history.
        EXPECT_TRUE(dialog->removeOld()->isEnabled());
        EXPECT_EQ(dialog->before()->date(), cardtest::fixedToday().addYears(-1));
        dialog->accept();
    }});
    window->cardPage()->showHistory(cardtest::fixedToday());
    EXPECT_TRUE(script.finished());
    // Newest first: the change, then the card's insertion field by field (Protocollo,
    // Capofamiglia, six check boxes); the summary of members, rewritten by the post, did not
    // change and left no row.
    EXPECT_EQ(rows, 9);
    CardHistoryDialog other(window->Database(), keys[1], cardtest::fixedToday());
    EXPECT_EQ(other.changes()->rowCount(), 8) << "the other card's own insertion only";

    window->configPage()->applyRole();
    EXPECT_FALSE(window->configPage()->bt_persone()->isEnabled());
    EXPECT_TRUE(window->configPage()->bt_persone()->toolTip().contains(QStringLiteral("solo per un archivio su un server")));
    EXPECT_TRUE(window->configPage()->bt_tracciati()->isEnabled());
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

class OperatorWindowsTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        TAVORIO_REQUIRE_PG();
        const QString suffix = QString::number(::getpid());
        m_database = QStringLiteral("sportello_persone_") + suffix;
        m_maker = QStringLiteral("creatrice_") + suffix;
        m_anna = QStringLiteral("operatrice_") + suffix;
        testsupport::pgAdminQuery(QStringLiteral("CREATE ROLE %1 LOGIN CREATEROLE PASSWORD '%2'").arg(m_maker, password(m_maker)));
        testsupport::pgAdminQuery(QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' LC_CTYPE 'C.UTF-8' "
                                                 "LC_COLLATE 'C.UTF-8' TEMPLATE template0").arg(m_database, m_maker));
        const QString address = testsupport::pgRoleAddress(m_maker, m_database);
        m_keys = cardtest::createArchive(address, {cardtest::household(QStringLiteral("P1"), QStringLiteral("ROSSI MARIO"))},
                                         password(m_maker));
        dao::DBEngine engine;
        auto ws = engine.CreateWorkspace(QStringLiteral("prova"), QStringLiteral("Admin"), {}, dao::dbUseJet);
        auto db = ws->OpenDatabase(address, false, false, QStringLiteral(";UID=Admin;PWD=%1;").arg(password(m_maker)));
        dao::ArchivePeople(*db).add(m_anna, dao::PersonRole::Operatore, password(m_anna));
        db->Close();
        ASSERT_TRUE(QFile::copy(testsupport::pgServerCertificate(), file("ufficio-ca.crt")));
        apptest::writeFile(file("tavorio.ini"), "[Server]\r\nIndirizzo=" + address.section(u'?', 0, 0).toUtf8()
                                                    + "\r\nCertificato=ufficio-ca.crt\r\n");
    }
    void TearDown() override
    {
        if (m_database.isEmpty())
            return;
        testsupport::pgAdminQuery(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
        for (const QString &role : {m_anna, m_database + QStringLiteral("_responsabile"),
                                    m_database + QStringLiteral("_operatore"), m_maker})
            testsupport::pgAdminQuery(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role));
    }
    static QString password(const QString &role) { return role + QStringLiteral("-Parola1"); }

    QString m_database, m_maker, m_anna;
    std::vector<qint64> m_keys;
};

TEST_F(OperatorWindowsTest, AnOperatoreSignsInWithHerNameAndSeesWhatSheMayNotDoDisabledWithTheReason)
{
    apptest::ModalScript script({[&](QWidget *modal) {
        auto *prompt = qobject_cast<Tfrm_pass *>(modal);
        ASSERT_NE(prompt, nullptr);
        ASSERT_NE(prompt->utente(), nullptr);
        EXPECT_EQ(prompt->utente()->text(), m_maker) << "the address's login, as nobody signed in here yet";
        prompt->utente()->setText(m_anna);
        prompt->pass()->setText(password(m_anna));
        apptest::pressKey(prompt->pass(), Qt::Key_Return);
    }});
    const std::unique_ptr<Tfrm_main> window = start();
    ASSERT_TRUE(script.finished());
    ASSERT_FALSE(window->endRequested());
    showActive(*window);
    // The desk remembers who signed in last.
    QFile ini(file("tavorio.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(ini.readAll()).contains(QStringLiteral("Utente=") + m_anna));

    // Cards she may change, and her change is hers in the history.
    TArcTable &cards = window->data().Anagrafica();
    cards.first();
    cards.edit();
    cards.fieldByName(QStringLiteral("Capofamiglia"))->setAsString(QStringLiteral("VERDI LUCA"));
    cards.post();
    CardHistoryDialog history(window->Database(), m_keys[0], cardtest::fixedToday());
    ASSERT_GT(history.changes()->rowCount(), 1);
    EXPECT_EQ(rowTexts(history.changes(), 0), (QStringList{m_anna, "modifica", "Anagrafica", "Capofamiglia", "ROSSI MARIO",
                                                           "VERDI LUCA"}));
    EXPECT_EQ(history.changes()->item(1, 1)->text(), m_maker) << "the card's insertion is the maker's";
    EXPECT_FALSE(history.removeOld()->isEnabled());
    EXPECT_TRUE(history.removeOld()->toolTip().contains(QStringLiteral("Riservato al Responsabile")));

    ConfigPage *config = window->configPage();
    config->applyRole();
    for (QPushButton *button : {config->bt_tracciati(), config->bt_persone()}) {
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
        EXPECT_TRUE(button->toolTip().contains(m_anna)) << button->toolTip().toStdString();
    }
    EXPECT_TRUE(config->bt_password()->isEnabled()) << "her own password she changes herself";
    LookupTab *bands = config->tab(ConfigPage::lkFascia);
    EXPECT_FALSE(bands->navigator()->isEnabled());
    EXPECT_TRUE(bands->grid()->toolTip().contains(QStringLiteral("Riservato al Responsabile")));

    // Behind the windows' back the server refuses the same.
    TArcTable &lookups = window->data().Fascia();
    lookups.first();
    lookups.edit();
    lookups.fieldByName(QStringLiteral("Fascia"))->setAsString(QStringLiteral("Z"));
    EXPECT_ANY_THROW(lookups.post());
    lookups.cancel();
}

} // namespace
