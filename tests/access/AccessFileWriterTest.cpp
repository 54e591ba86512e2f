// Access files written by the test support, checked by an independent reader: mdbtools' own
// tools and library must find every table, column and value that was written.

#include "MdbToolsReading.h"
#include "tests/support/AccessTestFiles.h"
#include "tests/support/Processes.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

using namespace testsupport;
using namespace accesstest;

namespace {

class AccessFiles : public ::testing::Test {
protected:
    QString write(const AccessDatabase &db, const QString &name = "archivio.mdb")
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeAccessFile(path, db));
        return path;
    }
    QString writeBytes(const QByteArray &bytes, const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

QStringList tableNames(const AccessDatabase &db)
{
    QStringList names;
    for (const AccessTable &table : db.tables)
        names << table.name;
    return names;
}

// Every table as mdbtools reads it equals its description: names, columns, every live row's
// text in order, and nulls apart from empty texts.
void expectReadsBack(const QString &path, const AccessDatabase &db)
{
    EXPECT_EQ(mdbTables(path), tableNames(db));
    const QString schema = mdbSchema(path);
    for (const AccessTable &table : db.tables) {
        SCOPED_TRACE(table.name.toStdString());
        for (const AccessColumn &column : table.columns)
            EXPECT_TRUE(schema.contains("[" + column.name + "]")) << column.name.toStdString();
        const Cells actual = mdbExport(path, table.name);
        const Cells expected = expectedCells(table);
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t r = 0; r < expected.size(); ++r)
            EXPECT_EQ(actual[r].join(" | ").toStdString(), expected[r].join(" | ").toStdString()) << "row " << r;
        EXPECT_EQ(mdbNulls(path, table.name), expectedNulls(table));
    }
}

QByteArray rc4(QByteArray bytes, const QByteArray &key)
{
    quint8 s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = quint8(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + quint8(key[i % key.size()])) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < bytes.size(); ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        bytes[n] = char(quint8(bytes[n]) ^ s[(s[i] + s[j]) & 0xff]);
    }
    return bytes;
}

quint32 le32(const QByteArray &bytes, int at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

// The password as the header's comment describes it: decrypt the 128 bytes from 0x18, then
// undo the mask made of the creation date.
QString headerPassword(const QByteArray &file, quint32 *databaseKey)
{
    QByteArray header = file.left(0x18) + rc4(file.mid(0x18, 128), QByteArray("\xc7\xda\x39\x6b", 4));
    *databaseKey = le32(header, 0x3e);
    double created;
    std::memcpy(&created, header.constData() + 0x72, sizeof created);
    const quint32 mask = quint32(qint32(created));
    QString password;
    for (int i = 0; i < 40; i += 2) {
        const quint16 unit = quint16((quint8(header[0x42 + i]) ^ quint8(mask >> (8 * (i % 4))))
                                     | (quint8(header[0x43 + i]) ^ quint8(mask >> (8 * (i % 4 + 1)))) << 8);
        if (unit == 0)
            break;
        password += QChar(unit);
    }
    return password;
}

} // namespace

TEST_F(AccessFiles, TheSampleArchiveReadsBackExactlyCompressedOrNot)
{
    AccessDatabase db = sampleArchive();
    for (bool compressed : {false, true}) {
        SCOPED_TRACE(compressed ? "compressed" : "uncompressed");
        db.options.compressText = compressed;
        const QString path = write(db, compressed ? "compresso.mdb" : "semplice.mdb");
        expectReadsBack(path, db);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // The Latin text really went through the compressed form, the Greek one (no shorter
        // compressed) stays two bytes a character either way.
        EXPECT_EQ(bytes.contains(QByteArray("\xff\xfe" "Forl\xec", 7)), compressed);
        EXPECT_TRUE(bytes.contains(QByteArray(reinterpret_cast<const char *>(u"Αθήνα"), 10)));
    }
}

TEST_F(AccessFiles, TheEmptyArchiveHasEveryColumnWithItsAccessType)
{
    const QString path = write(archiveTables());
    expectReadsBack(path, archiveTables());
    const QString schema = mdbSchema(path);
    for (const char *declaration : {"[ID_SCHEDA]\t\t\tLong Integer", "[Protocollo]\t\t\tText (10)",
                                    "[Nucleo]\t\t\tMemo/Hyperlink", "[G1]\t\t\tBoolean NOT NULL",
                                    "[Scad_ISEE]\t\t\tDateTime", "[ID_SCHEDA]\t\t\tLong Integer",
                                    "[Ordine]\t\t\tInteger", "[Gruppo]\t\t\tText (20)"})
        EXPECT_TRUE(schema.contains(QLatin1String(declaration))) << declaration << "\n" << schema.toStdString();
}

