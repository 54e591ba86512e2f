#include "tests/support/ChildRuns.h"

#include "tests/support/TestArchive.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

pid_t startChild(const QString &test, const char *variable, const QString &task)
{
    const QByteArray program = selfPath().toLocal8Bit();
    const QByteArray filter = QStringLiteral("--gtest_filter=%1").arg(test).toLocal8Bit();
    const QByteArray value = task.toLocal8Bit();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv(variable, value.constData(), 1);
        leaveTestShard();
        char *const argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(filter.constData()), nullptr};
        ::execv(program.constData(), argv);
        ::_exit(127);
    }
    return pid;
}

int exitCodeOf(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

bool waitForFile(const QString &path, pid_t maker)
{
    while (!QFileInfo::exists(path)) {
        if (maker > 0 && ::waitpid(maker, nullptr, WNOHANG) == maker)
            return false;
        QThread::msleep(5);
    }
    return true;
}

} // namespace testsupport
