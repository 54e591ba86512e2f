// The process killed at every write step of setting, removing and changing the archive's
// password, as the program does it: the archive opened alone, given the new password, then
// the backup copies. Afterwards exactly one of the two passwords opens the archive, the old
// one until the new copy has taken the archive's name and the new one from then on, and
// every card and member is there; the next change goes through over what the dead process
// left behind.

#include "StoreTestSupport.h"

#include "engine/ArchiveFormat.h"
#include "engine/EngineError.h"
#include "platform/CrashPoints.h"
#include "store/ArchiveBackup.h"
#include "store/TArcDatabase.h"
#include "tests/support/TestArchive.h"
#include "tools/cli/ArchiveCheck.h"

#include <optional>

namespace {

using store_test::CrashStatus;
using store_test::StoreTest;

struct Step {
    const char *crashPoint;
    bool newPasswordInForce;   // the new copy already holds the archive's name
};

constexpr Step kSteps[] = {
    {"export.file_created", false}, {"export.half_written", false}, {"export.written", false},
    {"rekey.after_export", false},  {"rekey.after_close", false},   {"rekey.after_rename", true},
    {"rekey.after_reopen", true},
};

struct Operation {
    const char *name;
    const char *oldPassword;
    const char *newPassword;
};

constexpr Operation kOperations[] = {
    {"set", "", "Nuova;PWD=1"},
    {"remove", "Vecchia", ""},
    {"change", "Vecchia", "Nuova;PWD=1"},
};

class PasswordKill : public StoreTest,
                     public ::testing::WithParamInterface<std::tuple<Operation, Step>> {
protected:
    // The table counts when the archive is under exactly this password: a plain file opens
    // with any password, so it is under the empty one only.
    std::optional<QStringList> countsUnder(const QString &password) const
    {
        const bool plain = store_test::fileBytes(m_path).startsWith(QByteArray(dao::format::kPlainHeader, 16));
        if (plain != password.isEmpty())
            return std::nullopt;
        try {
            QStringList counts;
            for (const cli::TableCount &count : cli::ArchiveCheck(m_path, password).run().counts)
                counts << QStringLiteral("%1 %2").arg(count.table).arg(count.rows);
            return counts;
        } catch (const std::exception &) {
            return std::nullopt;
        }
    }

    // What PasswordChange does once the user's entries are accepted.
    int changeInChild(const QString &oldPassword, const QString &newPassword, const char *crashPoint) const
    {
        return store_test::runInChild([&] {
            TArcDatabase database;
            database.setDatabase(m_path);
            database.setDatabasePassword(oldPassword);
            database.setExclusive(true);
            database.Open();
            if (crashPoint)
                platform::armCrashPoint(crashPoint);
            if (!database.ChangeDatabasePassword(oldPassword, newPassword))
                return 3;
            store::changeBackupPasswords(folder(), oldPassword, newPassword);
            database.Close();
            return 0;
        });
    }

    QString m_path = pathOf(QStringLiteral("tavorio.mdb"));
};

TEST_P(PasswordKill, ExactlyOnePasswordOpensTheArchiveWithEveryCard)
{
    const auto &[operation, step] = GetParam();
    const QString oldPassword = QString::fromUtf8(operation.oldPassword);
    const QString newPassword = QString::fromUtf8(operation.newPassword);
    testsupport::createArchive(m_path, oldPassword, 40);
    const auto before = countsUnder(oldPassword);
    ASSERT_TRUE(before);

    ASSERT_EQ(changeInChild(oldPassword, newPassword, step.crashPoint), CrashStatus);

    const auto underOld = countsUnder(oldPassword);
    const auto underNew = countsUnder(newPassword);
    EXPECT_EQ(underNew.has_value(), step.newPasswordInForce);
    EXPECT_NE(underOld.has_value(), underNew.has_value());
    EXPECT_EQ(underOld.value_or(underNew.value_or(QStringList())), *before);

    const QString inForce = underNew ? newPassword : oldPassword;
    ASSERT_EQ(changeInChild(inForce, QStringLiteral("Dopo"), nullptr), 0);
    EXPECT_EQ(countsUnder(QStringLiteral("Dopo")), before);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, PasswordKill, ::testing::Combine(::testing::ValuesIn(kOperations),
                                                                     ::testing::ValuesIn(kSteps)),
                         [](const auto &info) {
                             QString name = QStringLiteral("%1_%2").arg(QLatin1String(std::get<0>(info.param).name),
                                                                        QLatin1String(std::get<1>(info.param).crashPoint));
                             return name.replace(u'.', u'_').toStdString();
                         });

} // namespace
