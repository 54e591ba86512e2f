// The outcome of a password change is what the archive file says: a failure after the new
// copy took the archive's name must not be reported as a change that did not happen.

#include "StoreTestSupport.h"

#include "engine/EngineError.h"
#include "engine/StorageFaults.h"
#include "store/TArcDatabase.h"

namespace {

using store_test::StoreTest;

constexpr int OutcomeRows = 7;

class PasswordChangeOutcome : public StoreTest {
protected:
    void SetUp() override
    {
        m_path = pathOf(QStringLiteral("tavorio.mdb"));
        store_test::makeArchive(m_path, QStringLiteral("vecchia"), OutcomeRows);
        m_db.setDatabase(m_path);
        m_db.setDatabasePassword(QStringLiteral("vecchia"));
        m_db.setExclusive(true);
        m_db.Open();
    }

    // The check that every open makes fails `times` times from now on.
    static void breakReopen(int times) { dao::faults::failStatements(QStringLiteral("FROM sqlite_master"), dao::faults::Fault::Io, 0, times); }

    bool opensWith(const QString &password) const
    {
        try {
            return store_test::rowCount(m_path, password) == OutcomeRows;
        } catch (const dao::EngineError &) {
            return false;
        }
    }

    QString m_path;
    TArcDatabase m_db;
    dao::faults::Scope m_faults;
};

TEST_F(PasswordChangeOutcome, AFailedReopenAfterTheRenameStillReportsTheChange)
{
    breakReopen(1);
    EXPECT_TRUE(m_db.ChangeDatabasePassword(QStringLiteral("vecchia"), QStringLiteral("nuova;PWD=x")));
    dao::faults::clear();
    m_db.Close();
    EXPECT_TRUE(opensWith(QStringLiteral("nuova;PWD=x")));
    EXPECT_FALSE(opensWith(QStringLiteral("vecchia")));
}

TEST_F(PasswordChangeOutcome, AnArchiveThatOpensWithNothingHasTheNewPassword)
{
    // The file under the archive's name was written under the new password: the old one
    // can only be wrong, whatever keeps the file from opening now.
    breakReopen(-1);
    EXPECT_TRUE(m_db.ChangeDatabasePassword(QStringLiteral("vecchia"), QStringLiteral("nuova")));
    dao::faults::clear();
    m_db.Close();
    EXPECT_TRUE(opensWith(QStringLiteral("nuova")));
}

TEST_F(PasswordChangeOutcome, AFailureBeforeTheRenameKeepsTheOldPassword)
{
    dao::faults::failStatements(QStringLiteral("sqlcipher_export"), dao::faults::Fault::Full);
    EXPECT_FALSE(m_db.ChangeDatabasePassword(QStringLiteral("vecchia"), QStringLiteral("nuova")));
    dao::faults::clear();
    // Still open under the old password, and the file says so.
    EXPECT_TRUE(m_db.Connected());
    m_db.Close();
    EXPECT_TRUE(opensWith(QStringLiteral("vecchia")));
    EXPECT_EQ(store_test::folderEntries(folder()), (QStringList{QStringLiteral("tavorio.mdb")}));
}

} // namespace
