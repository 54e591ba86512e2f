// The configuration page in the main window: its buttons and tabs, each lookup grid under
// its navigator, the delete confirmations, and what editing a lookup table does (and does
// not do) to the rest of the program.

#include "AppTestSupport.h"
#include "ConfigTestSupport.h"

#include "controls/GridColumn.h"
#include "controls/TDBNavStrip.h"
#include "controls/TExDBGrid.h"
#include "db/DatabaseError.h"
#include "db/TField.h"
#include "forms/main/ConfigPage.h"
#include "forms/main/LookupTab.h"
#include "forms/main/Tfrm_main.h"
#include "forms/pass2/Tfrm_pass2.h"
#include "tests/support/TestArchive.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

class ConfigPageTest : public testing::Test {
protected:
    void SetUp() override
    {
        testsupport::createArchive(archive());
        m_window = configtest::startProgram();
        m_page = configtest::configPageOf(*m_window);
    }

    QString archive() const { return m_folder.file(QStringLiteral("tavorio.mdb")); }
    TDataSet &table(ConfigPage::Lookup lookup) { return *m_page->grid(lookup)->dataSource()->dataSet(); }
    void click(ConfigPage::Lookup lookup, TNavStripBtn button) { m_page->navigator(lookup)->btnClick(button); }
    QStringList column(ConfigPage::Lookup lookup, int field)
    {
        QStringList values;
        for (table(lookup).first(); !table(lookup).eof(); table(lookup).next())
            values << table(lookup).field(field)->asString();
        return values;
    }
    QStringList captions() const
    {
        QStringList texts;
        for (int k = 1; k <= 6; ++k)
            texts << m_window->ck(k)->text();
        return texts;
    }

    apptest::WorkingFolder m_folder;
    configtest::Messages m_messages;
    std::unique_ptr<Tfrm_main> m_window;
    ConfigPage *m_page = nullptr;
};

struct TabCase {
    ConfigPage::Lookup lookup;
    const char *caption;
    const char *gridName;
    const char *navigatorName;
    const char *source;
    QStringList fields;
    QStringList titles;
    TScrollStyle scrollBars;
};

void PrintTo(const TabCase &c, std::ostream *os) { *os << c.gridName; }

class ConfigPageTabTest : public ConfigPageTest, public testing::WithParamInterface<TabCase> {};

TEST_P(ConfigPageTabTest, ShowsItsTableUnderItsNavigatorBelowTheTwoButtons)
{
    const TabCase &c = GetParam();
    m_window->show();
    m_window->barButton(Tfrm_main::cmdConfig)->click();
    m_page->pc_tabelle()->setCurrentIndex(c.lookup);
    QApplication::processEvents();
    EXPECT_EQ(m_page->pc_tabelle()->tabText(c.lookup), QString::fromLatin1(c.caption));
    EXPECT_EQ(m_page->bt_tracciati()->nextInFocusChain(), m_page->bt_password());
    EXPECT_LT(m_page->bt_password()->geometry().bottom(), m_page->pc_tabelle()->y());

    TExDBGrid *grid = m_page->grid(c.lookup);
    EXPECT_EQ(grid->objectName(), QString::fromLatin1(c.gridName));
    EXPECT_EQ(grid->dataSource()->objectName(), QString::fromLatin1(c.source));
    QStringList fields, titles;
    for (int k = 0; k < grid->columns().count(); ++k) {
        fields << grid->columns()[k]->fieldName();
        titles << grid->columns()[k]->title().caption();
    }
    EXPECT_EQ(fields, c.fields);
    EXPECT_EQ(titles, c.titles);
    EXPECT_FALSE(grid->hasOption(TDBGridOption::dgConfirmDelete));
    EXPECT_TRUE(grid->canEditGrid());
    EXPECT_EQ(grid->scrollBars(), c.scrollBars);
    EXPECT_FALSE(grid->useRowColors());

    TDBNavStrip *nav = m_page->navigator(c.lookup);
    const int width = m_page->tab(c.lookup)->width();
    EXPECT_EQ(nav->objectName(), QString::fromLatin1(c.navigatorName));
    EXPECT_EQ(nav->dataSource(), grid->dataSource());
    EXPECT_EQ(nav->glyphSize(), TNavGlyphSize::gsSmall);
    EXPECT_EQ(nav->geometry(), QRect(0, 0, width, 25));
    EXPECT_EQ(grid->geometry(), QRect(0, 25, width, m_page->tab(c.lookup)->height() - 25));
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, ConfigPageTabTest,
    testing::Values(TabCase{ConfigPage::lkFascia, "Fascia", "grid_fascia", "nav_fascia", "ds_fascia",
                            {"Ordine", "Fascia"}, {"Ordine", "Fascia"}, TScrollStyle::ssHorizontal},
                    TabCase{ConfigPage::lkRuolo, "Ruolo", "grid_ruolo", "nav_ruolo", "ds_Ruolo", {"Ordine", "Ruolo"},
                            {"Ordine", "Ruolo"}, TScrollStyle::ssHorizontal},
                    TabCase{ConfigPage::lkOccupazione, "Occupazione", "grid_occupazione", "nav_occupazione",
                            "ds_occupazione", {"Ordine", "Occupazione"}, {"Ordine", "Occupazione"},
                            TScrollStyle::ssHorizontal},
                    TabCase{ConfigPage::lkEnti, "Enti", "ExDBGrid1", "nav_enti", "ds_gruppi", {"ID", "Gruppo"},
                            {"Ordine", "Gruppo"}, TScrollStyle::ssVertical}),
    [](const testing::TestParamInfo<TabCase> &info) { return std::string(info.param.gridName); });

