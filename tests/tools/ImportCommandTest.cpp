// importa as the real executable, on Access files written by the tests' own writer of the
// format and checked first with mdbtools' command-line tools: every kind of value of the
// seven tables comes across exactly, keys and counters included, to a file and to the test
// server; a password is checked; extra and missing tables and fields, damaged and foreign
// inputs are refused with nothing created and the input unchanged.

#include "tests/tools/ToolsHarness.h"

#include "archive/AccessImport.h"
#include "archive/CliError.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "tests/support/AccessTestFiles.h"
#include "tests/support/PgTestServer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using testsupport::AccessDatabase;
using testsupport::AccessRow;

// The output of one of mdbtools' tools on the file, or a failure.
QString mdbTool(const QString &tool, const QStringList &args)
{
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        ADD_FAILURE() << tool.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

const QString kArabic = QStringLiteral("محمد");
const QString kGreek = QStringLiteral("Ελένη Παπαδοπούλου");
const QString kCyrillic = QStringLiteral("Ольга Петренко");
const QString kAccented = QStringLiteral("Niccolò Àlvarez-Ferrè");

QString longMemo()
{
    QString text;
    for (int i = 0; i < 900; ++i)
        text += QStringLiteral("riga %1 àèìòù αβγ; ").arg(i);
    return text;   // well over a page, with characters that need two bytes
}

// The seven tables with rows of every kind: texts compressed and not, null and empty,
// long memos, dates with times and far from today, Yes/No, 16- and 32-bit numbers, keys with
// gaps, deleted rows and a counter beyond the last key.
AccessDatabase sample(const QString &password = {}, bool compressed = true)
{
    AccessDatabase db = testsupport::archiveTables();
    db.options.password = password;
    db.options.compressText = compressed;
    auto *cards = testsupport::findTable(db, QStringLiteral("Anagrafica"));
    const int fields = int(cards->columns.size());
    const auto card = [&](int id, const QString &head, const QVariant &isee, const QVariant &memo, bool g1, bool deleted) {
        AccessRow row;
        row.deleted = deleted;
        row.values = QVariantList(fields);
        row.values[0] = id;
        row.values[1] = QStringLiteral("P-%1").arg(id);
        row.values[4] = head;
        row.values[3] = QString();   // empty, not null
        row.values[12] = isee;
        row.values[13] = memo;
        row.values[15] = g1;
        for (int g = 16; g <= 20; ++g)
            row.values[g] = g % 2 == 0;
        return row;
    };
    cards->rows = {card(1, kAccented, QDateTime(QDate(1890, 3, 1), QTime(0, 0)), longMemo(), true, false),
                   card(2, QStringLiteral("Cancellata"), QVariant(), QVariant(), false, true),
                   card(4, kGreek, QDateTime(QDate(2041, 12, 31), QTime(17, 45, 30)), QString(), false, false),
                   card(7, kCyrillic, QVariant(), kArabic, true, false),
                   card(9, kArabic, QDateTime(QDate(2024, 2, 29), QTime(8, 5)), QVariant(), false, false)};
    cards->nextCounter = 12;
    auto *members = testsupport::findTable(db, QStringLiteral("Nucleo"));
    members->rows = {AccessRow{{1, 1, kAccented, QStringLiteral("Padre"), QString(), QDate(1899, 12, 29)}},
                     AccessRow{{3, 7, kCyrillic, QVariant(), QVariant(), QDateTime(QDate(1999, 1, 1), QTime(23, 59, 59))}},
                     AccessRow{{5, 2147483647, kArabic, QStringLiteral("Figlio"), QStringLiteral("Studente"), QVariant()}}};
    for (const char *name : {"Fascia", "Ruolo", "Occupazione"}) {
        auto *lookup = testsupport::findTable(db, QString::fromLatin1(name));
        lookup->rows = {AccessRow{{QStringLiteral("Prima"), -32768}}, AccessRow{{QStringLiteral("Seconda"), 32767}},
                        AccessRow{{QStringLiteral("Prima"), 3}}};
    }
    auto *groups = testsupport::findTable(db, QStringLiteral("Gruppi"));
    groups->rows = {AccessRow{{1, QStringLiteral("Caritas")}}, AccessRow{{2, QStringLiteral("Comune")}}};
    auto *lists = testsupport::findTable(db, QStringLiteral("Stampe"));
    lists->rows = {AccessRow{{3, QStringLiteral("Elenco per fascia"), QStringLiteral("elenco_fascia.qnf"),
                              QStringLiteral("Fascia,Capofamiglia")}}};
    return db;
}

class ImportCommandTest : public testing::Test {
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Writes the file and checks it with mdbtools before anything imports it.
    QString accessFile(const AccessDatabase &db, const QString &name = QStringLiteral("tavorio.mdb"))
    {
        const QString file = path(name);
        EXPECT_TRUE(testsupport::writeAccessFile(file, db));
        const QString tables = mdbTool(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), file});
        for (const auto &table : db.tables)
            EXPECT_TRUE(tables.split(QLatin1Char('\n')).contains(table.name)) << tables.toStdString();
        EXPECT_TRUE(mdbTool(QStringLiteral("mdb-schema"), {file}).contains(QStringLiteral("Capofamiglia")));
        EXPECT_TRUE(mdbTool(QStringLiteral("mdb-export"), {file, QStringLiteral("Nucleo")}).contains(kCyrillic));
        return file;
    }

    toolstest::CommandResult import(const QString &from, const QString &to, QStringList options = {},
                                    const QString &fromPassword = {}, const QString &toPassword = {})
    {
        options.prepend(to);
        options.prepend(from);
        options.prepend(QStringLiteral("importa"));
        options << QStringLiteral("--password-stdin");
        return toolstest::runCli(options, {}, (fromPassword + QLatin1Char('\n') + toPassword + QLatin1Char('\n')).toUtf8());
    }

    QTemporaryDir m_dir;
};

