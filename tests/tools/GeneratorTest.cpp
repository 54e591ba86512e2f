// The household generator and the standard rows, without the engine: same seed, same
// households; every value fits the schema and the pick lists.

#include "archive/HouseholdGenerator.h"
#include "archive/Prng.h"
#include "archive/StandardRows.h"
#include "store/Schema.h"

#include "engine/Constants.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <array>
#include <map>

namespace {

using cli::Household;
using cli::HouseholdGenerator;

QString dateText(const std::optional<dao::Date> &d)
{
    return d ? QString::number(d->days) : QStringLiteral("null");
}

QString describe(const Household &h)
{
    QStringList parts{h.protocollo, h.fascia, h.referente, h.capofamiglia, h.indirizzo,
                      h.citta, h.telefono, h.cellulare, h.email, h.paeseDiOrigine,
                      h.figliInPatria, dateText(h.scadIsee), h.abitazione, h.g6Altri,
                      dateText(h.inizio), h.necessitaAlimentari, h.note, h.ascolto};
    for (bool g : h.gruppi)
        parts << (g ? QStringLiteral("1") : QStringLiteral("0"));
    for (const cli::Member &m : h.members)
        parts << m.nome << m.ruolo << m.lavoro << dateText(m.nascita);
    return parts.join(QLatin1Char('|'));
}

std::vector<Household> generate(quint64 seed, int count)
{
    HouseholdGenerator generator(seed);
    std::vector<Household> out;
    for (int i = 0; i < count; ++i)
        out.push_back(generator.next());
    return out;
}

// Text sizes as the schema declares them, by table and field.
int textSize(const QString &table, const QString &field)
{
    for (const dao::TableSpec &definition : schema::archiveTables()) {
        if (definition.name != table)
            continue;
        for (const dao::FieldSpec &f : definition.fields) {
            if (f.name == field && f.type == dao::dbText)
                return f.size;
        }
    }
    ADD_FAILURE() << "no text field " << table.toStdString() << "." << field.toStdString();
    return 0;
}

TEST(Prng, FollowsTheSplitMix64Sequence)
{
    // Reference outputs of SplitMix64 for seed 0: archives must not depend on the library.
    cli::Prng rng(0);
    EXPECT_EQ(rng.next(), 0xE220A8397B1DCDAFULL);
    EXPECT_EQ(rng.next(), 0x6E789E6AA1B965F4ULL);
    EXPECT_EQ(rng.next(), 0x06C45D188009454FULL);
}

TEST(Prng, BetweenStaysWithinBothBounds)
{
    cli::Prng rng(7);
    QSet<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int v = rng.between(-2, 2);
        ASSERT_GE(v, -2);
        ASSERT_LE(v, 2);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 5);
}

TEST(HouseholdGenerator, SameSeedGivesTheSameHouseholds)
{
    const auto a = generate(HouseholdGenerator::kGeneratedSeed, 300);
    const auto b = generate(HouseholdGenerator::kGeneratedSeed, 300);
    for (size_t i = 0; i < a.size(); ++i)
        ASSERT_EQ(describe(a[i]), describe(b[i])) << "household " << i;
}

class GeneratedValues : public testing::TestWithParam<quint64> {
protected:
    std::vector<Household> m_households = generate(GetParam(), 5000);
};

TEST_P(GeneratedValues, TextsFitTheirFields)
{
    for (const Household &h : m_households) {
        const std::map<QString, QString> card = {
            {"Protocollo", h.protocollo}, {"Fascia", h.fascia}, {"Referente", h.referente},
            {"Capofamiglia", h.capofamiglia}, {"Indirizzo", h.indirizzo}, {"Citta", h.citta},
            {"Telefono", h.telefono}, {"Cellulare", h.cellulare}, {"Email", h.email},
            {"Paese_di_origine", h.paeseDiOrigine}, {"Figli_in_patria", h.figliInPatria},
            {"Abitazione", h.abitazione}, {"G6_altri", h.g6Altri}};
        for (const auto &[field, value] : card)
            ASSERT_LE(value.size(), textSize("Anagrafica", field)) << field.toStdString() << ": "
                                                                   << value.toStdString();
        for (const cli::Member &m : h.members) {
            ASSERT_LE(m.nome.size(), textSize("Nucleo", "Nome"));
            ASSERT_LE(m.ruolo.size(), textSize("Nucleo", "Ruolo"));
            ASSERT_LE(m.lavoro.size(), textSize("Nucleo", "Lavoro"));
        }
    }
}

