#pragma once
// Where an archive is: a file, or a database on a PostgreSQL server named by its address
// (postgresql://role@host[:port]/database, never with a password). Every layer asks this
// one type whether a location is a file or a server; what a storage allows there is asked
// of the storage (Connection::capabilitiesAt).

#include "engine/ServerAddress.h"

#include <QString>
#include <optional>

namespace dao {

class ArchiveLocation {
public:
    ArchiveLocation() = default;
    explicit ArchiveLocation(QString text);

    bool isServer() const { return m_server; }
    bool isFile() const { return !m_server; }
    // The location as given.
    const QString &text() const { return m_text; }
    // The archive's file as given; empty for a server.
    QString file() const { return m_server ? QString() : m_text; }
    // A file's path made absolute; a server's address as given.
    QString normalized() const;
    // The server's address when it can be used; nothing for a file or an address that never
    // connects (the connection reports why when it is opened).
    std::optional<ServerAddress> serverAddress() const;

private:
    QString m_text;
    bool m_server = false;
};

} // namespace dao
