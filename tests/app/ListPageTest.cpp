// The list page: the read-only card list, the search box and its record filter, and the
// sorting by a clicked title.

#include "CardPageTestSupport.h"

#include "controls/GridColumn.h"
#include "controls/TDBNavStrip.h"
#include "controls/TExDBGrid.h"
#include "db/TField.h"
#include "forms/main/ListPage.h"
#include "output/criteria/CardCriteria.h"
#include "session/ProcessValues.h"

#include <QLineEdit>
#include <QAbstractButton>
#include <QStackedWidget>

namespace {

using cardtest::household;

const QStringList kListFields{"Protocollo", "Fascia", "Referente", "Capofamiglia", "Indirizzo", "Citta",
                              "Telefono", "Cellulare", "Email", "Paese_di_origine", "Figli_in_patria", "Scad_ISEE",
                              "Nucleo", "Abitazione", "Inizio", "Necessita_alimentari", "Note", "Ascolto"};

class ListPageTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        cli::Household rossi = household(QStringLiteral("P1"), QStringLiteral("ROSSI MARIO"));
        rossi.indirizzo = QStringLiteral("VIA ROMA 1");
        rossi.gruppi = {true, false, false, false, false, false};
        rossi.note = QStringLiteral("Prima riga visibile\rpiù sotto una parola nascosta");
        cli::Household bianchi = household(QStringLiteral("P2"), QStringLiteral("Bianchi Anna"));
        bianchi.gruppi = {true, true, true, true, true, true};
        bianchi.inizio = cli::engineDate(2023, 3, 15);
        cli::Household lower = household(QStringLiteral("P3"), QString::fromUtf8("Verdi Nicolò"));
        cli::Household upper = household(QStringLiteral("P4"), QString::fromUtf8("AZZURRI NICOLÒ"));
        upper.indirizzo = QString::fromUtf8("Große Straße 3");
        lower.indirizzo = QString::fromUtf8("Οδός Ελένης 5");
        lower.citta = QString::fromUtf8("Москва");
        m_keys = cardtest::createArchive(archive(), {rossi, bianchi, lower, upper});
    }

    std::unique_ptr<Tfrm_main> startOnList()
    {
        auto window = start();
        showActive(*window);
        window->barButton(Tfrm_main::cmdLista)->click();
        return window;
    }

    static void search(Tfrm_main &window, const QString &typed)
    {
        QLineEdit *box = window.listPage()->cerca();
        box->setFocus();
        box->selectAll();
        apptest::pressKey(box, Qt::Key_Backspace);
        apptest::typeText(box, typed);
    }

    static QStringList shownProtocols(Tfrm_main &window)
    {
        return cardtest::visibleValues(window.data().Anagrafica(), QStringLiteral("Protocollo"));
    }

    std::vector<qint64> m_keys;
};

TEST_F(ListPageTest, GridListsEveryCardReadOnlyWithItsColumnsAndRowColours)
{
    const auto window = startOnList();
    TExDBGrid *grid = window->listPage()->grid_anagrafica();
    EXPECT_EQ(window->tb_lista(), window->listPage());
    EXPECT_EQ(grid->objectName(), QStringLiteral("grid_anagrafica"));
    EXPECT_EQ(grid->dataSource(), &window->data().ds_anagrafica());
    ASSERT_EQ(grid->columns().count(), kListFields.size());
    for (int c = 0; c < kListFields.size(); ++c) {
        EXPECT_EQ(grid->columns().at(c)->fieldName(), kListFields[c]);
        EXPECT_EQ(grid->columns().at(c)->title().caption(), kListFields[c]);
    }
    using O = TDBGridOption;
    EXPECT_EQ(grid->options(), O::dgEditing | O::dgTitles | O::dgIndicator | O::dgColumnResize | O::dgColLines
                                   | O::dgRowLines | O::dgCancelOnExit);
    EXPECT_FALSE(grid->canEditGrid());
    EXPECT_TRUE(grid->titleButtons());
    EXPECT_TRUE(grid->useRowColors());
    EXPECT_EQ(grid->rowColor1(), gridcolor::btnFace());
    EXPECT_EQ(shownProtocols(*window), (QStringList{"P1", "P2", "P3", "P4"}));
}

