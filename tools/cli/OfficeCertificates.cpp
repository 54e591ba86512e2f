#include "tools/cli/OfficeCertificates.h"

#include "archive/CliError.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <arpa/inet.h>

namespace cli {

namespace {

void openssl(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral("openssl"), args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw CliError(ExitCode::Refused, QStringLiteral("Impossibile creare i certificati con il comando openssl: %1")
                                              .arg(process.errorString() + u' '
                                                   + QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
}

bool isIpAddress(const QString &name)
{
    unsigned char address[16];
    const QByteArray text = name.toLatin1();
    return ::inet_pton(AF_INET, text.constData(), address) == 1 || ::inet_pton(AF_INET6, text.constData(), address) == 1;
}

QString subjectAltNames(const QStringList &names)
{
    QStringList entries;
    for (const QString &name : names)
        entries << (isIpAddress(name) ? QStringLiteral("IP:") : QStringLiteral("DNS:")) + name;
    return entries.join(u',');
}

const QStringList kNewKey{QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                          QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};

} // namespace

OfficeCertificates makeOfficeCertificates(const QString &folder, const QStringList &serverNames)
{
    const auto in = [&](const char *name) { return folder + u'/' + QLatin1String(name); };
    OfficeCertificates made{in("ufficio-ca.crt"), in("server.crt"), in("server.key")};
    const QString authorityKey = in("ufficio-ca.key");
    openssl(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + kNewKey
            + QStringList{QStringLiteral("-days"), QStringLiteral("3650"), QStringLiteral("-subj"),
                          QStringLiteral("/CN=Autorita dei certificati di Tavorio"), QStringLiteral("-addext"),
                          QStringLiteral("basicConstraints=critical,CA:TRUE"), QStringLiteral("-addext"),
                          QStringLiteral("keyUsage=critical,keyCertSign,cRLSign"), QStringLiteral("-keyout"),
                          authorityKey, QStringLiteral("-out"), made.authority});
    const QString request = in("server.csr");
    openssl(QStringList{QStringLiteral("req"), QStringLiteral("-new")} + kNewKey
            + QStringList{QStringLiteral("-subj"), QStringLiteral("/CN=") + serverNames.front(), QStringLiteral("-keyout"),
                          made.serverKey, QStringLiteral("-out"), request});
    const QString extensions = in("server.ext");
    QFile ext(extensions);
    if (!ext.open(QIODevice::WriteOnly))
        throw CliError(ExitCode::Refused, QStringLiteral("Impossibile scrivere %1.").arg(extensions));
    ext.write(QStringLiteral("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature,keyEncipherment\n"
                             "extendedKeyUsage=serverAuth\nsubjectAltName=%1\n").arg(subjectAltNames(serverNames)).toUtf8());
    ext.close();
    openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), request, QStringLiteral("-CA"),
             made.authority, QStringLiteral("-CAkey"), authorityKey, QStringLiteral("-set_serial"),
             QStringLiteral("0x%1").arg(QRandomGenerator::system()->generate64() >> 1, 0, 16), QStringLiteral("-days"),
             QStringLiteral("3650"), QStringLiteral("-sha256"), QStringLiteral("-extfile"), extensions,
             QStringLiteral("-out"), made.serverCert});
    QFile::remove(authorityKey);
    QFile::remove(request);
    QFile::remove(extensions);
    return made;
}

} // namespace cli
