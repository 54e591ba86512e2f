#pragma once
// The PostgreSQL server the test command starts for the tests (scripts/pg-test-server, the
// ctest fixture pg_server): where it listens, and new empty databases on it, one per test.

#include <QString>

namespace testsupport {

// Whether the fixture's server is running for this run (TAVORIO_TEST_PG_DIR names its state).
bool pgAvailable();
// Skips the calling test with a message when no server is running: under ctest the fixture
// guarantees one, so this only happens when a test program is run by hand.
#define TAVORIO_REQUIRE_PG()                                                                          \
    do {                                                                                              \
        if (!testsupport::pgAvailable())                                                              \
            GTEST_SKIP() << "no test server: run through ctest, or start one with "                     \
                            "scripts/pg-test-server start DIR and set TAVORIO_TEST_PG_DIR=DIR";         \
    } while (0)

// The superuser over the server's socket, no password needed (for the tests' own set-up).
QString pgAdminAddress();
// A new empty database owned by the office role; its address (role, loopback host, port,
// database), which carries no password.
QString newPgDatabase();
// The address of a database of the test server for the office role, over loopback TCP.
QString pgOfficeAddress(const QString &database);
// The same for another role: over loopback TCP as a desk reaches the server (certificate
// checked, login bound to the channel), or over the socket, where the server trusts its
// computer's users without a password.
QString pgRoleAddress(const QString &role, const QString &database);
QString pgSocketAddress(const QString &role, const QString &database);
QString pgOfficeRole();
QString pgOfficePassword();
// The test server's own certificate (it offers TLS on its loopback port).
QString pgServerCertificate();
// The port the test server listens on over loopback TCP.
int pgPort();
// Runs a statement as the superuser on a database of the server (empty: the maintenance
// one); returns the first column of the first row as text, or throws std::runtime_error.
QString pgAdminQuery(const QString &sql, const QString &database = {});
// End server sessions as a network failure would: one by its process id, or every one on a
// database but the admin's own. Each waits (at most five seconds) until the session has
// ended, so that the next call of the program surely finds its connection gone.
void pgEndSession(qint64 pid);
void pgEndSessions(const QString &database);
// The database part of an address.
QString pgDatabaseOf(const QString &address);

// The storage tests run twice from one source: on archive files, and with
// TAVORIO_TEST_STORAGE=postgresql on the test server.
bool onServer();
// Where a test makes its archive: `file` in `folder`, or on the server a new empty database
// reached over the socket as the office role (no password needed there).
QString newArchiveLocation(const QString &folder, const QString &file);
// Skips a test about the archive file itself (lock file, encryption, compaction) in the
// server run.
#define TAVORIO_FILE_ONLY()                                                                           \
    do {                                                                                              \
        if (testsupport::onServer())                                                                  \
            GTEST_SKIP() << "a test of the archive file";                                               \
    } while (0)

} // namespace testsupport
