#include "forms/main/ArchiveServerSetting.h"

#include "layout/PrivateProfile.h"
#include "store/ServerArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace {

const QString kSection = QStringLiteral("Server");
const QStringList kSslModes{QStringLiteral("verify-full"), QStringLiteral("verify-ca"), QStringLiteral("require"),
                            QStringLiteral("disable")};

QString framed(const QString &text) { return QStringLiteral("   ") + text + QStringLiteral("   "); }

// A key of the section decides one parameter of the address, replacing one the address may carry.
QString withParameter(const QString &address, const QString &key, const QString &value)
{
    QStringList items = address.section(u'?', 1).split(u'&', Qt::SkipEmptyParts);
    items.removeIf([&](const QString &item) { return item.startsWith(key + u'=', Qt::CaseInsensitive); });
    items.append(key + u'=' + QString::fromUtf8(QUrl::toPercentEncoding(value)));
    return address.section(u'?', 0, 0) + u'?' + items.join(u'&');
}

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
    if (!store::isServerArchive(address)) {
        setting.problem = framed(QStringLiteral("L'indirizzo del server dell'archivio in tavorio.ini non è valido: "
                                                "deve cominciare con postgresql:// (per esempio "
                                                "postgresql://ufficio@server:5432/tavorio)."));
        return setting;
    }
    QString usable = address;
    if (const std::optional<QString> ssl = key(iniPath, QStringLiteral("SSL"))) {
        const QString mode = ssl->trimmed().toLower();
        if (!kSslModes.contains(mode)) {
            setting.problem = framed(QStringLiteral("Il valore SSL=%1 in tavorio.ini non è valido: usate %2.")
                                         .arg(*ssl, kSslModes.join(QStringLiteral(", "))));
            return setting;
        }
        usable = withParameter(usable, QStringLiteral("sslmode"), mode);
    }
    // The authority's file sits beside tavorio.ini, in the application folder, unless the key
    // gives a full path.
    if (const std::optional<QString> ca = key(iniPath, QStringLiteral("Certificato")))
        usable = withParameter(usable, QStringLiteral("sslrootcert"),
                               QFileInfo(iniPath).dir().absoluteFilePath(ca->trimmed()));
    if (const std::optional<QString> wait = key(iniPath, QStringLiteral("Attesa")))
        usable = withParameter(usable, QStringLiteral("connect_timeout"), wait->trimmed());
    // The reason never repeats the address, which may hold a password typed by mistake.
    if (const QString problem = store::serverAddressProblem(usable); !problem.isEmpty()) {
        setting.problem = framed(problem + QStringLiteral(" (tavorio.ini, sezione [Server])"));
        return setting;
    }
    setting.address = usable;
    return setting;
}
