#pragma once
// Runs a function in a forked child and lets the test talk to it through two pipes: the
// child says when it is ready, then waits until the parent lets it go. The child ends with
// _exit(its function's result), so no test machinery runs twice.

#include <cerrno>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace platform_test {

namespace pipes {
inline void writeByte(int fd)
{
    const char byte = 1;
    while (::write(fd, &byte, 1) < 0 && errno == EINTR) {
    }
}
inline bool readByte(int fd)
{
    char byte = 0;
    ssize_t n;
    while ((n = ::read(fd, &byte, 1)) < 0 && errno == EINTR) {
    }
    return n == 1;
}
} // namespace pipes

// The child's end of the conversation.
class ChildSide final {
public:
    ChildSide(int toParent, int fromParent) : m_toParent(toParent), m_fromParent(fromParent) {}
    void signalReady() { pipes::writeByte(m_toParent); }
    void waitForRelease() { pipes::readByte(m_fromParent); }

private:
    int m_toParent;
    int m_fromParent;
};

class ForkedChild final {
public:
    explicit ForkedChild(const std::function<int(ChildSide &)> &body)
    {
        int toParent[2];
        int toChild[2];
        if (::pipe(toParent) != 0 || ::pipe(toChild) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(toParent[0]);
            ::close(toChild[1]);
            ChildSide side(toParent[1], toChild[0]);
            ::_exit(body(side));
        }
        ::close(toParent[1]);
        ::close(toChild[0]);
        m_fromChild = toParent[0];
        m_toChild = toChild[1];
    }

    ~ForkedChild()
    {
        exitStatus();
        ::close(m_fromChild);
    }

    ForkedChild(const ForkedChild &) = delete;
    ForkedChild &operator=(const ForkedChild &) = delete;

    bool started() const { return m_pid > 0; }
    // False when the child ended without saying it was ready.
    bool waitUntilReady() { return pipes::readByte(m_fromChild); }
    void release()
    {
        if (m_toChild >= 0)
            ::close(m_toChild); // end of file wakes the child as well as a byte would
        m_toChild = -1;
    }
    // Releases the child, waits for it and returns its exit status (-1 if it was killed).
    int exitStatus()
    {
        release();
        if (m_pid > 0) {
            int status = 0;
            while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
            }
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            m_pid = 0;
        }
        return m_status;
    }

private:
    pid_t m_pid = -1;
    int m_fromChild = -1;
    int m_toChild = -1;
    int m_status = -1;
};

} // namespace platform_test
