#pragma once
// A link between a desk and the test server that fails on demand, as an office network does
// around a save: a loopback relay that ends the client's TLS under the server's own
// certificate and opens its own TLS to the server, so the desk's checks (certificate, login
// bound to the channel) pass unchanged. Armed, it acts once, at the first COMMIT a desk
// sends: it forwards the COMMIT and then cuts the link without passing the server's answer
// on, or passes the answer on and cuts the link right after. Later connections go through.

#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace testsupport {

class PgLinkProxy {
public:
    enum class Fault { None, DropCommitAnswer, CutAfterCommit };

    // Relays to the test server's loopback port; its certificate and key are the server's.
    PgLinkProxy();
    ~PgLinkProxy();
    PgLinkProxy(const PgLinkProxy &) = delete;
    PgLinkProxy &operator=(const PgLinkProxy &) = delete;

    int port() const { return m_port; }
    // The office role's address of a database of the test server, through this relay.
    QString officeAddress(const QString &database) const;
    void arm(Fault fault) { m_fault = fault; }
    // Whether the armed fault happened.
    bool struck() const { return m_struck; }

private:
    void serve();
    void relay(int clientFd);

    int m_listener = -1;
    int m_port = 0;
    int m_serverPort = 0;
    QString m_certFile;
    QString m_keyFile;
    std::atomic<Fault> m_fault{Fault::None};
    std::atomic<bool> m_struck{false};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<std::thread> m_links;
    std::thread m_thread;
};

} // namespace testsupport
