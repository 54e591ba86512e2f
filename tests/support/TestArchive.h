#pragma once
// Archives and folders for tests: a fresh temporary folder per test, and archives made in it
// with the program's own schema and the demo generator.

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// Creates FILE with the seven tables and the standard lookup rows, plus `households`
// generated cards with members (deterministic); encrypted when password is not empty.
void createArchive(const QString &path, const QString &password = {}, int households = 3);

// In the server run (TAVORIO_TEST_STORAGE=postgresql) an application folder's archive
// ("tavorio.mdb") is made on the test server and named by the folder's tavorio.ini, as an
// office sets it up: the location to create it at (the path itself elsewhere, and always in
// the file run), and where an archive given by its path really is.
QString archiveLocationFor(const QString &path);
QString archiveAt(const QString &path);

// Path of the companion command built with the tests (for multi-process tests).
QString cliPath();
// Path of the running test program itself (a test can re-run itself as a child process
// with --gtest_filter to play a second user).
QString selfPath();
// In a forked child about to run the test program again: forgets the share of the tests
// (GoogleTest's sharding) its parent runs, so the child's filter alone picks its test.
void leaveTestShard();
// Whether the long randomized tests run at full length (TAVORIO_LONG_TESTS=1, as
// scripts/test --lungo sets it) rather than their short deterministic sample.
bool longRun();

} // namespace testsupport
