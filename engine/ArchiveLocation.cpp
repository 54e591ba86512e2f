#include "engine/ArchiveLocation.h"

#include "engine/EngineError.h"

#include <QFileInfo>

namespace dao {

ArchiveLocation::ArchiveLocation(QString text)
    : m_text(std::move(text)), m_server(!ServerAddress::schemeOf(m_text).isEmpty())
{
}

QString ArchiveLocation::normalized() const
{
    return m_server ? m_text : QFileInfo(m_text).absoluteFilePath();
}

std::optional<ServerAddress> ArchiveLocation::serverAddress() const
{
    if (!m_server)
        return std::nullopt;
    try {
        return ServerAddress::parse(m_text);
    } catch (const EngineError &) {
        return std::nullopt;
    }
}

} // namespace dao
