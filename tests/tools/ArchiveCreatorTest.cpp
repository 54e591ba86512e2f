// Archives made in this process: the standard rows, the households with their members and
// summaries, and what is refused or cleaned up.

#include "tests/tools/ToolsHarness.h"

#include "archive/ArchiveCreator.h"
#include "archive/CliError.h"
#include "archive/HouseholdGenerator.h"
#include "archive/StandardRows.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "tests/support/TestArchive.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <map>

namespace {

using toolstest::ArchiveProbe;

QStringList texts(const std::vector<dao::Value> &values)
{
    QStringList out;
    for (const dao::Value &v : values)
        out << v.asText();
    return out;
}

QStringList numbered(const std::vector<QString> &values)
{
    QStringList out;
    int order = 0;
    for (const QString &v : values)
        out << QStringLiteral("%1|%2").arg(v).arg(++order);
    return out;
}

class ArchiveCreatorTest : public testing::Test {
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

TEST_F(ArchiveCreatorTest, WritesTheStandardRowsInOrder)
{
    testsupport::createArchive(path("a.mdb"), {}, 0);
    ArchiveProbe probe(path("a.mdb"));
    EXPECT_EQ(texts(probe.column("Gruppi", "Gruppo")),
              QStringList({"Caritas", "Comune", "Parrocchia", "Croce Rossa", "Banco alimentare",
                           "Altri enti"}));
    EXPECT_EQ(probe.dump("Fascia"), QStringList({"A|1", "B|2", "C|3", "D|4"}));
    EXPECT_EQ(probe.dump("Ruolo"), numbered(cli::standard::roles()));
    EXPECT_EQ(probe.dump("Occupazione"), numbered(cli::standard::occupations()));
    QStringList lists;
    for (const auto &l : cli::standard::printedLists())
        lists << l.nome + QLatin1Char('|') + l.tracciato + QLatin1Char('|') + l.ordine;
    auto stampe = probe.dump("Stampe");
    for (QString &row : stampe)
        row = row.section(QLatin1Char('|'), 1);   // without the ID
    EXPECT_EQ(stampe, lists);
    EXPECT_TRUE(probe.column("Anagrafica", "ID_SCHEDA").empty());
    EXPECT_TRUE(probe.column("Nucleo", "ID_PERSONA").empty());
}

TEST_F(ArchiveCreatorTest, CardsHoldTheGeneratedValuesNullsIncluded)
{
    constexpr int kCards = 40;
    testsupport::createArchive(path("a.mdb"), {}, kCards);
    cli::HouseholdGenerator generator(cli::HouseholdGenerator::kGeneratedSeed);
    ArchiveProbe probe(path("a.mdb"));
    auto rs = probe.db().OpenRecordset("Anagrafica", dao::dbOpenDynaset);
    ASSERT_EQ(rs->RecordCount(), kCards);
    for (int i = 0; i < kCards; ++i, rs->MoveNext()) {
        SCOPED_TRACE(i);
        const cli::Household h = generator.next();
        const auto text = [&](const char *field) { return rs->field(field).value(); };
        const auto nullable = [](const QString &s) { return s.isEmpty() ? dao::Value() : dao::Value(s); };
        EXPECT_EQ(text("Protocollo"), nullable(h.protocollo));
        EXPECT_EQ(text("Capofamiglia"), nullable(h.capofamiglia));
        EXPECT_EQ(text("Telefono"), nullable(h.telefono));
        EXPECT_EQ(text("Email"), nullable(h.email));
        EXPECT_EQ(text("Note"), nullable(h.note));
        EXPECT_EQ(text("Nucleo").asText(), cli::nucleoSummary(h.members));
        for (const auto &[field, date] : {std::pair("Scad_ISEE", h.scadIsee), std::pair("Inizio", h.inizio)}) {
            const dao::Value v = rs->field(field).value();
            if (date)
                EXPECT_EQ(v.asDouble(), date->days) << field;
            else
                EXPECT_TRUE(v.isNull()) << field;
        }
        for (int g = 0; g < 6; ++g)
            EXPECT_EQ(rs->field(QStringLiteral("G%1").arg(g + 1)).value().asBool(), h.gruppi[size_t(g)]);
    }
}

TEST_F(ArchiveCreatorTest, MembersPointToTheirOwnCardInOrder)
{
    constexpr int kCards = 25;
    testsupport::createArchive(path("a.mdb"), {}, kCards);
    ArchiveProbe probe(path("a.mdb"));
    const auto cardKeys = probe.column("Anagrafica", "ID_SCHEDA");
    const auto owners = probe.column("Nucleo", "ID_SCHEDA");
    const auto names = probe.column("Nucleo", "Nome");
    std::map<qint64, QStringList> byCard;
    for (size_t i = 0; i < owners.size(); ++i)
        byCard[owners[i].asInt()] << names[i].asText();

    cli::HouseholdGenerator generator(cli::HouseholdGenerator::kGeneratedSeed);
    ASSERT_EQ(cardKeys.size(), size_t(kCards));
    ASSERT_EQ(byCard.size(), size_t(kCards));
    for (const dao::Value &key : cardKeys) {
        QStringList expected;
        for (const cli::Member &m : generator.next().members)
            expected << m.nome;
        EXPECT_EQ(byCard[key.asInt()], expected) << "card " << key.asInt();
    }
}

TEST_F(ArchiveCreatorTest, DemoHasAboutSixtyCardsAndSurvivesAccents)
{
    cli::ArchiveCreator(path("demo.mdb"), {}).create(cli::ArchiveContents::demo());
    ArchiveProbe probe(path("demo.mdb"));
    EXPECT_EQ(probe.column("Anagrafica", "ID_SCHEDA").size(),
              size_t(cli::HouseholdGenerator::kDemoHouseholds));
    const QStringList needs = texts(probe.column("Anagrafica", "Necessita_alimentari"));
    EXPECT_TRUE(needs.join(QString()).contains(QStringLiteral("più")));
}

TEST_F(ArchiveCreatorTest, AFailedCreationLeavesNoFileBehind)
{
    const QString target = path("manca/a.mdb");
    try {
        cli::ArchiveCreator(target, {}).create(cli::ArchiveContents::generated(3));
        FAIL() << "created in a folder that does not exist";
    } catch (const cli::CliError &e) {
        EXPECT_EQ(e.code(), cli::ExitCode::Refused);
    }
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(ArchiveCreatorTest, ClosesTheArchiveSoNoLockFileRemains)
{
    testsupport::createArchive(path("a.mdb"), {}, 1);
    EXPECT_FALSE(QFileInfo::exists(path("a.ldb")));
}

} // namespace
