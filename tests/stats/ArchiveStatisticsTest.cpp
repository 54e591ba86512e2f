// The statistics over a small archive whose figures were worked out by hand, with the edges
// an office meets: a birthday on the reference date (the card's 365.25-day years make a
// sixth birthday still 5), 29 February, no birth date, a member born after the date and a
// household begun after it (neither counts; a household begun on the date, or with no
// beginning, does), a card with no members, values in another case, a member of no card.

#include "archive/ArchiveCreator.h"
#include "archive/ArchiveWriter.h"
#include "db/TField.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "session/ArchiveSession.h"
#include "stats/ArchiveStatistics.h"
#include "tests/support/QtApplication.h"
#include "tests/support/TestArchive.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

using cli::engineDate;
const QDate kAt(2026, 3, 1);

cli::Member member(const char *role, const char *job, std::optional<dao::Date> born)
{
    return {QStringLiteral("Nome"), QString::fromUtf8(role), QString::fromUtf8(job), born};
}

cli::Household card(const char *band, const char *country, const char *home, std::optional<dao::Date> isee,
                    std::vector<cli::Member> members)
{
    cli::Household h;
    h.capofamiglia = QStringLiteral("Capo");
    h.fascia = QString::fromUtf8(band);
    h.paeseDiOrigine = QString::fromUtf8(country);
    h.abitazione = QString::fromUtf8(home);
    h.scadIsee = isee;
    h.members = std::move(members);
    return h;
}

dao::Date daysFromAt(int days)
{
    const QDate d = kAt.addDays(days);
    return engineDate(d.year(), d.month(), d.day());
}

