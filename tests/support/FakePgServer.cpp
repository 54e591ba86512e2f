#include "tests/support/FakePgServer.h"

#include <QProcess>
#include <QStringList>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

constexpr quint32 kSslRequest = 80877103;
constexpr quint32 kGssRequest = 80877104;

quint32 bigEndian(const QByteArray &bytes, int at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData() + at);
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

QByteArray int32(quint32 v)
{
    const char bytes[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(bytes, 4);
}

// One client's socket, plain or under TLS; every read gives up after a few seconds, so that
// a client that stops talking never holds a test.
class Channel {
public:
    explicit Channel(int fd) : m_fd(fd)
    {
        timeval limit{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    }
    ~Channel()
    {
        if (m_ssl) {
            SSL_shutdown(m_ssl);
            SSL_free(m_ssl);
        }
        if (m_context)
            SSL_CTX_free(m_context);
        ::close(m_fd);
    }
    bool startTls(const Certificate &certificate)
    {
        m_context = SSL_CTX_new(TLS_server_method());
        if (!m_context || SSL_CTX_use_certificate_chain_file(m_context, certificate.certFile.toLocal8Bit().constData()) != 1
            || SSL_CTX_use_PrivateKey_file(m_context, certificate.keyFile.toLocal8Bit().constData(), SSL_FILETYPE_PEM) != 1)
            return false;
        m_ssl = SSL_new(m_context);
        SSL_set_fd(m_ssl, m_fd);
        return SSL_accept(m_ssl) == 1;
    }
    // Up to n bytes; empty at the end of the stream, a failure or the time limit.
    QByteArray read(int n)
    {
        QByteArray buffer(n, '\0');
        const int got = m_ssl ? SSL_read(m_ssl, buffer.data(), n) : int(::recv(m_fd, buffer.data(), size_t(n), 0));
        buffer.resize(got > 0 ? got : 0);
        return buffer;
    }
    QByteArray readExactly(int n)
    {
        QByteArray all;
        while (all.size() < n) {
            const QByteArray part = read(n - int(all.size()));
            if (part.isEmpty())
                break;
            all += part;
        }
        return all;
    }
    void write(const QByteArray &bytes)
    {
        if (m_ssl)
            SSL_write(m_ssl, bytes.constData(), int(bytes.size()));
        else
            ::send(m_fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
    }

private:
    int m_fd;
    SSL_CTX *m_context = nullptr;
    SSL *m_ssl = nullptr;
};

} // namespace

Certificate makeCertificate(const QString &folder, const QString &name)
{
    Certificate c{folder + u'/' + name + QStringLiteral(".crt"), folder + u'/' + name + QStringLiteral(".key")};
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                   QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=") + name,
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost"),
                   QStringLiteral("-keyout"), c.keyFile, QStringLiteral("-out"), c.certFile});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        throw std::runtime_error("openssl could not make a certificate: " + openssl.readAllStandardError().toStdString());
    return c;
}

FakePgServer::FakePgServer(Tls tls, Login login, const Certificate &certificate)
    : m_tls(tls), m_login(login), m_certificate(certificate)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listener, 8) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("the fake server cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

FakePgServer::~FakePgServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

void FakePgServer::serve()
{
    while (!m_stop) {
        pollfd pfd{m_listener, POLLIN, 0};
        if (::poll(&pfd, 1, 50) <= 0)
            continue;
        const int fd = ::accept(m_listener, nullptr, nullptr);
        if (fd >= 0)
            talk(fd);
    }
}

void FakePgServer::talk(int fd)
{
    Channel channel(fd);
    QByteArray first = channel.readExactly(8);
    record(first);
    // Requests for encryption come before the startup message, GSSAPI's first if at all.
    while (first.size() == 8 && (bigEndian(first, 4) == kSslRequest || bigEndian(first, 4) == kGssRequest)) {
        if (bigEndian(first, 4) == kSslRequest && m_tls == Tls::Offered) {
            channel.write("S");
            if (!channel.startTls(m_certificate))
                return;
        } else {
            channel.write("N");
        }
        first = channel.readExactly(8);
        record(first);
    }
    if (first.size() < 8)
        return;
    record(channel.readExactly(int(bigEndian(first, 0)) - 8));   // the rest of the startup message
    {
        const std::lock_guard lock(m_mutex);
        ++m_loginRequests;
    }
    channel.write(m_login == Login::Cleartext ? QByteArray("R") + int32(8) + int32(3)
                                              : QByteArray("R") + int32(12) + int32(5) + QByteArray("\x01\x02\x03\x04", 4));
    for (QByteArray more = channel.read(4096); !more.isEmpty(); more = channel.read(4096)) {
        const std::lock_guard lock(m_mutex);
        m_passwordMessage = m_passwordMessage || more.startsWith('p');
        m_received += more;
    }
}

void FakePgServer::record(const QByteArray &bytes)
{
    const std::lock_guard lock(m_mutex);
    m_received += bytes;
}

QByteArray FakePgServer::received() const
{
    const std::lock_guard lock(m_mutex);
    return m_received;
}

bool FakePgServer::passwordMessageReceived() const
{
    const std::lock_guard lock(m_mutex);
    return m_passwordMessage;
}

int FakePgServer::loginRequests() const
{
    const std::lock_guard lock(m_mutex);
    return m_loginRequests;
}

} // namespace testsupport
