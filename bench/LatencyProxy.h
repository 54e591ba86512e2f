#pragma once
// A TCP relay on the loopback interface that holds every packet it passes for a fixed delay
// in each direction, so that a server on this machine is met as an office meets one across
// its network (1 ms each way: the 2 ms round trips of an ordinary office Wi-Fi). Bounded:
// a few connections at most, and it stops by itself after its lifetime even if nobody
// stops it; destroying it stops it at once.

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace bench {

class LatencyProxy {
public:
    // Listens on a free loopback port and relays to 127.0.0.1:targetPort.
    LatencyProxy(int targetPort, std::chrono::microseconds delay, std::chrono::seconds lifetime);
    ~LatencyProxy();
    LatencyProxy(const LatencyProxy &) = delete;
    LatencyProxy &operator=(const LatencyProxy &) = delete;

    int port() const { return m_port; }
    void stop();

    static constexpr int kMaxConnections = 32;

private:
    void acceptLoop();
    void relay(int from, int to);

    int m_targetPort;
    std::chrono::microseconds m_delay;
    std::chrono::steady_clock::time_point m_deadline;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::mutex m_mutex;
    std::vector<int> m_sockets;          // every open socket, closed on stop
    std::vector<std::thread> m_threads;  // relays, joined on stop
    std::thread m_acceptor;
};

} // namespace bench