void writeArchive(const QString &path)
{
    cli::ArchiveCreator(testsupport::archiveLocationFor(path), QString()).create(cli::ArchiveContents::standardRowsOnly());
    dao::DBEngine engine;
    auto workspace = engine.CreateWorkspace(QStringLiteral("w"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto db = workspace->OpenDatabase(testsupport::archiveAt(path), false, false, QStringLiteral(";UID=Admin;PWD=;"));
    {
        cli::ArchiveWriter writer(*db);
        cli::Household a = card("A", "Italia", "Affitto privato", daysFromAt(0),
                                {member("Figlio", "Studente", engineDate(2020, 3, 1)),
                                 member("Padre", "Pensionato", engineDate(1961, 3, 1)),
                                 member("Madre", "Casalinga", std::nullopt)});
        a.gruppi[0] = a.gruppi[2] = true;
        a.inizio = daysFromAt(0);
        cli::Household later = card("B", "Italia", "Casa popolare", daysFromAt(-5),
                                    {member("Padre", "Operaio", engineDate(1980, 1, 1))});
        later.inizio = daysFromAt(1);
        later.gruppi[1] = true;
        cli::Household b = card("B", "Marocco", "Senza fissa dimora", daysFromAt(-1),
                                {member("Figlio", "Invalido", engineDate(2008, 2, 29)),
                                 member("Figlia", "Studente", engineDate(2008, 3, 1)),
                                 member("Nonno", "", engineDate(1961, 2, 28)),
                                 member("Altro", "Disoccupato", engineDate(2027, 6, 1))});
        b.gruppi[5] = true;
        std::vector<cli::Member> six(6, member("Figlia", "Studente", engineDate(2010, 6, 15)));
        for (const cli::Household &h :
             {a, b, card("", "", "", std::nullopt, {}),
              card("A", " italia ", "affitto privato", daysFromAt(30), {member("figlio", "", engineDate(2026, 3, 1))}),
              card("Z", "Romania", "Casa popolare", daysFromAt(31), six), later})
            writer.writeHousehold(h);
    }
    auto orphans = db->OpenRecordset(QStringLiteral("Nucleo"));
    orphans->AddNew();
    orphans->field(QStringLiteral("ID_SCHEDA")).setValue(999);
    orphans->field(QStringLiteral("Ruolo")).setValue("Padre");
    orphans->Update();
    orphans->Close();
    db->Close();
    workspace->Close();
}

class ArchiveStatisticsTest : public testing::Test {
protected:
    // The tests only read: one archive serves them all.
    static void SetUpTestSuite()
    {
        testsupport::ensureApplication();
        s_dir = new QTemporaryDir;
        writeArchive(s_dir->filePath(QStringLiteral("tavorio.mdb")));
    }
    static void TearDownTestSuite() { delete s_dir; }
    void SetUp() override { m_session.open(testsupport::archiveAt(s_dir->filePath(QStringLiteral("tavorio.mdb"))), QString()); }
    ArchiveStatistics compute(const CardCriteria &criteria = {})
    {
        std::optional<ArchiveStatistics> figures;
        m_session.withCriteria(criteria, [&] {
            figures = ArchiveStatistics::compute(m_session.data().Anagrafica(), m_session.database(), kAt);
        });
        return *figures;
    }
    // The items of a section with their values, in order.
    static std::vector<std::pair<QString, int>> section(const ArchiveStatistics &s, const QString &name)
    {
        std::vector<std::pair<QString, int>> items;
        for (const StatisticsRow &row : s.rows())
            if (row.section == name)
                items.emplace_back(row.item, row.value);
        return items;
    }

    static QTemporaryDir *s_dir;
    ArchiveSession m_session{[] { return kAt.startOfDay(); }};
};

QTemporaryDir *ArchiveStatisticsTest::s_dir = nullptr;

using Items = std::vector<std::pair<QString, int>>;

TEST_F(ArchiveStatisticsTest, EveryFigureMatchesTheCountsWorkedOutByHand)
{
    const ArchiveStatistics s = compute();
    EXPECT_EQ(section(s, ArchiveStatistics::kTotals), (Items{{"Nuclei familiari", 5}, {"Persone", 13}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kAges),
              (Items{{"0-5 anni", 2}, {"6-15 anni", 6}, {"16-17 anni", 1}, {"18-64 anni", 2}, {"65 anni e oltre", 1},
                     {"età non indicata", 1}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kBands),
              (Items{{"A", 2}, {"B", 1}, {"C", 0}, {"D", 0}, {"Z", 1}, {"non indicata", 1}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kOrigin), (Items{{"Italia", 2}, {"Altri paesi", 2}, {"Paese non indicato", 1}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kCountries),
              (Items{{"Italia", 2}, {"Marocco", 1}, {"Romania", 1}, {"non indicato", 1}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kHousing),
              (Items{{"Affitto privato", 2}, {"Casa popolare", 1}, {"Senza fissa dimora", 1}, {"non indicata", 1}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kSizes),
              (Items{{"Nessun componente", 1}, {"1 componente", 1}, {"2 componenti", 0}, {"3 componenti", 2},
                     {"4 componenti", 0}, {"5 componenti", 0}, {"6 componenti e più", 1}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kRoles),
              (Items{{"Capofamiglia", 0}, {"Padre", 1}, {"Madre", 1}, {"Coniuge", 0}, {"Figlio", 3}, {"Figlia", 7},
                     {"Nonno", 1}, {"Nonna", 0}, {"Altro", 0}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kOccupations),
              (Items{{"Disoccupato", 0}, {"Operaio", 0}, {"Impiegato", 0}, {"Colf/Badante", 0}, {"Lavoro saltuario", 0},
                     {"Studente", 8}, {"Casalinga", 1}, {"Pensionato", 1}, {"Invalido", 1}, {"Altro", 0},
                     {"non indicato", 2}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kBodies),
              (Items{{"Caritas", 1}, {"Comune", 0}, {"Parrocchia", 1}, {"Croce Rossa", 0}, {"Banco alimentare", 0},
                     {"Altri enti", 1}}));
    EXPECT_EQ(section(s, ArchiveStatistics::kIsee),
              (Items{{"Scaduto", 1}, {"In scadenza entro 30 giorni", 2}, {"Valido oltre 30 giorni", 1},
                     {"Non indicato", 1}}));
}

TEST_F(ArchiveStatisticsTest, PrintCriteriaCountOnlyTheCardsTheySelectAndTheWalkLeavesTheCardWhereItWas)
{
    TDataSet &cards = m_session.data().Anagrafica();
    cards.first();
    cards.moveBy(2);
    ASSERT_EQ(cards.recNo(), 3);
    EXPECT_EQ(compute().value(ArchiveStatistics::kTotals, QStringLiteral("Nuclei familiari")), 5);
    EXPECT_EQ(cards.recNo(), 3);
    CardCriteria bandA;
    bandA.band = QStringLiteral("A");
    const ArchiveStatistics s = compute(bandA);
    EXPECT_EQ(s.value(ArchiveStatistics::kTotals, QStringLiteral("Nuclei familiari")), 2);
    EXPECT_EQ(s.value(ArchiveStatistics::kTotals, QStringLiteral("Persone")), 4);
    EXPECT_EQ(s.value(ArchiveStatistics::kBands, QStringLiteral("B")), 0);
}

// The figures come from one statement per table when the engine selects the cards, and from
// a walk through the cards when only the record filter's code can tell: the same figures.
TEST_F(ArchiveStatisticsTest, FiguresReadWithOneStatementEqualThoseOfAWalkThroughTheCards)
{
    const auto all = [](const ArchiveStatistics &s) {
        QStringList rows;
        for (const StatisticsRow &row : s.rows())
            rows << QStringLiteral("%1/%2/%3").arg(row.section, row.item).arg(row.value);
        return rows;
    };
    CardCriteria country;
    country.country = QStringLiteral("Italia");
    const ArchiveStatistics selected = compute(country);
    const ArchiveStatistics everything = compute();
    m_session.data().Anagrafica().FilterCriteria = [] { return std::optional<TFilterCriteria>(); };
    EXPECT_EQ(all(compute(country)), all(selected));
    EXPECT_EQ(all(compute()), all(everything));
    EXPECT_EQ(selected.value(ArchiveStatistics::kTotals, QStringLiteral("Nuclei familiari")), 1);
}

TEST_F(ArchiveStatisticsTest, TheDatasetALayoutNamesHoldsTheSameRowsAtItsReferenceDate)
{
    StatisticsDataSet &dataSet = m_session.data().Statistiche();
    dataSet.setReferenceDate(kAt);
    dataSet.open();
    const ArchiveStatistics s = compute();
    size_t row = 0;
    for (dataSet.first(); !dataSet.eof(); dataSet.next(), ++row) {
        ASSERT_LT(row, s.rows().size());
        EXPECT_EQ(dataSet.fieldByName(QStringLiteral("Sezione"))->asString(), s.rows()[row].section);
        EXPECT_EQ(dataSet.fieldByName(QStringLiteral("Voce"))->asString(), s.rows()[row].item);
        EXPECT_EQ(dataSet.fieldByName(QStringLiteral("Valore"))->asInteger(), s.rows()[row].value);
        EXPECT_EQ(dataSet.fieldByName(QStringLiteral("Data_riferimento"))->asDateTime().date(), kAt);
    }
    EXPECT_EQ(row, s.rows().size());
    dataSet.close();
}

} // namespace