TEST_P(GeneratedValues, MembersAreOneToSixWithValuesFromThePickLists)
{
    const auto &roles = cli::standard::roles();
    const auto &jobs = cli::standard::occupations();
    const auto &bands = cli::standard::bands();
    for (const Household &h : m_households) {
        ASSERT_GE(h.members.size(), 1u);
        ASSERT_LE(h.members.size(), 6u);
        EXPECT_EQ(h.members.front().nome, h.capofamiglia);
        EXPECT_NE(std::find(bands.begin(), bands.end(), h.fascia), bands.end());
        for (const cli::Member &m : h.members) {
            EXPECT_NE(std::find(roles.begin(), roles.end(), m.ruolo), roles.end())
                << m.ruolo.toStdString();
            if (!m.lavoro.isEmpty()) {
                EXPECT_NE(std::find(jobs.begin(), jobs.end(), m.lavoro), jobs.end())
                    << m.lavoro.toStdString();
            }
        }
        if (!h.g6Altri.isEmpty()) {
            EXPECT_TRUE(h.gruppi[5]);
        }
    }
}

TEST_P(GeneratedValues, NoTwoMembersOfAHouseholdShareAName)
{
    for (const Household &h : m_households) {
        QSet<QString> names;
        for (const cli::Member &m : h.members)
            names.insert(m.nome);
        ASSERT_EQ(names.size(), qsizetype(h.members.size())) << describe(h).toStdString();
    }
}

TEST_P(GeneratedValues, DatesLieInPlausibleYears)
{
    const double from = cli::engineDate(1900, 1, 1).days;
    const double to = cli::engineDate(2030, 1, 1).days;
    for (const Household &h : m_households) {
        for (const auto &d : {h.scadIsee, h.inizio}) {
            if (d) {
                EXPECT_TRUE(d->days > from && d->days < to) << d->days;
            }
        }
        for (const cli::Member &m : h.members) {
            if (m.nascita) {
                EXPECT_TRUE(m.nascita->days > from && m.nascita->days < to) << m.nascita->days;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, GeneratedValues,
                         testing::Values(HouseholdGenerator::kDemoSeed,
                                         HouseholdGenerator::kGeneratedSeed));

// The demo archive is what a newcomer sees first: it must show the cases the windows handle.
TEST(DemoHouseholds, ShowEmptyDatesAccentsForeignOriginsAndEveryCheckBox)
{
    const auto demo = generate(HouseholdGenerator::kDemoSeed, HouseholdGenerator::kDemoHouseholds);
    int emptyDates = 0, accented = 0, foreign = 0, singles = 0, large = 0;
    std::array<int, 6> ticked{};
    for (const Household &h : demo) {
        emptyDates += !h.scadIsee + !h.inizio;
        for (const cli::Member &m : h.members)
            emptyDates += !m.nascita;
        const QString memos = h.necessitaAlimentari + h.note + h.ascolto;
        accented += memos.contains(QRegularExpression(QStringLiteral("[àèéìòù]")));
        foreign += h.paeseDiOrigine != QLatin1String("Italia");
        singles += h.members.size() == 1;
        large += h.members.size() >= 5;
        for (size_t g = 0; g < 6; ++g)
            ticked[g] += h.gruppi[g];
    }
    EXPECT_GE(emptyDates, 3);
    EXPECT_GE(accented, 5);
    EXPECT_GE(foreign, 10);
    EXPECT_GE(singles, 1);
    EXPECT_GE(large, 1);
    for (int count : ticked) {
        EXPECT_GT(count, 0);
        EXPECT_LT(count, int(demo.size()));
    }
}

TEST(NucleoSummary, OneLinePerMemberEndedByCarriageReturnOnly)
{
    const std::vector<cli::Member> members = {{"Rossi Mario", "Padre", "Operaio", {}},
                                              {"Bianchi Anna", "Madre", "", {}}};
    EXPECT_EQ(cli::nucleoSummary(members), QStringLiteral("Rossi Mario - Padre\rBianchi Anna - Madre\r"));
    EXPECT_EQ(cli::nucleoSummary({}), QString());
}

TEST(EngineDate, CountsDaysFromTheThirtiethOfDecember1899)
{
    EXPECT_EQ(cli::engineDate(1899, 12, 30).days, 0.0);
    EXPECT_EQ(cli::engineDate(1900, 1, 1).days, 2.0);
    EXPECT_EQ(cli::engineDate(2024, 1, 1).days, 45292.0);
}

TEST(StandardRows, FitTheirFields)
{
    EXPECT_EQ(cli::standard::groups().size(), 6u);
    for (const QString &g : cli::standard::groups())
        EXPECT_LE(g.size(), textSize("Gruppi", "Gruppo"));
    for (const QString &b : cli::standard::bands())
        EXPECT_LE(b.size(), textSize("Fascia", "Fascia"));
    for (const QString &r : cli::standard::roles())
        EXPECT_LE(r.size(), textSize("Ruolo", "Ruolo"));
    for (const QString &o : cli::standard::occupations())
        EXPECT_LE(o.size(), textSize("Occupazione", "Occupazione"));
    for (const auto &list : cli::standard::printedLists()) {
        EXPECT_LE(list.nome.size(), textSize("Stampe", "Nome"));
        EXPECT_TRUE(list.tracciato.endsWith(QLatin1String(".qnf")));
        EXPECT_FALSE(list.ordine.isEmpty());
    }
}

} // namespace
