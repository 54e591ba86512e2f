// Card data never reaches a temporary file: a sort far larger than the library's page cache
// stays in memory, so nothing of an encrypted archive is written to disk in clear.

#include "EngineFixture.h"

#include "engine/ArchiveFormat.h"

#include <sqlite3.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

constexpr int Cards = 20000;

// Watches a folder for files being made or written.
class FolderWatch {
public:
    explicit FolderWatch(const QString &folder) : m_fd(inotify_init1(IN_NONBLOCK))
    {
        inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MODIFY);
    }
    ~FolderWatch() { ::close(m_fd); }
    bool sawWrites() const
    {
        char events[4096];
        return ::read(m_fd, events, sizeof events) > 0;
    }

private:
    int m_fd;
};

// The same sort on a connection of the library left to spill to files, to show the watch
// would see it.
bool plainLibrarySortSpills(const QString &path, const QString &folder)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    const QByteArray setup = QStringLiteral("PRAGMA key = 'chiave'; PRAGMA kdf_iter = %1; PRAGMA cipher_page_size = %2;"
                                            "PRAGMA temp_store = FILE;")
                                 .arg(dao::format::kKdfIterations)
                                 .arg(dao::format::kCipherPageSize)
                                 .toUtf8();
    sqlite3_exec(db, setup.constData(), nullptr, nullptr, nullptr);
    const FolderWatch watch(folder);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid FROM Persone ORDER BY Note DESC", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return watch.sawWrites();
}

TEST_F(EngineFixture, SortingCardsByAMemoCreatesNoTemporaryFile)
{
    makeArchive({}, QStringLiteral("chiave"));
    QTemporaryDir spill;
    // The library's own setting, looked at whenever it needs a temporary file.
    sqlite3_temp_directory = sqlite3_mprintf("%s", QFile::encodeName(spill.path()).constData());
    {
        auto db = open(QStringLiteral("chiave"));
        ws->BeginTrans();
        auto rs = db->OpenRecordset("Persone");
        const QString padding(400, QLatin1Char('x'));
        for (int i = 0; i < Cards; ++i) {
            rs->AddNew();
            rs->field("Note").setValue(QStringLiteral("Situazione riservata %1 %2").arg((i * 7919) % Cards).arg(padding));
            rs->Update();
        }
        ws->CommitTrans();

        const FolderWatch watch(spill.path());
        rs->setSort(QStringLiteral("[Note] DESC"));
        auto sorted = rs->OpenRecordset();
        EXPECT_EQ(sorted->RecordCount(), Cards);
        EXPECT_TRUE(sorted->field("Note").value().asText().startsWith(QStringLiteral("Situazione riservata 9999")));
        EXPECT_FALSE(watch.sawWrites()) << "a temporary file was written during the sort";
        db->Close();
    }
    EXPECT_TRUE(plainLibrarySortSpills(path(), spill.path())) << "the watch cannot see a spilled sort";
    sqlite3_free(sqlite3_temp_directory);
    sqlite3_temp_directory = nullptr;
}

} // namespace
