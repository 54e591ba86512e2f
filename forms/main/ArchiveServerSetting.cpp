#include "forms/main/ArchiveServerSetting.h"

#include "layout/PrivateProfile.h"
#include "store/ServerArchive.h"

#include <QStringList>

namespace {

const QString kSection = QStringLiteral("Server");
const QStringList kSslModes{QStringLiteral("disable"), QStringLiteral("allow"),  QStringLiteral("prefer"),
                            QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};

QString framed(const QString &text) { return QStringLiteral("   ") + text + QStringLiteral("   "); }

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
    if (!store::isServerArchive(address)) {
        setting.problem = framed(QStringLiteral("L'indirizzo del server dell'archivio in tavorio.ini non è valido: "
                                                "deve cominciare con postgresql:// (per esempio "
                                                "postgresql://ufficio@server:5432/tavorio)."));
        return setting;
    }
    QString usable = address;
    const std::optional<QString> ssl = privateprofile::readKey(iniPath, kSection, QStringLiteral("SSL"));
    if (ssl && !ssl->isEmpty()) {
        const QString mode = ssl->toLower();
        if (!kSslModes.contains(mode)) {
            setting.problem = framed(QStringLiteral("Il valore SSL=%1 in tavorio.ini non è valido: usate %2.")
                                         .arg(*ssl, kSslModes.join(QStringLiteral(", "))));
            return setting;
        }
        usable = withSslMode(address, mode);
    }
    // The reason never repeats the address, which may hold a password typed by mistake.
    if (const QString problem = store::serverAddressProblem(usable); !problem.isEmpty()) {
        setting.problem = framed(problem + QStringLiteral(" (tavorio.ini, sezione [Server])"));
        return setting;
    }
    setting.address = usable;
    return setting;
}