TEST_F(AccessFiles, CountersKeepTheirNextValueInTheTableDefinition)
{
    AccessDatabase db = sampleArchive();
    findTable(db, "Stampe")->nextCounter = 500;
    const QString path = write(db);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // The catalogue names each table's definition page.
    std::map<QString, int> pages;
    for (const QStringList &row : mdbExport(path, "MSysObjects"))
        pages[row[2]] = row[0].toInt();
    auto seed = [&](const char *table) { return le32(bytes, pages.at(table) * 4096 + kAccessCounterSeedOffset); };
    EXPECT_EQ(seed("Anagrafica"), 15u); // past the deleted 14, not only the live 12
    EXPECT_EQ(seed("Nucleo"), 100003u);
    EXPECT_EQ(seed("Gruppi"), 7u);
    EXPECT_EQ(seed("Stampe"), 500u);
    EXPECT_EQ(seed("Fascia"), 0u);
}

TEST_F(AccessFiles, ThePasswordIsInTheHeaderAsDescribed)
{
    AccessDatabase db = sampleArchive();
    db.options.password = "Segreto€ 20 caratter";
    const QString path = write(db);
    expectReadsBack(path, db);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    quint32 key = 1;
    EXPECT_EQ(headerPassword(file.readAll(), &key), db.options.password);
    EXPECT_EQ(key, 0u);
    db.options.password.clear();
    EXPECT_EQ(headerPassword(accessFileBytes(db), &key), QString());
    db.options.password = QString(21, 'x');
    EXPECT_THROW(accessFileBytes(db), std::invalid_argument);
}

TEST_F(AccessFiles, AnExtraFieldOrAMissingTableIsWhatTheReaderSees)
{
    const AccessDatabase extra = archiveWithExtraField();
    expectReadsBack(write(extra, "extra.mdb"), extra);
    const AccessDatabase missing = archiveWithoutTable("Gruppi");
    const QString path = write(missing, "manca.mdb");
    EXPECT_EQ(mdbTables(path), QStringList({"Anagrafica", "Nucleo", "Fascia", "Ruolo", "Occupazione", "Stampe"}));
    expectReadsBack(path, missing);
}

TEST_F(AccessFiles, FiveThousandCardsReadBackOverManyPages)
{
    const AccessDatabase db = largeArchive(5000);
    const QString path = write(db);
    for (const char *name : {"Anagrafica", "Nucleo"}) {
        const AccessDatabase &all = db;
        const AccessTable &table = *std::find_if(all.tables.begin(), all.tables.end(),
                                                 [&](const AccessTable &t) { return t.name == name; });
        EXPECT_TRUE(mdbExport(path, name) == expectedCells(table)) << name;
    }
}

TEST_F(AccessFiles, DamagedAndForeignInputsAreNotTheArchive)
{
    expectReadsBack(writeBytes(foreignAccessFile(), "altro.mdb"), foreignDatabase());
    const QByteArray whole = accessFileBytes(sampleArchive());
    const QByteArray truncated = truncatedAccessFile(whole);
    EXPECT_LT(truncated.size(), whole.size());
    EXPECT_NE(truncated.size() % 4096, 0);
    const QByteArray random = randomBytes(20000, 7);
    EXPECT_EQ(random, randomBytes(20000, 7));
    for (const auto &[name, bytes] : {std::pair{"tronco.mdb", truncated}, {"caso.mdb", random}, {"vuoto.mdb", QByteArray()}}) {
        const ProcessResult result = runProcess("mdb-tables", {writeBytes(bytes, name)});
        EXPECT_NE(result.exitCode, 0) << name;
    }
}

TEST(AccessValues, RefusesWhatTheFormatCannotHold)
{
    AccessDatabase db = archiveTables();
    AccessTable &bands = *findTable(db, "Fascia");
    bands.rows = {{{"12345678901", 1}}}; // Text(10)
    EXPECT_THROW(accessFileBytes(db), std::invalid_argument);
    bands.rows = {{{"A", 40000}}}; // 16-bit
    EXPECT_THROW(accessFileBytes(db), std::invalid_argument);
    bands.rows = {{{"A", "1"}}}; // a text for a number
    EXPECT_THROW(accessFileBytes(db), std::invalid_argument);
    bands.rows = {{{"A", 1, 2}}}; // more values than columns
    EXPECT_THROW(accessFileBytes(db), std::invalid_argument);
}

TEST(AccessValues, DaysBeforeTheEpochCountBackwardsWithThePositiveTimeOfDay)
{
    // mdbtools prints no date before 1899-12-30, so these are checked on the numbers alone.
    const QDateTime before(QDate(1850, 3, 1), QTime(6, 0), Qt::UTC);
    EXPECT_EQ(accessDays(before), -18201.25);
    EXPECT_EQ(dateTimeOfAccessDays(-18201.25), before);
    EXPECT_EQ(accessDays(QDateTime(QDate(1899, 12, 29), QTime(18, 0), Qt::UTC)), -1.75);
    const QDateTime after(QDate(2045, 12, 31), QTime(23, 59, 59), Qt::UTC);
    EXPECT_EQ(dateTimeOfAccessDays(accessDays(after)), after);
}
