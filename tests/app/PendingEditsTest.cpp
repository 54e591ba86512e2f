// Nothing typed is lost when the main window closes or the archive is reconnected for a
// password change: pending edits are posted first, and a post the archive refuses keeps the
// window (and the user's values) as they were.

#include "CardPageTestSupport.h"
#include "ConfigTestSupport.h"

#include "controls/TDBEdit.h"
#include "db/TField.h"
#include "forms/main/CardPage.h"
#include "forms/main/PasswordChange.h"
#include "session/ProcessValues.h"

#include <QCheckBox>
#include <QFileInfo>

namespace {

using cardtest::household;

class PendingEditsTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        cli::Household rossi = household(QStringLiteral("P-1"), QStringLiteral("Rossi Mario"));
        rossi.members = {cardtest::member(QStringLiteral("Maria"), QStringLiteral("Madre"), QStringLiteral("Casalinga"))};
        cardtest::createArchive(archive(), {rossi});
    }

    static void set(TDataSet &dataSet, const char *field, const QString &value)
    {
        dataSet.edit();
        dataSet.fieldByName(QString::fromLatin1(field))->setAsString(value);
    }

    // The card's city typed into its edit, which puts the card into edit.
    static void typeCity(Tfrm_main &window, const QString &city)
    {
        TDBEdit *edit = window.cardPage()->edit(QStringLiteral("Citta"));
        edit->setFocus();
        edit->selectAll();
        apptest::typeText(edit, city);
    }

    // Another program changes the card after this window began editing it.
    void cardChangedElsewhere() const
    {
        cardtest::ArchiveAccess(archive()).set(QStringLiteral("Anagrafica"), {}, QStringLiteral("Telefono"),
                                               dao::Value(QStringLiteral("011 000")));
    }

    QStringList stored(const char *table, const char *field) const
    {
        return cardtest::ArchiveAccess(archive()).texts(QString::fromLatin1(table), QString::fromLatin1(field));
    }
};

TEST_F(PendingEditsTest, ClosingPostsTheCardAMemberRowAndTheLookupRowsBeingEdited)
{
    {
        const auto window = start();
        showActive(*window);
        TMainData &data = window->data();
        typeCity(*window, QStringLiteral("Torino"));
        set(data.Nucleo(), "Nome", QStringLiteral("Maria Luisa"));
        set(data.Fascia(), "Fascia", QStringLiteral("A1"));
        set(data.Gruppi(), "Gruppo", QStringLiteral("Comune di Asti"));
        EXPECT_TRUE(window->close());
        EXPECT_TRUE(m_messages.errors().isEmpty()) << m_messages.errors().join(" | ").toStdString();
    }
    EXPECT_EQ(stored("Anagrafica", "Citta"), QStringList{"Torino"});
    EXPECT_EQ(stored("Nucleo", "Nome"), QStringList{"Maria Luisa"});
    const cardtest::ArchiveAccess archiveNow(archive());
    EXPECT_EQ(archiveNow.count(QStringLiteral("Fascia"), QStringLiteral("[Fascia] = \"A1\"")), 1);
    EXPECT_EQ(archiveNow.count(QStringLiteral("Gruppi"), QStringLiteral("[Gruppo] = \"Comune di Asti\"")), 1);
    // The summary was rewritten from the member as it was typed.
    EXPECT_TRUE(stored("Anagrafica", "Nucleo").value(0).startsWith(QStringLiteral("Maria Luisa (Madre")));
}

TEST_F(PendingEditsTest, AnEmptyAppendedMemberRowIsDroppedOnClose)
{
    {
        const auto window = start();
        showActive(*window);
        window->data().Nucleo().append();
        EXPECT_TRUE(window->close());
    }
    EXPECT_EQ(stored("Nucleo", "Nome"), QStringList{"Maria"});
}

TEST_F(PendingEditsTest, ARefusedPostKeepsTheWindowOpenWithTheValuesAndTheLaterCloseSavesTheLayout)
{
    {
        const auto window = start();
        showActive(*window);
        typeCity(*window, QStringLiteral("Torino"));
        cardChangedElsewhere();

        EXPECT_FALSE(window->close());
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(m_messages.errors().size(), 1);
        EXPECT_TRUE(window->Database().Connected());
        EXPECT_EQ(window->data().Anagrafica().state(), TDataSetState::dsEdit);
        EXPECT_EQ(window->cardPage()->edit(QStringLiteral("Citta"))->text(), QStringLiteral("Torino"));

        window->data().Anagrafica().cancel();
        EXPECT_TRUE(window->close());
    }
    EXPECT_TRUE(QFileInfo::exists(file("tavorio.ini")));
    EXPECT_EQ(m_messages.errors().size(), 1);
}

TEST_F(PendingEditsTest, ThePasswordChangePostsAMemberAndTheLookupRowsFirst)
{
    const auto window = start();
    showActive(*window);
    set(window->data().Nucleo(), "Nome", QStringLiteral("Maria Luisa"));
    set(window->data().Ruolo(), "Ruolo", QStringLiteral("Nonna"));
    set(window->data().Occupazione(), "Occupazione", QStringLiteral("Sarta"));
    set(window->data().Gruppi(), "Gruppo", QStringLiteral("Comune di Asti"));
    configtest::changePassword(*window, {}, QStringLiteral("nuova"));
    EXPECT_EQ(ProcessValues::archivePassword(), QStringLiteral("nuova"));
    EXPECT_TRUE(m_messages.errors().isEmpty()) << m_messages.errors().join(" | ").toStdString();
    window->close();
    EXPECT_TRUE(configtest::opensWith(archive(), QStringLiteral("nuova")));
    EXPECT_EQ(configtest::cardRows(archive(), QStringLiteral("nuova")).at(QStringLiteral("Nucleo")).at(0).at(2).asText(),
              QStringLiteral("Maria Luisa"));
    EXPECT_TRUE(window->listaRuolo().contains(QStringLiteral("Nonna")));
    EXPECT_TRUE(window->listaOccupazione().contains(QStringLiteral("Sarta")));
    EXPECT_EQ(window->ck(1)->text(), QStringLiteral("Comune di Asti"));
}

TEST_F(PendingEditsTest, APostRefusedBeforeThePasswordChangeChangesNothing)
{
    const auto window = start();
    showActive(*window);
    typeCity(*window, QStringLiteral("Torino"));
    cardChangedElsewhere();
    configtest::changePassword(*window, {}, QStringLiteral("nuova"));

    EXPECT_EQ(m_messages.errors().size(), 1);
    EXPECT_FALSE(m_messages.shown().contains(PasswordChange::changedText()));
    EXPECT_TRUE(ProcessValues::archivePassword().isEmpty());
    EXPECT_TRUE(configtest::opensWith(archive(), {}));
    EXPECT_EQ(window->data().Anagrafica().state(), TDataSetState::dsEdit);
    EXPECT_EQ(window->cardPage()->edit(QStringLiteral("Citta"))->text(), QStringLiteral("Torino"));
    window->data().Anagrafica().cancel();
}

} // namespace