struct LookupDeleteCase {
    const char *name;
    ConfigPage::Lookup lookup;
    QString question;   // empty: deleted without one
    bool answer;
};

void PrintTo(const LookupDeleteCase &c, std::ostream *os) { *os << c.name; }

class ConfigPageDeleteTest : public ConfigPageTest, public testing::WithParamInterface<LookupDeleteCase> {};

TEST_P(ConfigPageDeleteTest, AsksForBandsRolesAndOccupationsAndNoCancelsSilently)
{
    const LookupDeleteCase &c = GetParam();
    const int before = table(c.lookup).recordCount();
    m_messages.answer({c.answer});
    const bool deleted = c.question.isEmpty() || c.answer;
    if (deleted)
        click(c.lookup, TNavStripBtn::nbDelete);
    else
        EXPECT_THROW(click(c.lookup, TNavStripBtn::nbDelete), EAbort);

    EXPECT_EQ(m_messages.texts(), c.question.isEmpty() ? QStringList() : QStringList{c.question});
    EXPECT_EQ(table(c.lookup).recordCount(), deleted ? before - 1 : before);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ConfigPageDeleteTest,
    testing::Values(
        LookupDeleteCase{"FasciaYes", ConfigPage::lkFascia, "   Confermi la cancellazione di questa fascia ?   ", true},
        LookupDeleteCase{"FasciaNo", ConfigPage::lkFascia, "   Confermi la cancellazione di questa fascia ?   ", false},
        LookupDeleteCase{"RuoloNo", ConfigPage::lkRuolo, "   Confermi la cancellazione di questo ruolo ?   ", false},
        LookupDeleteCase{"OccupazioneNo", ConfigPage::lkOccupazione,
                   "   Confermi la cancellazione di questa occupazione ?   ", false},
        LookupDeleteCase{"Enti", ConfigPage::lkEnti, QString(), false}),
    [](const testing::TestParamInfo<LookupDeleteCase> &info) { return std::string(info.param.name); });

TEST_F(ConfigPageTest, RenumberedRowsStayInPlaceUntilTheTableIsReopened)
{
    for (ConfigPage::Lookup lookup : {ConfigPage::lkFascia, ConfigPage::lkRuolo, ConfigPage::lkOccupazione}) {
        const QStringList before = column(lookup, 0);
        table(lookup).first();
        click(lookup, TNavStripBtn::nbEdit);
        table(lookup).fieldByName(QStringLiteral("Ordine"))->setAsInteger(999);
        click(lookup, TNavStripBtn::nbPost);
        EXPECT_EQ(column(lookup, 0), before);
        table(lookup).close();
        table(lookup).open();
        EXPECT_EQ(column(lookup, 0), before.mid(1) << before.first());
    }
}

TEST_F(ConfigPageTest, DeletingABandInUseLeavesTheCardsValues)
{
    const auto cards = configtest::cardRows(archive(), {});
    const QString used = m_window->data().Anagrafica().fieldByName(QStringLiteral("Fascia"))->asString();
    ASSERT_TRUE(table(ConfigPage::lkFascia).locate(QStringLiteral("Fascia"), {used}, 0));
    click(ConfigPage::lkFascia, TNavStripBtn::nbDelete);

    EXPECT_FALSE(column(ConfigPage::lkFascia, 0).contains(used));
    EXPECT_EQ(m_window->data().Anagrafica().fieldByName(QStringLiteral("Fascia"))->asString(), used);
    EXPECT_EQ(configtest::cardRows(archive(), {}), cards);
}

// Captions and pick lists are copies: rows posted on this page reach them only at the next
// password change, and a seventh body never does.
TEST_F(ConfigPageTest, CaptionsAndPickListsFollowOnlyAtThePasswordChange)
{
    const QStringList captionsBefore = captions();
    const QStringList rolesBefore = m_window->listaRuolo();
    for (auto [lookup, text] : {std::pair{ConfigPage::lkEnti, "Comune nuovo"}, {ConfigPage::lkRuolo, "Tutore"}}) {
        table(lookup).first();
        table(lookup).next();
        click(lookup, TNavStripBtn::nbEdit);
        table(lookup).field(lookup == ConfigPage::lkEnti ? 1 : 0)->setAsString(QString::fromUtf8(text));
        click(lookup, TNavStripBtn::nbPost);
    }
    click(ConfigPage::lkEnti, TNavStripBtn::nbLast);
    click(ConfigPage::lkEnti, TNavStripBtn::nbInsert);
    table(ConfigPage::lkEnti).field(1)->setAsString(QStringLiteral("Settimo ente"));
    click(ConfigPage::lkEnti, TNavStripBtn::nbPost);
    m_window->barButton(Tfrm_main::cmdScheda)->click();
    EXPECT_EQ(captions(), captionsBefore);
    EXPECT_EQ(m_window->listaRuolo(), rolesBefore);

    configtest::changePassword(*m_window, {}, {});
    QStringList captionsAfter = captionsBefore;
    captionsAfter[1] = QStringLiteral("Comune nuovo");
    QStringList rolesAfter = rolesBefore;
    rolesAfter[1] = QStringLiteral("Tutore");
    EXPECT_EQ(captions(), captionsAfter);
    EXPECT_EQ(m_window->listaRuolo(), rolesAfter);
    EXPECT_EQ(m_window->ck(7), nullptr);
}

TEST_F(ConfigPageTest, PasswordButtonShowsThePasswordWindow)
{
    QWidget *shown = nullptr;
    apptest::ModalScript script({[&](QWidget *modal) {
        shown = modal;
        modal->close();
    }});
    m_page->bt_password()->click();
    EXPECT_EQ(shown, static_cast<QWidget *>(m_page->passwordWindow()));
    EXPECT_TRUE(m_messages.texts().isEmpty());
}

} // namespace