TEST_F(ListPageTest, SearchBoxFoldsWhatIsTypedAsTheRecordText)
{
    const auto window = startOnList();
    search(*window, QString::fromUtf8("via è straße"));
    EXPECT_EQ(window->listPage()->cerca()->text(), QString::fromUtf8("VIA è STRAßE"));
}

struct SearchCase {
    const char *name;
    const char *typed;
    QStringList found;
};

void PrintTo(const SearchCase &c, std::ostream *os) { *os << c.name; }

class ListPageSearchTest : public ListPageTest, public testing::WithParamInterface<SearchCase> {};

TEST_P(ListPageSearchTest, FindsTheCardsWhoseRecordTextHoldsTheSearch)
{
    const auto window = startOnList();
    search(*window, QString::fromUtf8(GetParam().typed));
    EXPECT_EQ(shownProtocols(*window), GetParam().found);
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

// P1 has G1 only, P2 all six bodies, P3 and P4 none; P3's accented letter is stored in lower
// case, P4's in upper case, which the record text keeps; what is typed as stored is found.
INSTANTIATE_TEST_SUITE_P(
    Cases, ListPageSearchTest,
    testing::Values(SearchCase{"True", "true", {"P1", "P2"}},
                    SearchCase{"False", "false", {"P1", "P3", "P4"}},
                    SearchCase{"AcrossTwoFields", "mario via", {"P1"}},
                    SearchCase{"LowerCaseStoredLetters", "anna", {"P2"}},
                    SearchCase{"AccentedLetterAsStored", "nicolò", {"P3"}},
                    SearchCase{"AccentedCapitalAsStored", "NICOLÒ", {"P4"}},
                    SearchCase{"SharpS", "straße", {"P4"}},
                    SearchCase{"Greek", "Οδός Ελένης", {"P3"}},
                    SearchCase{"Cyrillic", "Москва", {"P3"}},
                    SearchCase{"MemoInFull", "parola nascosta", {"P1"}},
                    SearchCase{"Date", "15/03/2023", {"P2"}},
                    SearchCase{"NoMatch", "zzz", {}}),
    [](const testing::TestParamInfo<SearchCase> &info) { return std::string(info.param.name); });

TEST_F(ListPageTest, SearchesTheKeyToo)
{
    const auto window = startOnList();
    search(*window, QStringLiteral(" %1 P").arg(m_keys[2]));
    EXPECT_EQ(shownProtocols(*window), QStringList{"P3"});
}

TEST_F(ListPageTest, EmptyingTheBoxShowsEveryCardAgain)
{
    const auto window = startOnList();
    search(*window, QStringLiteral("rossi"));
    ASSERT_EQ(shownProtocols(*window), QStringList{"P1"});
    search(*window, QString());
    EXPECT_TRUE(window->listPage()->cerca()->text().isEmpty());
    EXPECT_EQ(shownProtocols(*window), (QStringList{"P1", "P2", "P3", "P4"}));
}

// Each change starts from the first accepted card, which the grid then shows as current.
TEST_F(ListPageTest, EveryChangeMovesToTheFirstAcceptedCard)
{
    const auto window = startOnList();
    TArcTable &cards = window->data().Anagrafica();
    cards.last();
    search(*window, QStringLiteral("n"));
    EXPECT_EQ(cards.fieldByName(QStringLiteral("Protocollo"))->asString(), QStringLiteral("P1"));
    EXPECT_TRUE(cards.bof());
}

TEST_F(ListPageTest, PrintFilterModeLeavesTheSearchAside)
{
    const auto window = startOnList();
    search(*window, QStringLiteral("rossi"));
    window->listPage()->setPrintCriteria(
        [](const TDataSet &cards) { return cards.fieldByName(QStringLiteral("Protocollo"))->asString() != "P2"; });
    ProcessValues::setPrintFilterMode(true);
    EXPECT_EQ(shownProtocols(*window), (QStringList{"P1", "P3", "P4"}));
    ProcessValues::setPrintFilterMode(false);
    EXPECT_EQ(shownProtocols(*window), QStringList{"P1"});
}

TEST_F(ListPageTest, TitleClickSortsAscendingEveryTimeAndMarksItsTitle)
{
    const auto window = startOnList();
    TExDBGrid *grid = window->listPage()->grid_anagrafica();
    const int capofamiglia = kListFields.indexOf(QStringLiteral("Capofamiglia"));
    for (int click = 0; click < 2; ++click) {
        cardtest::clickCell(grid, capofamiglia + 1, 0);
        EXPECT_EQ(window->data().Anagrafica().SortedBy(), QStringList{"Capofamiglia"});
        EXPECT_EQ(cardtest::visibleValues(window->data().Anagrafica(), QStringLiteral("Capofamiglia")),
                  (QStringList{QString::fromUtf8("AZZURRI NICOLÒ"), "Bianchi Anna", "ROSSI MARIO",
                               QString::fromUtf8("Verdi Nicolò")}));
    }
    for (int c = 0; c < grid->columns().count(); ++c)
        EXPECT_EQ(grid->columns().at(c)->title().color(), c == capofamiglia ? QColor(192, 192, 192) : gridcolor::btnFace())
            << c;

    cardtest::clickCell(grid, 1, 0);
    EXPECT_EQ(window->data().Anagrafica().SortedBy(), QStringList{"Protocollo"});
    EXPECT_EQ(grid->columns().at(0)->title().color(), QColor(192, 192, 192));
    EXPECT_EQ(grid->columns().at(capofamiglia)->title().color(), gridcolor::btnFace());
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

TEST_F(ListPageTest, SortStaysAcrossSearches)
{
    const auto window = startOnList();
    window->listPage()->grid_anagraficaTitleBtnClick(kListFields.indexOf(QStringLiteral("Capofamiglia")), nullptr);
    search(*window, QString::fromUtf8("nicol"));
    EXPECT_EQ(shownProtocols(*window), (QStringList{"P4", "P3"}));
    search(*window, QString());
    EXPECT_EQ(shownProtocols(*window), (QStringList{"P4", "P2", "P1", "P3"}));
    EXPECT_EQ(window->data().Anagrafica().SortedBy(), QStringList{"Capofamiglia"});
}

TEST_F(ListPageTest, DoubleClickOnARowShowsThatCard)
{
    const auto window = startOnList();
    TExDBGrid *grid = window->listPage()->grid_anagrafica();
    cardtest::doubleClickCell(grid, 1, 3);
    EXPECT_EQ(window->pages()->currentWidget(), window->tb_scheda());
    EXPECT_EQ(window->data().Anagrafica().fieldByName(QStringLiteral("Protocollo"))->asString(), QStringLiteral("P3"));
    EXPECT_TRUE(window->nav_anagrafica()->isEnabled());
}

TEST_F(ListPageTest, DoubleClickOnATitleSortsAndThenShowsTheCard)
{
    const auto window = startOnList();
    TExDBGrid *grid = window->listPage()->grid_anagrafica();
    const int capofamiglia = kListFields.indexOf(QStringLiteral("Capofamiglia"));
    cardtest::doubleClickCell(grid, capofamiglia + 1, 0);
    EXPECT_EQ(window->data().Anagrafica().SortedBy(), QStringList{"Capofamiglia"});
    EXPECT_EQ(window->pages()->currentWidget(), window->tb_scheda());
    EXPECT_EQ(window->data().Anagrafica().fieldByName(QStringLiteral("Protocollo"))->asString(), QStringLiteral("P4"));
}

} // namespace

namespace {

// The search and a printed list's criteria reach the card table as data, so the engine
// selects the cards; the record filter's answers stay the same.
TEST_F(ListPageTest, SearchAndPrintCriteriaAreSelectedByTheEngine)
{
    const auto window = startOnList();
    TArcTable &cards = window->data().Anagrafica();
    search(*window, QStringLiteral("rossi"));
    EXPECT_EQ(shownProtocols(*window), QStringList{"P1"});
    EXPECT_TRUE(cards.criteriaInEngine());

    CardCriteria printing;
    printing.searchText = QString::fromUtf8("NICOLÒ");
    window->listPage()->setPrintCriteria(&printing);
    ProcessValues::setPrintFilterMode(true);
    EXPECT_EQ(shownProtocols(*window), QStringList{"P4"});
    EXPECT_TRUE(cards.criteriaInEngine());
    ProcessValues::setPrintFilterMode(false);
    window->listPage()->setPrintCriteria(static_cast<const CardCriteria *>(nullptr));
    EXPECT_EQ(shownProtocols(*window), QStringList{"P1"});
}

} // namespace
