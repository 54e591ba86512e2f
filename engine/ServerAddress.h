#pragma once
// The address of an archive on a PostgreSQL server:
//   postgresql://[role@]host[:port]/database[?key=value&...]   (postgres:// as well)
// The host may instead be a socket folder given as ?host=/path (and the port as ?port=).
// A password never travels in an address: it is given apart, like the file archive's, and
// an address holding one is refused without repeating it. The parsed address hands libpq
// keyword/value pairs, so nothing typed in an address can add a keyword of its own.

#include <QByteArray>
#include <QString>
#include <vector>

namespace dao {

// Whether the text names an archive on a server rather than a file.
bool isServerAddress(const QString &text);

class ServerAddress {
public:
    // Throws EngineError 3001 with an Italian message when the address is malformed.
    static ServerAddress parse(const QString &text);

    QString role;            // empty: libpq's default (the operating-system user)
    QString host;            // a name, an IP address or a socket folder; empty: the default socket
    int port = 0;            // 0: the default (5432)
    QString database;
    QString sslmode = QStringLiteral("prefer");
    int connectTimeout = 10; // seconds
    QString sslRootCert;
    QString applicationName = QStringLiteral("tavorio");

    // The address as messages show it (it never holds a password).
    QString displayText() const;

    // The connection's keywords and values for PQconnectdbParams: the address's own, the
    // password (when not empty), and those the caller adds.
    class Keywords {
    public:
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
};

} // namespace dao
