#pragma once
// Every other process a test starts goes through here, and every wait on one is bounded: past
// its limit the child is killed and reaped and the wait reports the failure, so a hung or
// failing child ends the test quickly instead of stalling the ctest entry or staying behind.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>
#include <sys/types.h>

namespace testsupport {

// Far beyond any sound run of a child, and well within the ctest entry's own limit.
inline constexpr int kProcessLimitMs = 180000;

// A program run to its end: exit code -1 when it crashed, was killed, did not start or ran
// past its limit (`finished` false for the last two).
struct ProcessResult {
    int exitCode = -1;
    bool finished = false;
    QByteArray out;
    QByteArray err;
    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

struct ProcessOptions {
    QString workDir;
    QByteArray input;                    // written to its standard input, which is then closed
    QProcessEnvironment environment{};   // empty: this process's own
    int limitMs = kProcessLimitMs;
};

ProcessResult runProcess(const QString &program, const QStringList &args, const ProcessOptions &options = {});
// The companion command built with the tests.
ProcessResult runCli(const QStringList &args, const ProcessOptions &options = {});
// The standard output of a tool the tests read with (pdftotext, pdfinfo, ...); a run that
// does not end with exit code 0 fails the calling test.
QString outputOf(const QString &program, const QStringList &args, int limitMs = kProcessLimitMs);

// A forked child of the test: a function of this process, or the test program run again for
// one test. A child still running when its object goes is killed and reaped.
class ChildProcess final {
public:
    // Runs body in the child, whose exit status is body's result (2 when it throws).
    static ChildProcess fork(const std::function<int()> &body);
    // Runs this test program again for only `test` (a --gtest_filter), with `variable` set to
    // `task`, outside the parent's share of the tests. A child's own part is a disabled test
    // (DISABLED_ in its name), so that the ordinary runs neither run nor skip it.
    static ChildProcess rerun(const QString &test, const char *variable, const QString &task);

    ChildProcess() = default;
    ChildProcess(ChildProcess &&other) noexcept;
    ChildProcess &operator=(ChildProcess &&other) noexcept;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    ~ChildProcess();

    bool started() const { return m_pid > 0 || m_reaped; }
    // Whether it has ended (reaping it then); never blocks.
    bool ended();
    // Its exit status, -1 when a signal ended it; past the limit it is killed and -1 returned.
    int wait(int limitMs = kProcessLimitMs);
    bool timedOut() const { return m_timedOut; }

private:
    explicit ChildProcess(pid_t pid) : m_pid(pid) {}
    void kill();

    pid_t m_pid = -1;
    bool m_reaped = false;
    bool m_timedOut = false;
    int m_status = -1;
};

// Start barriers between a test and its children are files in the test's folder.
bool touch(const QString &path);
// Waits until the file exists; false when `maker` (if any) ended first or the limit passed.
bool waitForFile(const QString &path, ChildProcess *maker = nullptr, int limitMs = kProcessLimitMs);

} // namespace testsupport
