#include "tests/support/PgLinkProxy.h"

#include "tests/support/PgTestServer.h"

#include <QDir>
#include <QFileInfo>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

constexpr char kTlsRequestBytes[] = {0, 0, 0, 8, 4, -46, 22, 47};   // 80877103

// One side of a relayed link, under TLS once its handshake is done; every wait is bounded.
class LinkEnd {
public:
    explicit LinkEnd(int fd) : m_fd(fd)
    {
        timeval limit{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    }
    ~LinkEnd()
    {
        if (m_ssl)
            SSL_free(m_ssl);
        if (m_context)
            SSL_CTX_free(m_context);
        ::shutdown(m_fd, SHUT_RDWR);
        ::close(m_fd);
    }
    int fd() const { return m_fd; }
    bool accept(const QString &certFile, const QString &keyFile)
    {
        m_context = SSL_CTX_new(TLS_server_method());
        if (!m_context || SSL_CTX_use_certificate_chain_file(m_context, certFile.toLocal8Bit().constData()) != 1
            || SSL_CTX_use_PrivateKey_file(m_context, keyFile.toLocal8Bit().constData(), SSL_FILETYPE_PEM) != 1)
            return false;
        m_ssl = SSL_new(m_context);
        SSL_set_fd(m_ssl, m_fd);
        return SSL_accept(m_ssl) == 1;
    }
    bool connect()
    {
        m_context = SSL_CTX_new(TLS_client_method());
        m_ssl = SSL_new(m_context);
        SSL_set_fd(m_ssl, m_fd);
        return SSL_connect(m_ssl) == 1;
    }
    bool pending() const { return m_ssl && SSL_pending(m_ssl) > 0; }
    QByteArray read()
    {
        QByteArray buffer(16384, '\0');
        const int got = m_ssl ? SSL_read(m_ssl, buffer.data(), int(buffer.size()))
                              : int(::recv(m_fd, buffer.data(), size_t(buffer.size()), 0));
        buffer.resize(got > 0 ? got : 0);
        return buffer;
    }
    bool write(const QByteArray &bytes)
    {
        if (m_ssl)
            return SSL_write(m_ssl, bytes.constData(), int(bytes.size())) == int(bytes.size());
        return ::send(m_fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == ssize_t(bytes.size());
    }

private:
    int m_fd;
    SSL_CTX *m_context = nullptr;
    SSL *m_ssl = nullptr;
};

int connectToServer(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// A server's answer is complete with its ReadyForQuery message ('Z', length 5).
bool endsWithReady(const QByteArray &bytes)
{
    return bytes.size() >= 6 && bytes.at(bytes.size() - 6) == 'Z' && bytes.mid(bytes.size() - 5, 4) == QByteArray("\0\0\0\5", 4);
}

} // namespace

PgLinkProxy::PgLinkProxy() : m_serverPort(pgPort()), m_certFile(pgServerCertificate())
{
    m_keyFile = QFileInfo(m_certFile).dir().filePath(QStringLiteral("server.key"));
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listener, 8) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("the link proxy cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

PgLinkProxy::~PgLinkProxy()
{
    m_stop = true;
    m_thread.join();
    for (std::thread &link : m_links)
        link.join();
    ::close(m_listener);
}

QString PgLinkProxy::officeAddress(const QString &database) const
{
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3?sslrootcert=%4")
        .arg(pgOfficeRole(), QString::number(m_port), database, m_certFile);
}

void PgLinkProxy::serve()
{
    while (!m_stop) {
        pollfd pfd{m_listener, POLLIN, 0};
        if (::poll(&pfd, 1, 50) <= 0)
            continue;
        const int fd = ::accept(m_listener, nullptr, nullptr);
        if (fd < 0)
            continue;
        const std::lock_guard lock(m_mutex);
        m_links.emplace_back([this, fd] { relay(fd); });
    }
}

void PgLinkProxy::relay(int clientFd)
{
    LinkEnd client(clientFd);
    const int serverFd = connectToServer(m_serverPort);
    if (serverFd < 0)
        return;
    LinkEnd server(serverFd);
    // Both sides ask for TLS first: the client of this relay, and this relay of the server.
    QByteArray request;
    while (request.size() < 8) {
        const QByteArray part = client.read();
        if (part.isEmpty())
            return;
        request += part;
    }
    if (request != QByteArray(kTlsRequestBytes, 8) || !client.write("S") || !client.accept(m_certFile, m_keyFile))
        return;
    if (!server.write(QByteArray(kTlsRequestBytes, 8)) || server.read() != "S" || !server.connect())
        return;

    bool commitSent = false;
    QByteArray answer;
    while (!m_stop) {
        pollfd fds[2] = {{client.fd(), POLLIN, 0}, {server.fd(), POLLIN, 0}};
        if (!client.pending() && !server.pending() && ::poll(fds, 2, 50) <= 0)
            continue;
        if (client.pending() || (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            const QByteArray bytes = client.read();
            if (bytes.isEmpty() || !server.write(bytes))
                return;
            if (m_fault != Fault::None && !m_struck && bytes.contains(QByteArray("COMMIT\0", 7)))
                commitSent = true;
        }
        if (server.pending() || (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            const QByteArray bytes = server.read();
            if (bytes.isEmpty())
                return;
            if (!commitSent) {
                if (!client.write(bytes))
                    return;
                continue;
            }
            // The server has the COMMIT: its whole answer is waited for, so that the save has
            // surely landed before the link goes.
            answer += bytes;
            if (!endsWithReady(answer))
                continue;
            if (m_fault == Fault::CutAfterCommit)
                client.write(answer);
            m_struck = true;
            return;
        }
    }
}

} // namespace testsupport
