// Passwords holding the connect text's own marks (";", "=", even "PWD=") work through every
// operation of the connection, not only through the text's reader.

#include "StoreTestSupport.h"

#include "engine/EngineError.h"
#include "store/ArchiveBackup.h"
#include "store/TArcDatabase.h"

namespace {

using store_test::StoreTest;

constexpr int TextRows = 9;

class PasswordText : public StoreTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(PasswordText, CreateOpenCompactChangeAndBackUp)
{
    const QString path = pathOf(QStringLiteral("tavorio.mdb"));
    const QString password = QString::fromUtf8(GetParam());
    const QString changed = password + QStringLiteral(";PWD=;x=y;");
    store_test::makeArchive(path, password, TextRows);

    TArcDatabase db;
    db.setDatabase(path);
    db.setDatabasePassword(password.left(password.size() - 1));
    EXPECT_THROW(db.Open(), dao::EngineError);
    db.setDatabasePassword(password);
    db.Open();
    EXPECT_TRUE(db.Connected());
    db.Close();

    db.CompactDatabaseFile(path, password);
    EXPECT_EQ(store_test::rowCount(path, password), TextRows);

    db.setExclusive(true);
    db.Open();
    EXPECT_TRUE(db.ChangeDatabasePassword(password, changed));
    db.Close();
    db.setExclusive(false);
    db.setDatabasePassword(changed);
    db.Open();
    db.Close();
    EXPECT_THROW(store_test::rowCount(path, password), dao::EngineError);

    const store::ArchiveBackup backup(path, QDate(2026, 12, 9));
    backup.refresh(changed);
    EXPECT_EQ(store_test::rowCount(backup.backupPath(), changed), TextRows);
    store::changeBackupPasswords(folder(), changed, password);
    EXPECT_EQ(store_test::rowCount(backup.backupPath(), password), TextRows);
    EXPECT_EQ(store_test::rowCount(backup.dailyPath(QDate(2026, 12, 9)), password), TextRows);
}

INSTANTIATE_TEST_SUITE_P(Marks, PasswordText,
                         ::testing::Values("a;b", "chiave=valore", "x;PWD=y", "PWD=inizio", "finisce;", "; = PWD= ;"),
                         [](const auto &info) { return "Case" + std::to_string(info.index); });

} // namespace
