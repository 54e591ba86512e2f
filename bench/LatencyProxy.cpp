#include "LatencyProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <stdexcept>
#include <string>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

void noDelay(int socket)
{
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool sendAll(int socket, const std::string &bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += size_t(n);
    }
    return true;
}

} // namespace

LatencyProxy::LatencyProxy(int targetPort, std::chrono::microseconds delay, std::chrono::seconds lifetime)
    : m_targetPort(targetPort), m_delay(delay), m_deadline(Clock::now() + lifetime)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listener, kMaxConnections) != 0)
        throw std::runtime_error("latency proxy: cannot listen on the loopback interface");
    socklen_t length = sizeof address;
    getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptLoop(); });
}

LatencyProxy::~LatencyProxy()
{
    stop();
}

void LatencyProxy::stop()
{
    if (m_stopping.exchange(true))
        return;
    if (m_acceptor.joinable())
        m_acceptor.join();
    std::vector<std::thread> threads;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (int socket : m_sockets)
            ::shutdown(socket, SHUT_RDWR);
        threads.swap(m_threads);
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int socket : m_sockets)
        ::close(socket);
    m_sockets.clear();
    ::close(m_listener);
}

void LatencyProxy::acceptLoop()
{
    int accepted = 0;
    while (!m_stopping && Clock::now() < m_deadline) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        const int server = ::socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in target = loopback(m_targetPort);
        if (++accepted > kMaxConnections || server < 0
            || ::connect(server, reinterpret_cast<const sockaddr *>(&target), sizeof target) != 0) {
            ::close(client);
            if (server >= 0)
                ::close(server);
            continue;
        }
        noDelay(client);
        noDelay(server);
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_sockets.push_back(client);
        m_sockets.push_back(server);
        m_threads.emplace_back([this, client, server] { relay(client, server); });
        m_threads.emplace_back([this, server, client] { relay(server, client); });
    }
    // Past its lifetime the proxy cuts its connections, so that nothing it serves can hang.
    const std::lock_guard<std::mutex> lock(m_mutex);
    for (int socket : m_sockets)
        ::shutdown(socket, SHUT_RDWR);
}

// One direction: what arrives is stamped and handed to a sender that passes it on once it
// has been held for the delay, so the delay adds to each packet without limiting the rate.
void LatencyProxy::relay(int from, int to)
{
    struct Packet {
        Clock::time_point due;
        std::string bytes;
    };
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Packet> queue;
    bool closed = false;

    std::thread sender([&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            arrived.wait(lock, [&] { return closed || !queue.empty(); });
            if (queue.empty())
                break;
            Packet packet = std::move(queue.front());
            queue.pop_front();
            lock.unlock();
            std::this_thread::sleep_until(packet.due);
            const bool ok = sendAll(to, packet.bytes);
            lock.lock();
            if (!ok)
                break;
        }
        ::shutdown(to, SHUT_WR);
    });

    char buffer[65536];
    while (!m_stopping && Clock::now() < m_deadline) {
        pollfd waiting{from, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, 50);
        if (ready == 0)
            continue;
        const ssize_t n = ready < 0 ? -1 : ::recv(from, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        const std::lock_guard<std::mutex> lock(mutex);
        queue.push_back({Clock::now() + m_delay, std::string(buffer, size_t(n))});
        arrived.notify_one();
    }
    {
        const std::lock_guard<std::mutex> lock(mutex);
        closed = true;
        arrived.notify_one();
    }
    sender.join();
}

} // namespace bench
