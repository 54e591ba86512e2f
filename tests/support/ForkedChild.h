#pragma once
// Runs a function in a forked child and lets the test talk to it through two pipes: the
// child says when it is ready, then waits until the parent lets it go. The child ends with
// _exit(its function's result), so no test machinery runs twice. Every wait of the parent is
// bounded, and a child the test no longer waits for is killed and reaped.

#include "tests/support/Processes.h"

#include <cerrno>
#include <functional>
#include <poll.h>
#include <unistd.h>

namespace testsupport {

namespace pipes {
inline void writeByte(int fd)
{
    const char byte = 1;
    while (::write(fd, &byte, 1) < 0 && errno == EINTR) {
    }
}
// False on end of file, and when nothing came within the limit (-1: no limit, for the child).
inline bool readByte(int fd, int limitMs = -1)
{
    pollfd ready{fd, POLLIN, 0};
    int polled;
    while ((polled = ::poll(&ready, 1, limitMs)) < 0 && errno == EINTR) {
    }
    if (polled <= 0)
        return false;
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
        if (::pipe(toParent) != 0)
            return;
        if (::pipe(toChild) != 0) {
            ::close(toParent[0]);
            ::close(toParent[1]);
            return;
        }
        m_child = ChildProcess::fork([&] {
            ::close(toParent[0]);
            ::close(toChild[1]);
            ChildSide side(toParent[1], toChild[0]);
            return body(side);
        });
        ::close(toParent[1]);   // so that a child that dies reads as end of file
        ::close(toChild[0]);
        m_fromChild = toParent[0];
        m_toChild = toChild[1];
    }

    ~ForkedChild()
    {
        release();
        m_child.wait();
        if (m_fromChild >= 0)
            ::close(m_fromChild);
    }

    ForkedChild(const ForkedChild &) = delete;
    ForkedChild &operator=(const ForkedChild &) = delete;

    bool started() const { return m_child.started(); }
    // False when the child ended, or did not say it was ready within the limit.
    bool waitUntilReady(int limitMs = kProcessLimitMs) { return pipes::readByte(m_fromChild, limitMs); }
    void release()
    {
        if (m_toChild >= 0)
            ::close(m_toChild); // end of file wakes the child as well as a byte would
        m_toChild = -1;
    }
    // Releases the child, waits for it and returns its exit status (-1 if it was killed or
    // ran past the limit).
    int exitStatus(int limitMs = kProcessLimitMs)
    {
        release();
        return m_child.wait(limitMs);
    }

private:
    ChildProcess m_child;
    int m_fromChild = -1;
    int m_toChild = -1;
};

} // namespace testsupport
