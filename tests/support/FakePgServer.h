#pragma once
// An impostor on the office network for the tests: a real loopback socket that speaks the
// start of the PostgreSQL protocol and keeps every byte a client sends it (decrypted, when
// the client got as far as TLS). It answers the client's request for TLS with 'N' or with a
// TLS handshake under a certificate it is given, then asks for the password in clear or as
// MD5, and waits for whatever comes.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace testsupport {

// A self-signed certificate and its key for 127.0.0.1 and localhost, made with the openssl
// command in `folder`; the certificate serves as its own authority. Throws std::runtime_error.
struct Certificate {
    QString certFile;
    QString keyFile;
};
Certificate makeCertificate(const QString &folder, const QString &name);

class FakePgServer {
public:
    enum class Tls { Declined, Offered };
    enum class Login { Cleartext, Md5 };

    // With Tls::Offered, `certificate` is what the handshake shows.
    FakePgServer(Tls tls, Login login, const Certificate &certificate = {});
    ~FakePgServer();
    FakePgServer(const FakePgServer &) = delete;
    FakePgServer &operator=(const FakePgServer &) = delete;

    int port() const { return m_port; }
    // Everything received so far, over every connection.
    QByteArray received() const;
    // Whether any client sent a password message ('p') after the login request.
    bool passwordMessageReceived() const;
    // How many clients got as far as the login request.
    int loginRequests() const;

private:
    void serve();
    void talk(int fd);
    void record(const QByteArray &bytes);

    Tls m_tls;
    Login m_login;
    Certificate m_certificate;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    QByteArray m_received;
    bool m_passwordMessage = false;
    int m_loginRequests = 0;
    std::thread m_thread;
};

} // namespace testsupport
