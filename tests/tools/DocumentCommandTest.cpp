// tavorio-cli documento: one document per card from a template, the cards chosen as the
// printed lists choose them, file names from protocol and head of household, and the exits
// for unusable templates, wrong passwords and wrong command lines.

#include "ToolsHarness.h"

#include "archive/ArchiveWriter.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "tests/support/DocumentFiles.h"
#include "tools/cli/DocumentCommand.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using toolstest::runCli;

const QString kLetter = QStringLiteral(TAVORIO_SOURCE_DIR "/data/word/Lettera di convocazione.docx");

cli::Household card(const char *protocol, const char *name, const char *band, const char *country)
{
    cli::Household h;
    h.protocollo = QString::fromUtf8(protocol);
    h.capofamiglia = QString::fromUtf8(name);
    h.fascia = QString::fromUtf8(band);
    h.paeseDiOrigine = QString::fromUtf8(country);
    return h;
}

class DocumentCommand : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        cli::ArchiveCreator(archive(), QString()).create(cli::ArchiveContents::standardRowsOnly());
        cli::Household rossi = card("1/24", "Rossi Mario", "A", "Marocco");
        rossi.note = QStringLiteral("da cercami quando torna");
        dao::DBEngine engine;
        auto workspace = engine.CreateWorkspace(QStringLiteral("w"), QStringLiteral("Admin"), {}, dao::dbUseJet);
        auto db = workspace->OpenDatabase(archive(), false, false, QStringLiteral(";UID=Admin;PWD=;"));
        {
            cli::ArchiveWriter writer(*db);
            for (const cli::Household &h : {rossi, card("2/24", "Bianchi Anna", "B", "Marocco"),
                                            card("3/24", "Verdi Nicolò", "A", "marocco"),
                                            card("1/24", "Rossi Mario", "A", "Marocco")})
                m_keys.push_back(writer.writeHousehold(h));
        }
        db->Close();
        workspace->Close();
    }

    QString archive() const { return m_dir.filePath(QStringLiteral("tavorio.mdb")); }
    QString out() const { return m_dir.filePath(QStringLiteral("documenti")); }
    QStringList made() const { return QDir(out()).entryList(QDir::Files, QDir::Name); }

    toolstest::CommandResult run(const QStringList &options, const QString &templatePath = kLetter)
    {
        return runCli(QStringList{QStringLiteral("documento"), archive(), templatePath} + options
                      + QStringList{QStringLiteral("--uscita"), out()});
    }

    QTemporaryDir m_dir;
    std::vector<qint64> m_keys;
};

