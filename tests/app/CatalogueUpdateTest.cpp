// An archive made before a list was supplied gets its catalogue row at start-up; rows the
// office renamed or kept are not doubled, and a second start adds nothing.

#include "app/CatalogueUpdate.h"
#include "archive/StandardRows.h"
#include "db/TField.h"
#include "store/TArcDatabase.h"
#include "store/TArcTable.h"
#include "tests/support/TestArchive.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList names(TArcTable &stampe)
{
    QStringList shown;
    for (stampe.first(); !stampe.eof(); stampe.next())
        shown << stampe.fieldByName(QStringLiteral("Nome"))->asString();
    return shown;
}

bool moveTo(TArcTable &stampe, const QString &name)
{
    for (stampe.first(); !stampe.eof(); stampe.next())
        if (stampe.fieldByName(QStringLiteral("Nome"))->asString() == name)
            return true;
    return false;
}

TEST(CatalogueUpdate, ListsSuppliedSinceTheArchiveWasMadeAreAddedOnce)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tavorio.mdb"));
    testsupport::createArchive(path, {}, 0);
    TArcDatabase database;
    database.setDatabase(path);
    database.setConnected(true);
    TArcTable stampe;
    stampe.setDatabase(&database);
    stampe.setTableName(QStringLiteral("Stampe"));
    stampe.open();

    // As an archive of an older program: no statistics, and a list the office renamed.
    ASSERT_TRUE(moveTo(stampe, QStringLiteral("Statistiche")));
    stampe.deleteRecord();
    ASSERT_TRUE(moveTo(stampe, QStringLiteral("Elenco telefonico")));
    stampe.edit();
    stampe.fieldByName(QStringLiteral("Nome"))->setAsString(QStringLiteral("Telefoni delle famiglie"));
    stampe.post();
    const qsizetype before = names(stampe).size();

    EXPECT_EQ(app::addMissingLists(stampe), QStringList{QStringLiteral("Statistiche")});
    const QStringList after = names(stampe);
    EXPECT_EQ(after.size(), before + 1);
    EXPECT_TRUE(after.contains(QStringLiteral("Telefoni delle famiglie")));
    EXPECT_FALSE(after.contains(QStringLiteral("Elenco telefonico")));
    ASSERT_TRUE(moveTo(stampe, QStringLiteral("Statistiche")));
    EXPECT_EQ(stampe.fieldByName(QStringLiteral("Tracciato"))->asString(),
              cli::standard::printedLists().back().tracciato);

    EXPECT_TRUE(app::addMissingLists(stampe).isEmpty());
    EXPECT_EQ(names(stampe).size(), before + 1);
    stampe.close();
    database.setConnected(false);
}

} // namespace