void expectSampleArchive(const QString &location, const QString &password)
{
    toolstest::ArchiveProbe probe(location, password);
    using V = dao::Value;
    EXPECT_EQ(probe.column(QStringLiteral("Anagrafica"), QStringLiteral("ID_SCHEDA")),
              (std::vector<V>{V(qint64(1)), V(qint64(4)), V(qint64(7)), V(qint64(9))}));
    EXPECT_EQ(probe.db().KeyCounter(QStringLiteral("Anagrafica")), 11);
    EXPECT_EQ(probe.column(QStringLiteral("Anagrafica"), QStringLiteral("Capofamiglia")),
              (std::vector<V>{V(kAccented), V(kGreek), V(kCyrillic), V(kArabic)}));
    const auto referente = probe.column(QStringLiteral("Anagrafica"), QStringLiteral("Referente"));
    EXPECT_TRUE(referente[0].isText() && referente[0].asText().isEmpty());
    EXPECT_TRUE(probe.column(QStringLiteral("Anagrafica"), QStringLiteral("Citta"))[0].isNull());
    const auto memo = probe.column(QStringLiteral("Anagrafica"), QStringLiteral("Nucleo"));
    EXPECT_EQ(memo, (std::vector<V>{V(longMemo()), V(QString()), V(kArabic), V()}));
    const auto isee = probe.column(QStringLiteral("Anagrafica"), QStringLiteral("Scad_ISEE"));
    EXPECT_EQ(isee[0], V(dao::Date{double(dao::engineDayOf(QDate(1890, 3, 1)))}));
    EXPECT_EQ(isee[1], V(dao::Date{double(dao::engineDayOf(QDate(2041, 12, 31))) + (17 * 3600 + 45 * 60 + 30) / 86400.0}));
    EXPECT_TRUE(isee[2].isNull());
    EXPECT_EQ(probe.column(QStringLiteral("Anagrafica"), QStringLiteral("G1")),
              (std::vector<V>{V(true), V(false), V(true), V(false)}));
    EXPECT_EQ(probe.column(QStringLiteral("Nucleo"), QStringLiteral("ID_SCHEDA"))[2], V(qint64(2147483647)));
    EXPECT_EQ(probe.column(QStringLiteral("Fascia"), QStringLiteral("Ordine")),
              (std::vector<V>{V(qint64(-32768)), V(qint64(32767)), V(qint64(3))}));
    EXPECT_EQ(probe.column(QStringLiteral("Stampe"), QStringLiteral("ID")), std::vector<V>{V(qint64(3))});
}

