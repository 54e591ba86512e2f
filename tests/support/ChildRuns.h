#pragma once
// Tests that play several users run their test program again as the other processes: a child run is picked with --gtest_filter and told its task through an
// environment variable. Start barriers are files in the test's folder.

#include <QString>
#include <sys/types.h>

namespace testsupport {

// Starts this test program again running only `test`, with `variable` set to `task`.
pid_t startChild(const QString &test, const char *variable, const QString &task);
// Waits for the child; its exit status, or -1 when it did not exit normally.
int exitCodeOf(pid_t pid);
// Creates an empty file; false when it cannot be written.
bool touch(const QString &path);
// Waits until the file exists; false when the process that should make it ended first.
bool waitForFile(const QString &path, pid_t maker);

} // namespace testsupport
