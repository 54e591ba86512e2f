#include "forms/main/ArchiveServerSetting.h"

#include "engine/ArchiveLocation.h"
#include "engine/EngineError.h"
#include "engine/ServerAddress.h"
#include "layout/PrivateProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <optional>

namespace {

const QString kSection = QStringLiteral("Server");
const QStringList kSslModes{QStringLiteral("verify-full"), QStringLiteral("verify-ca"), QStringLiteral("require"),
                            QStringLiteral("disable")};

QString framed(const QString &text) { return QStringLiteral("   ") + text + QStringLiteral("   "); }

std::optional<QString> key(const QString &iniPath, const QString &name)
{
    std::optional<QString> value = privateprofile::readKey(iniPath, kSection, name);
    if (value && value->trimmed().isEmpty())
        return std::nullopt;
    return value;
}

} // namespace

ArchiveServerSetting readArchiveServerSetting(const QString &iniPath)
{
    ArchiveServerSetting setting;
    const QString address = privateprofile::readKey(iniPath, kSection, QStringLiteral("Indirizzo")).value_or(QString());
    if (address.isEmpty())
        return setting;
    if (!dao::ArchiveLocation(address).isServer()) {
        setting.problem = framed(QStringLiteral("L'indirizzo del server dell'archivio in tavorio.ini non è valido: "
                                                "deve cominciare con postgresql:// (per esempio "
                                                "postgresql://ufficio@server:5432/tavorio)."));
        return setting;
    }
    const std::optional<QString> ssl = key(iniPath, QStringLiteral("SSL"));
    if (ssl && !kSslModes.contains(ssl->trimmed().toLower())) {
        setting.problem = framed(QStringLiteral("Il valore SSL=%1 in tavorio.ini non è valido: usate %2.")
                                     .arg(*ssl, kSslModes.join(QStringLiteral(", "))));
        return setting;
    }
    // Each key decides one option of the address, over one the address may carry. The reason
    // for a refusal never repeats the address, which may hold a password typed by mistake.
    try {
        dao::ServerAddress server = dao::ServerAddress::parseForEdit(address);
        if (ssl)
            server.setSslMode(ssl->trimmed().toLower());
        // The authority's file sits beside tavorio.ini, in the application folder, unless the
        // key gives a full path.
        if (const std::optional<QString> ca = key(iniPath, QStringLiteral("Certificato")))
            server.setSslRootCert(QFileInfo(iniPath).dir().absoluteFilePath(ca->trimmed()));
        if (const std::optional<QString> wait = key(iniPath, QStringLiteral("Attesa")))
            server.setConnectTimeout(wait->trimmed());
        server.checkUsable();
        setting.address = server.text();
    } catch (const dao::EngineError &error) {
        setting.problem = framed(error.description() + QStringLiteral(" (tavorio.ini, sezione [Server])"));
    }
    return setting;
}