TEST_F(ImportCommandTest, EveryKindOfValueComesAcrossExactlyToAFileAndToTheServer)
{
    const QString access = accessFile(sample());
    const QByteArray before = toolstest::fileBytes(access);

    const auto trial = import(access, path(QStringLiteral("prova.mdb")), {QStringLiteral("--prova")});
    ASSERT_EQ(trial.exitCode, 0) << trial.err.toStdString();
    EXPECT_TRUE(trial.out.contains(QStringLiteral("nulla è stato scritto"))) << trial.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("prova.mdb"))));

    const auto done = import(access, path(QStringLiteral("nuovo.mdb")), {}, {}, QStringLiteral("segreto"));
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    // Rows read and written per table; the deleted card is not among them.
    EXPECT_TRUE(done.out.contains(QRegularExpression(QStringLiteral("Anagrafica +4 +4\n")))) << done.out.toStdString();
    EXPECT_TRUE(done.out.contains(QRegularExpression(QStringLiteral("Nucleo +3 +3\n")))) << done.out.toStdString();
    expectSampleArchive(path(QStringLiteral("nuovo.mdb")), QStringLiteral("segreto"));
    EXPECT_EQ(toolstest::fileBytes(access), before);

    // An existing target is never touched.
    const QByteArray made = toolstest::fileBytes(path(QStringLiteral("nuovo.mdb")));
    EXPECT_EQ(import(access, path(QStringLiteral("nuovo.mdb"))).exitCode, int(cli::ExitCode::Refused));
    EXPECT_EQ(toolstest::fileBytes(path(QStringLiteral("nuovo.mdb"))), made);

    if (!testsupport::pgAvailable())
        return;
    const QString server = testsupport::newPgDatabase();
    const auto there = import(access, server, {}, {}, testsupport::pgOfficePassword());
    ASSERT_EQ(there.exitCode, 0) << there.err.toStdString();
    expectSampleArchive(server, testsupport::pgOfficePassword());
}

TEST_F(ImportCommandTest, TheAccessPasswordIsCheckedBeforeReading)
{
    // Texts stored uncompressed this time.
    const QString access = accessFile(sample(QStringLiteral("Chiave€1"), false));
    for (const QString &wrong : {QString(), QStringLiteral("chiave€1"), QStringLiteral("Chiave€")}) {
        const auto refused = import(access, path(QStringLiteral("nuovo.mdb")), {}, wrong);
        EXPECT_EQ(refused.exitCode, int(cli::ExitCode::BadPassword)) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(QStringLiteral("Password del file Access"))) << refused.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("nuovo.mdb"))));
    }
    const auto done = import(access, path(QStringLiteral("nuovo.mdb")), {}, QStringLiteral("Chiave€1"));
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    expectSampleArchive(path(QStringLiteral("nuovo.mdb")), {});
}

