// The connection over an archive on the tests' server: its table list names the archive's
// own tables and nothing of the file storage, and the file maintenance (repair, compaction)
// is refused in Italian before any file is made.

#include "archive/ArchiveCreator.h"
#include "engine/EngineError.h"
#include "store/Schema.h"
#include "store/TArcDatabase.h"
#include "tests/support/PgTestServer.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(TArcDatabaseServer, ListsOnlyTheArchivesTablesAndRefusesFileMaintenance)
{
    TAVORIO_REQUIRE_PG();
    const QString address = testsupport::newPgDatabase();
    const QString password = testsupport::pgOfficePassword();
    cli::ArchiveCreator(address, password).create(cli::ArchiveContents::generated(1));

    TArcDatabase db;
    db.setDatabase(address);
    db.setDatabasePassword(password);
    db.setShowSystemObjects(true);
    db.Open();
    QStringList archiveTables;
    for (const dao::TableSpec &table : schema::archiveTables())
        archiveTables << table.name;
    const QStringList listed = db.TableNameList();
    for (const QString &table : archiveTables)
        EXPECT_TRUE(listed.contains(table)) << table.toStdString();
    // The stored queries' table, the change history and its registry are the engine's own,
    // on the server as in the file.
    const QStringList engineTables{QStringLiteral("MSysQueries"), QStringLiteral("Storia"), QStringLiteral("MSysHistory")};
    for (const QString &name : listed)
        EXPECT_TRUE(archiveTables.contains(name) || engineTables.contains(name)) << name.toStdString();
    db.Close();

    // No temporary copy may appear anywhere, the current folder included.
    QTemporaryDir folder;
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const std::pair<const char *, std::function<void()>> operations[] = {
        {"compattazione", [&] { db.CompactDatabaseFile(address, password); }},
        {"riparazione", [&] { db.RepairDatabaseFile(address, password); }}};
    for (const auto &[what, run] : operations) {
        SCOPED_TRACE(what);
        try {
            run();
            ADD_FAILURE() << "no refusal";
        } catch (const dao::EngineError &error) {
            EXPECT_EQ(error.number(), 3251);
            EXPECT_EQ(error.description(), QStringLiteral("Un archivio sul server non si compatta né si ripara dal "
                                                          "programma: se ne occupa il server."));
        }
    }
    QDir::setCurrent(before);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

} // namespace
