// Single flipped bits in a copy of the demo archive, read whole and checked as the start-up
// backup checks it. Encrypted, a flip ends in an engine error, or in the check's report of
// damage (which the start-up turns into engine error 3049), never in other data read as if
// sound; only a flip in the random fill that closes each cipher page goes unnoticed, since
// the library neither reads nor authenticates those bytes, and the data is then the same.
// Plain, a flip may go unseen, but it never crashes, the check notices some, and one in the
// header's format name always ends in an engine error.

#include "StoreTestSupport.h"
#include "tests/support/RunLength.h"

#include "archive/ArchiveCreator.h"
#include "engine/ArchiveFormat.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "store/Schema.h"
#include "tests/support/RunLength.h"
#include "tests/support/TestArchive.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The full run flips this many random bits of each archive; the default run flips a sample
// of two bits in every page, so that each kind of page (header, tables, indexes, the cipher
// pages' reserved tail) is still hit on every run.
// Under the sanitizers, where every open costs several times more, the long run flips 300.
constexpr int kLongFlips = 1000;
constexpr int kSanitizedFlips = 300;
constexpr int kFlipsPerPage = 2;

using testsupport::longRun;

// The bits to flip in a file of the given size and page size, from a fixed seed.
QList<qsizetype> bitsToFlip(qsizetype fileSize, int pageSize, quint32 seed)
{
    QRandomGenerator random(seed);
    QList<qsizetype> bits;
    if (longRun()) {
        const int flips = testsupport::sanitizedBuild() ? kSanitizedFlips : kLongFlips;
        for (int flip = 0; flip < flips; ++flip)
            bits << qsizetype(random.bounded(quint32(fileSize * 8)));
        return bits;
    }
    for (qsizetype page = 0; page * pageSize < fileSize; ++page) {
        const qsizetype pageBits = std::min<qsizetype>(pageSize, fileSize - page * pageSize) * 8;
        for (int flip = 0; flip < kFlipsPerPage; ++flip)
            bits << page * pageSize * 8 + qsizetype(random.bounded(quint32(pageBits)));
    }
    return bits;
}
// Each cipher page ends in 48 reserved bytes: a 16-byte IV, a 20-byte code over the page and
// the IV, and 12 bytes of random fill.
constexpr int kCipherPageFill = 12;
// A plain archive keeps the storage library's default page size.
constexpr int kPlainPageSize = 4096;

bool inCipherPageFill(qsizetype bit)
{
    return (bit / 8) % dao::format::kCipherPageSize >= dao::format::kCipherPageSize - kCipherPageFill;
}

// Every value of every table of the program, in key order, then the check the start-up
// backup runs. Throws the engine's error.
struct Reading {
    QStringList rows;
    QStringList problems;
};

Reading readEverything(const QString &path, const QString &password)
{
    dao::DBEngine engine;
    auto workspace = engine.CreateWorkspace(QStringLiteral("letto"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto database = workspace->OpenDatabase(path, false, true, QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
    Reading reading;
    for (const dao::TableSpec &table : schema::archiveTables()) {
        auto rows = database->OpenRecordset(table.name, dao::dbOpenDynaset);
        for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
            QStringList values{table.name};
            for (const dao::FieldSpec &field : table.fields)
                values << rows->field(field.name).value().asText();
            reading.rows << values.join(QLatin1Char('|'));
        }
        rows->Close();
    }
    reading.problems = database->integrityProblems();
    database->Close();
    return reading;
}

struct Tally {
    int tried = 0;
    int errors = 0;       // an engine error while opening, reading or checking
    int caught = 0;       // read, but the check found the damage
    int unchanged = 0;    // read and passed the check with the same data
    int silent = 0;       // read and passed the check with other data
    QList<qsizetype> unchangedBits;
};

// The bits to flip, chosen from the archive's size.
using BitChoice = std::function<QList<qsizetype>(qsizetype fileSize)>;

BitChoice sampledBits(int pageSize, quint32 seed)
{
    return [=](qsizetype fileSize) { return bitsToFlip(fileSize, pageSize, seed); };
}

Tally flipBits(const QString &password, const BitChoice &choose)
{
    QTemporaryDir folder;
    const QString original = folder.filePath(QStringLiteral("demo.mdb"));
    cli::ArchiveCreator(original, password).create(cli::ArchiveContents::demo());
    const Reading sound = readEverything(original, password);
    EXPECT_TRUE(sound.problems.isEmpty());
    const QByteArray bytes = store_test::fileBytes(original);

    const QList<qsizetype> bits = choose(bytes.size());
    const QString copy = folder.filePath(QStringLiteral("tavorio.mdb"));
    Tally tally;
    tally.tried = int(bits.size());
    for (const qsizetype bit : bits) {
        QByteArray flipped = bytes;
        flipped[bit / 8] = char(flipped[bit / 8] ^ (1 << (bit % 8)));
        {
            QFile file(copy);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(flipped);
        }
        try {
            const Reading reading = readEverything(copy, password);
            if (!reading.problems.isEmpty())
                ++tally.caught;
            else if (reading.rows == sound.rows) {
                ++tally.unchanged;
                tally.unchangedBits << bit;
            } else
                ++tally.silent;
        } catch (const dao::EngineError &) {
            ++tally.errors;
        }
    }
    std::printf("bit_flips %s: %d tried, %d engine errors, %d caught by the check, %d unchanged, %d silent changes\n",
                password.isEmpty() ? "plain" : "encrypted", tally.tried, tally.errors, tally.caught, tally.unchanged,
                tally.silent);
    return tally;
}

} // namespace

TEST(BitFlip, EveryFlipInAnEncryptedArchiveIsAnEngineErrorOrHarmless)
{
    const Tally tally = flipBits(QStringLiteral("Segreta!2026"), sampledBits(dao::format::kCipherPageSize, 20261209));
    EXPECT_EQ(tally.silent, 0);
    EXPECT_EQ(tally.errors + tally.caught + tally.unchanged, tally.tried);
    for (const qsizetype bit : tally.unchangedBits)
        EXPECT_TRUE(inCipherPageFill(bit)) << "bit " << bit << " flipped unnoticed outside the cipher pages' fill";
}

TEST(BitFlip, FlipsInAPlainArchiveNeverCrash)
{
    const Tally tally = flipBits(QString(), sampledBits(kPlainPageSize, 20261210));
    EXPECT_EQ(tally.errors + tally.caught + tally.unchanged + tally.silent, tally.tried);
    EXPECT_GT(tally.errors + tally.caught, 0) << "no damage noticed in a plain archive";

    // The file starts with the storage library's format name: any flip there is a file the
    // engine refuses, never one it reads.
    const Tally header = flipBits(QString(), [](qsizetype) {
        QList<qsizetype> bits;
        for (qsizetype byte = 0; byte < 16; ++byte)
            bits << byte * 8 + byte % 8;
        return bits;
    });
    EXPECT_EQ(header.errors, header.tried);
}