TEST_F(ImportCommandTest, ExtraFieldsStopUnlessLeftOutAndAMissingTableIsNamed)
{
    AccessDatabase extra = sample();
    auto *cards = testsupport::findTable(extra, QStringLiteral("Anagrafica"));
    cards->columns.push_back({QStringLiteral("Codice_fiscale"), testsupport::JetType::Text, 16});
    for (auto &row : cards->rows)
        row.values.append(QStringLiteral("RSSMRA80A01H501U"));
    const QString withExtra = accessFile(extra, QStringLiteral("extra.mdb"));
    const auto stopped = import(withExtra, path(QStringLiteral("a.mdb")));
    EXPECT_EQ(stopped.exitCode, int(cli::ExitCode::Refused));
    EXPECT_TRUE(stopped.err.contains(QStringLiteral("Anagrafica.Codice_fiscale"))) << stopped.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.mdb"))));
    const auto left = import(withExtra, path(QStringLiteral("a.mdb")), {QStringLiteral("--ignora-extra")});
    ASSERT_EQ(left.exitCode, 0) << left.err.toStdString();
    EXPECT_TRUE(left.out.contains(QStringLiteral("Lasciati fuori: campo Anagrafica.Codice_fiscale"))) << left.out.toStdString();
    expectSampleArchive(path(QStringLiteral("a.mdb")), {});

    // A text field wider in the file than in the archive: its values must fit the archive's.
    AccessDatabase wide = sample();
    auto *protocol = testsupport::findTable(wide, QStringLiteral("Anagrafica"));
    protocol->columns[1].size = 50;
    protocol->rows[2].values[1] = QStringLiteral("2024/000123-B");
    const QString wideFile = path(QStringLiteral("largo.mdb"));
    ASSERT_TRUE(testsupport::writeAccessFile(wideFile, wide));
    const auto tooLong = import(wideFile, path(QStringLiteral("c.mdb")));
    EXPECT_EQ(tooLong.exitCode, int(cli::ExitCode::NotAnArchive));
    EXPECT_TRUE(tooLong.err.contains(QStringLiteral("il campo Anagrafica.Protocollo della riga 2 ha 13 caratteri")))
        << tooLong.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("c.mdb"))));

    AccessDatabase missing = sample();
    missing.tables.erase(missing.tables.begin() + 5);   // Gruppi
    const QString without = path(QStringLiteral("senza.mdb"));
    ASSERT_TRUE(testsupport::writeAccessFile(without, missing));
    const auto named = import(without, path(QStringLiteral("b.mdb")), {QStringLiteral("--ignora-extra")});
    EXPECT_EQ(named.exitCode, int(cli::ExitCode::NotAnArchive));
    EXPECT_TRUE(named.err.contains(QStringLiteral("manca la tabella Gruppi"))) << named.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("b.mdb"))));
}

TEST_F(ImportCommandTest, DamagedAndForeignInputsAreRefusedWithNothingCreated)
{
    const QByteArray whole = testsupport::accessFileBytes(sample());
    const struct {
        QString name;
        QByteArray bytes;
        QString says;
    } inputs[] = {
        {QStringLiteral("vuoto.mdb"), QByteArray(), QStringLiteral("il file è vuoto")},
        {QStringLiteral("casuale.mdb"), testsupport::randomBytes(40000, 7), QStringLiteral("Standard Jet DB")},
        {QStringLiteral("troncato.mdb"), testsupport::truncatedAccessFile(whole), QStringLiteral("Access")},
        {QStringLiteral("altro.mdb"), testsupport::foreignAccessFile(), QStringLiteral("manca la tabella Anagrafica")},
    };
    for (const auto &input : inputs) {
        toolstest::writeFile(path(input.name), input.bytes);
        const auto refused = import(path(input.name), path(QStringLiteral("nuovo.mdb")), {QStringLiteral("--ignora-extra")});
        EXPECT_EQ(refused.exitCode, int(cli::ExitCode::NotAnArchive)) << input.name.toStdString();
        EXPECT_TRUE(refused.err.contains(input.says)) << input.name.toStdString() << ": " << refused.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("nuovo.mdb")))) << input.name.toStdString();
        EXPECT_EQ(toolstest::fileBytes(path(input.name)), input.bytes) << input.name.toStdString();
    }
}

TEST_F(ImportCommandTest, ACancelledImportLeavesNoArchive)
{
    const QString access = path(QStringLiteral("grande.mdb"));
    ASSERT_TRUE(testsupport::writeAccessFile(access, testsupport::largeArchive(400)));
    cli::AccessImport import(access, {}, {path(QStringLiteral("nuovo.mdb")), {}}, {});
    QStringList seen;
    import.setProgress([&](const QString &table, qint64 rows) {
        seen << QStringLiteral("%1 %2").arg(table).arg(rows);
        return table != QLatin1String("Nucleo");   // cancelled among the members
    });
    EXPECT_THROW(import.run(), cli::CliError);
    EXPECT_TRUE(seen.contains(QStringLiteral("Anagrafica 250"))) << seen.join(", ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("nuovo.mdb"))));
}

} // namespace
