#include "tests/support/Processes.h"

#include "tests/support/TestArchive.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

ProcessResult runProcess(const QString &program, const QStringList &args, const ProcessOptions &options)
{
    QProcess process;
    if (!options.workDir.isEmpty())
        process.setWorkingDirectory(options.workDir);
    if (!options.environment.isEmpty())
        process.setProcessEnvironment(options.environment);
    process.start(program, args);
    ProcessResult result;
    if (!process.waitForStarted(options.limitMs)) {
        result.err = QStringLiteral("%1 does not start: %2").arg(program, process.errorString()).toUtf8();
        return result;
    }
    process.write(options.input);
    process.closeWriteChannel();
    result.finished = process.waitForFinished(options.limitMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    if (!result.finished)
        result.err += QStringLiteral("\n%1 killed after %2 ms").arg(program).arg(options.limitMs).toUtf8();
    else if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

ProcessResult runCli(const QStringList &args, const ProcessOptions &options)
{
    return runProcess(cliPath(), args, options);
}

QString outputOf(const QString &program, const QStringList &args, int limitMs)
{
    ProcessOptions options;
    options.limitMs = limitMs;
    const ProcessResult result = runProcess(program, args, options);
    if (result.exitCode != 0)
        ADD_FAILURE() << program.toStdString() << ' ' << args.join(QLatin1Char(' ')).toStdString() << " ended with "
                      << result.exitCode << ": " << result.errText().toStdString();
    return result.outText();
}

ChildProcess ChildProcess::fork(const std::function<int()> &body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int result = 2;
        try {
            result = body();
        } catch (...) {
        }
        ::_exit(result);
    }
    return ChildProcess(pid);
}

ChildProcess ChildProcess::rerun(const QString &test, const char *variable, const QString &task)
{
    const QByteArray program = selfPath().toLocal8Bit();
    const QByteArray filter = QStringLiteral("--gtest_filter=%1").arg(test).toLocal8Bit();
    const QByteArray disabledToo = "--gtest_also_run_disabled_tests";
    const QByteArray value = task.toLocal8Bit();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv(variable, value.constData(), 1);
        leaveTestShard();
        char *const argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(filter.constData()),
                              const_cast<char *>(disabledToo.constData()), nullptr};
        ::execv(program.constData(), argv);
        ::_exit(127);
    }
    return ChildProcess(pid);
}

ChildProcess::ChildProcess(ChildProcess &&other) noexcept
{
    *this = std::move(other);
}

ChildProcess &ChildProcess::operator=(ChildProcess &&other) noexcept
{
    if (this != &other) {
        kill();
        m_pid = std::exchange(other.m_pid, -1);
        m_reaped = other.m_reaped;
        m_timedOut = other.m_timedOut;
        m_status = other.m_status;
    }
    return *this;
}

ChildProcess::~ChildProcess()
{
    kill();
}

bool ChildProcess::ended()
{
    if (m_pid <= 0)
        return true;
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(m_pid, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (got == 0)
        return false;
    m_status = got == m_pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    m_pid = -1;
    m_reaped = true;
    return true;
}

int ChildProcess::wait(int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    while (!ended()) {
        if (deadline.hasExpired()) {
            m_timedOut = true;
            kill();
            return -1;
        }
        QThread::msleep(2);
    }
    return m_status;
}

void ChildProcess::kill()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGKILL);
    while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    m_reaped = true;
    m_status = -1;
}

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

bool waitForFile(const QString &path, ChildProcess *maker, int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    while (!QFileInfo::exists(path)) {
        if ((maker && maker->ended()) || deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

} // namespace testsupport
