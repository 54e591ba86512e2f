#include "forms/main/ArchiveServerSetting.h"

#include "layout/PrivateProfile.h"

#include <QStringList>

namespace {

const QString kSection = QStringLiteral("Server");
const QStringList kSslModes{QStringLiteral("disable"), QStringLiteral("allow"),  QStringLiteral("prefer"),
                            QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};

QString framed(const QString &text) { return QStringLiteral("   ") + text + QStringLiteral("   "); }

bool isPostgresAddress(const QString &address)
{
    return address.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || address.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

// A password may hide in the user part ("role:secret@host") or in the query ("password=").
bool carriesPassword(const QString &address)
{
    const QString rest = address.section(QStringLiteral("://"), 1);
    const QString authority = rest.section(u'/', 0, 0).section(u'?', 0, 0);
    const qsizetype at = authority.lastIndexOf(u'@');
    if (at >= 0 && authority.left(at).contains(u':'))
        return true;
    const QString query = rest.section(u'?', 1);
    for (const QString &item : query.split(u'&', Qt::SkipEmptyParts)) {
        if (item.section(u'=', 0, 0).compare(QLatin1String("password"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The SSL key decides the address's sslmode, replacing one the address may carry.
QString withSslMode(const QString &address, const QString &sslMode)
{
    QStringList items = address.section(u'?', 1).split(u'&', Qt::SkipEmptyParts);
    items.removeIf([](const QString &item) { return item.startsWith(QLatin1String("sslmode="), Qt::CaseInsensitive); });
    items.append(QStringLiteral("sslmode=") + sslMode);
    return address.section(u'?', 0, 0) + u'?' + items.join(u'&');
}

} // namespace

ArchiveServerSetting readArchiveServerSetting(const QString &iniPath)
{
    ArchiveServerSetting setting;
    const QString address = privateprofile::readKey(iniPath, kSection, QStringLiteral("Indirizzo")).value_or(QString());
    if (address.isEmpty())
        return setting;
    if (!isPostgresAddress(address)) {
        setting.problem = framed(QStringLiteral("L'indirizzo del server dell'archivio in tavorio.ini non è valido: "
                                                "deve cominciare con postgresql:// (per esempio "
                                                "postgresql://ufficio@server:5432/tavorio)."));
        return setting;
    }
    // The message does not repeat the address: it holds the password.
    if (carriesPassword(address)) {
        setting.problem = framed(QStringLiteral("L'indirizzo del server dell'archivio in tavorio.ini contiene una "
                                                "password: toglietela dal file. Il programma la chiede a ogni avvio."));
        return setting;
    }
    const std::optional<QString> ssl = privateprofile::readKey(iniPath, kSection, QStringLiteral("SSL"));
    if (!ssl || ssl->isEmpty()) {
        setting.address = address;
        return setting;
    }
    const QString mode = ssl->toLower();
    if (!kSslModes.contains(mode)) {
        setting.problem = framed(QStringLiteral("Il valore SSL=%1 in tavorio.ini non è valido: usate %2.")
                                     .arg(*ssl, kSslModes.join(QStringLiteral(", "))));
        return setting;
    }
    setting.address = withSslMode(address, mode);
    return setting;
}