TEST_F(DocumentCommand, AllCardsOfABandAndCountryOneFileEach)
{
    const auto result = run({"--tutte", "--fascia", "A", "--paese", "Marocco"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    // Verdi's country is written in another case: not the same country.
    const QString twin = QStringLiteral("1_24 Rossi Mario (%1).docx").arg(m_keys[3]);
    EXPECT_EQ(made(), (QStringList{twin, QStringLiteral("1_24 Rossi Mario.docx")}));
    EXPECT_EQ(testsupport::modeOf(out()), 0700);
    for (const QString &name : made()) {
        EXPECT_EQ(testsupport::modeOf(QDir(out()).filePath(name)), 0600);
        const QString text = testsupport::documentText(toolstest::fileBytes(QDir(out()).filePath(name)));
        EXPECT_TRUE(text.contains(QStringLiteral("Gentile Rossi Mario,"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Prot. n. 1/24")));
        EXPECT_FALSE(text.contains(QStringLiteral("[Capofamiglia]")));
    }
}

TEST_F(DocumentCommand, SearchTextIsTypedAsTheSearchBoxShowsIt)
{
    const auto result = run({"--tutte", "--cerca", "cercami"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(made(), QStringList{QStringLiteral("1_24 Rossi Mario.docx")});
    // The first run's document is in the folder already: replacing it must be asked for.
    EXPECT_EQ(run({"--tutte", "--sovrascrivi"}).exitCode, 0);
    EXPECT_EQ(made().size(), 4);
}

TEST_F(DocumentCommand, OneCardByItsKey)
{
    const auto result = run({"--scheda", QString::number(m_keys[2])});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(made(), QStringList{QString::fromUtf8("3_24 Verdi Nicolò.docx")});
    const auto missing = run({"--scheda", "999"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Nessuna scheda con ID_SCHEDA 999")));
}

TEST_F(DocumentCommand, AnUnusableTemplateWritesNothing)
{
    const QString broken = m_dir.filePath(QStringLiteral("rotto.docx"));
    toolstest::writeFile(broken, "non è un documento");
    const auto result = run({"--tutte"}, broken);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("Impossibile collegarsi a Microsoft Word !"))) << result.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out()));
}

TEST_F(DocumentCommand, ExistingDocumentsStopTheRunUnlessReplacingIsAsked)
{
    ASSERT_EQ(run({"--scheda", QString::number(m_keys[1])}).exitCode, 0);
    const QString bianchi = QDir(out()).filePath(QStringLiteral("2_24 Bianchi Anna.docx"));
    toolstest::writeFile(bianchi, "la lettera già corretta a mano");

    const auto refused = run({"--tutte"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(bianchi)) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--sovrascrivi")));
    // Nothing at all was written, not even the cards whose files were free.
    EXPECT_EQ(made(), QStringList{QStringLiteral("2_24 Bianchi Anna.docx")});
    EXPECT_EQ(toolstest::fileBytes(bianchi), "la lettera già corretta a mano");

    const auto replaced = run({"--tutte", "--sovrascrivi"});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_EQ(made().size(), 4);
    EXPECT_TRUE(testsupport::documentText(toolstest::fileBytes(bianchi)).contains(QStringLiteral("Gentile Bianchi Anna,")));
}

TEST_F(DocumentCommand, ATemplateNamedAloneIsFoundInTheWordFolderBesideTheArchive)
{
    QDir().mkpath(m_dir.filePath(QStringLiteral("word")));
    QFile::copy(kLetter, m_dir.filePath(QStringLiteral("word/Convocazione.docx")));
    const auto result = run({"--scheda", QString::number(m_keys[1])}, QStringLiteral("Convocazione.docx"));
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(made(), QStringList{QStringLiteral("2_24 Bianchi Anna.docx")});
    EXPECT_EQ(run({"--scheda", "1"}, QStringLiteral("Manca.docx")).exitCode, 1);
}

TEST_F(DocumentCommand, WrongCommandLinesAndPasswords)
{
    EXPECT_EQ(run({"--tutte", "--scheda", "1"}).exitCode, 64);
    EXPECT_EQ(run({}).exitCode, 64);
    EXPECT_EQ(run({"--scheda", "1", "--fascia", "A"}).exitCode, 64);
    EXPECT_EQ(runCli({"documento", archive(), kLetter, "--tutte"}).exitCode, 64);

    const QString locked = m_dir.filePath(QStringLiteral("chiuso.mdb"));
    ASSERT_EQ(runCli({"crea-archivio", locked, "--demo", "--password-stdin"}, {}, "segreto\n").exitCode, 0);
    const QStringList args{"documento", locked, kLetter, "--tutte", "--uscita", out(), "--password-stdin"};
    EXPECT_EQ(runCli(args, {}, "sbagliata\n").exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(out()));
    const auto result = runCli(args, {}, "segreto\n");
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(made().size(), toolstest::ArchiveProbe(locked, QStringLiteral("segreto")).column("Anagrafica", "ID_SCHEDA").size());
}

TEST(DocumentBaseName, WhatAFileNameCannotHoldIsReplaced)
{
    EXPECT_EQ(cli::documentBaseName(QStringLiteral(" 4/24 "), QStringLiteral("Rossi: \"Mario\"\r"), 7),
              QStringLiteral("4_24 Rossi_ _Mario_"));
    EXPECT_EQ(cli::documentBaseName(QString(), QStringLiteral("..nascosto"), 7), QStringLiteral("nascosto"));
    EXPECT_EQ(cli::documentBaseName(QString(), QString(), 7), QStringLiteral("scheda 7"));
}

} // namespace
