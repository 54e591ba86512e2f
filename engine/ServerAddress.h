#pragma once
// The address of an archive on a PostgreSQL server:
//   postgresql://[role@]host[:port]/database[?key=value&...]   (postgres:// as well)
// The host may instead be a socket folder given as ?host=/path (and the port as ?port=).
// A password never travels in an address: it is given apart, like the file archive's, and
// an address holding one is refused without repeating it. The parsed address hands libpq
// keyword/value pairs, so nothing typed in an address can add a keyword of its own.
//
// A desk sends nothing secret to a server that has not proven who it is: by default the
// server's certificate is checked against the office's authority and its name
// (sslmode=verify-full), and the login must be bound to that TLS channel
// (channel_binding=require), which also refuses a server asking for a cleartext or MD5
// password. sslmode allow and prefer are refused (they retry without TLS); an unprotected
// link (sslmode=disable or channel_binding=disable) only reaches a server on this computer.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace dao {

// The same address with another role (the person signing in), everything else as written;
// a malformed address comes back as given, for the connection to refuse it.
QString addressWithRole(const QString &text, const QString &role);

class ServerAddress {
public:
    // Throws EngineError 3001 with an Italian message when the address is malformed.
    static ServerAddress parse(const QString &text);
    // The same, without checkUsable(): for an address that edits complete (a setting's sslmode
    // deciding over the one written), checked by calling checkUsable() after them.
    static ServerAddress parseForEdit(const QString &text);
    // The scheme `text` begins with, in lower case ("postgresql://" or "postgres://"); empty
    // when the text names no server (ArchiveLocation asks this).
    static QString schemeOf(const QString &text);

    QString role;            // empty: libpq's default (the operating-system user)
    QString host;            // a name, an IP address or a socket folder; empty: the default socket
    int port = 0;            // 0: the default (5432)
    QString database;
    QString sslmode = QStringLiteral("verify-full");
    QString channelBinding = QStringLiteral("require");
    int connectTimeout = 10; // seconds; also bounds how long a dead link goes unnoticed
    QString sslRootCert;
    QString sslCrl;
    QString sslCert;
    QString sslKey;
    QString applicationName = QStringLiteral("tavorio");

    // Whether the host is this computer: a socket folder, the default socket, or a loopback name.
    bool isLocal() const;
    // Whether the server must prove who it is before the login: false only for an address
    // that turns TLS or channel binding off (possible on this computer only).
    bool isProtected() const;

    // The address as messages show it (it never holds a password).
    QString displayText() const;
    // The whole address, for the connection to open: the scheme as written, the options in
    // the order written (one set again moves to the end), then any other that differs from
    // its default. Parsed again it gives the same address.
    QString text() const;

    // Edits, checked as the same option written in the address would be (EngineError 3001).
    // An sslmode set without a channel_binding of its own brings the binding it implies.
    void setSslMode(const QString &mode);
    void setSslRootCert(const QString &path);
    void setConnectTimeout(const QString &seconds);
    // Throws EngineError 3001 when the address names no database, or turns protection off for
    // a server across the network.
    void checkUsable() const;

    // The connection's keywords and values for PQconnectdbParams: the address's own, the
    // password (when not empty), and those the caller adds.
    class Keywords {
    public:
        Keywords() = default;
        Keywords(Keywords &&) = default;
        Keywords &operator=(Keywords &&) = default;
        ~Keywords();   // wipes the values, the password among them
        void add(const char *key, const QString &value);
        // Null-terminated arrays, valid until the next add().
        const char *const *keys();
        const char *const *values();

    private:
        std::vector<const char *> m_keys;
        std::vector<QByteArray> m_storage;
        std::vector<const char *> m_keyArray;
        std::vector<const char *> m_valueArray;
    };
    Keywords keywords(const QString &password) const;

private:
    void setOption(const QString &key, const QString &value);
    bool written(const char *key) const { return m_written.contains(QLatin1String(key)); }
    QString optionValue(const QString &key) const;
    bool isDefault(const QString &key) const;

    QString m_scheme = QStringLiteral("postgresql://");
    QStringList m_written;   // the options after "?", in the order written
};

} // namespace dao
