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

    // The connection's keywords and values for PQconnectdbParams, the password (when not
    // empty) included; the arrays stay valid as long as this object lives.
    class Keywords {
    public:
        const char *const *keys() const { return m_keys.data(); }
        const char *const *values() const { return m_values.data(); }

    private:
        friend class ServerAddress;
        void add(const char *key, const QString &value);
        std::vector<QByteArray> m_storage;
        std::vector<const char *> m_keys;
        std::vector<const char *> m_values;
    };
    Keywords keywords(const QString &password) const;
};

} // namespace dao
