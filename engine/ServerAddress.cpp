#include "engine/ServerAddress.h"

#include "engine/EngineError.h"
#include "platform/Secrets.h"

#include <QUrl>

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>

namespace dao {

namespace {

const QString kAddressSource = QStringLiteral("DAO.Workspace");
const QString kSchemes[] = {QStringLiteral("postgresql://"), QStringLiteral("postgres://")};
// allow and prefer are missing on purpose: both try again without TLS when TLS fails.
const QStringList kSslModes = {QStringLiteral("disable"), QStringLiteral("require"), QStringLiteral("verify-ca"),
                               QStringLiteral("verify-full")};
const QStringList kChannelBindings = {QStringLiteral("disable"), QStringLiteral("require")};

[[noreturn]] void invalid(const QString &why)
{
    throw EngineError(errInvalidArgument, kAddressSource, QStringLiteral("Indirizzo del server dell'archivio non valido: %1.").arg(why));
}

[[noreturn]] void passwordInAddress()
{
    invalid(QStringLiteral("non deve contenere la password, che si inserisce a parte"));
}

QString decoded(const QString &part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

int number(const QString &text, int low, int high, const QString &what)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < low || n > high)
        invalid(QStringLiteral("%1 deve essere un numero da %2 a %3").arg(what).arg(low).arg(high));
    return n;
}

QString encoded(const QString &part)
{
    return QString::fromUtf8(QUrl::toPercentEncoding(part));
}

} // namespace

bool isServerAddress(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &scheme : kSchemes)
        if (t.startsWith(scheme, Qt::CaseInsensitive))
            return true;
    return false;
}

QString addressWithRole(const QString &text, const QString &role)
{
    const QString t = text.trimmed();
    const qsizetype start = t.indexOf(QLatin1String("://"));
    if (start < 0)
        return t;
    const qsizetype authority = start + 3;
    qsizetype end = authority;
    while (end < t.size() && t[end] != u'/' && t[end] != u'?')
        ++end;
    const qsizetype at = t.lastIndexOf(u'@', end - 1);
    const qsizetype hostStart = at >= authority ? at + 1 : authority;
    return t.left(authority) + (role.isEmpty() ? QString() : encoded(role) + u'@') + t.mid(hostStart);
}

ServerAddress ServerAddress::parse(const QString &text)
{
    const QString t = text.trimmed();
    QString rest;
    for (const QString &scheme : kSchemes)
        if (t.startsWith(scheme, Qt::CaseInsensitive))
            rest = t.mid(scheme.size());
    if (!isServerAddress(t))
        invalid(QStringLiteral("deve iniziare con postgresql://"));

    ServerAddress a;
    QString query;
    if (const qsizetype q = rest.indexOf(QLatin1Char('?')); q >= 0) {
        query = rest.mid(q + 1);
        rest.truncate(q);
    }
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    QString authority = slash < 0 ? rest : rest.left(slash);
    a.database = slash < 0 ? QString() : decoded(rest.mid(slash + 1));

    // The role ends at the last "@": whatever holds a ":" before it is a role and a password.
    if (const qsizetype at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QString user = authority.left(at);
        if (user.contains(QLatin1Char(':')))
            passwordInAddress();
        a.role = decoded(user);
        authority = authority.mid(at + 1);
    }
    QString port;
    if (authority.startsWith(QLatin1Char('['))) {   // [IPv6 address]:port
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            invalid(QStringLiteral("l'indirizzo IPv6 non è chiuso da ']'"));
        a.host = authority.mid(1, close - 1);
        const QString after = authority.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(QLatin1Char(':')))
            invalid(QStringLiteral("dopo l'indirizzo IPv6 può seguire solo la porta"));
        port = after.mid(1);
    } else {
        const qsizetype colon = authority.lastIndexOf(QLatin1Char(':'));
        a.host = decoded(colon < 0 ? authority : authority.left(colon));
        if (colon >= 0)
            port = authority.mid(colon + 1);
    }
    if (!port.isEmpty())
        a.port = number(port, 1, 65535, QStringLiteral("la porta"));

    bool bindingGiven = false;
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        const QString key = decoded(eq < 0 ? pair : pair.left(eq)).trimmed().toLower();
        const QString value = eq < 0 ? QString() : decoded(pair.mid(eq + 1));
        if (key == QLatin1String("password") || key == QLatin1String("pwd") || key == QLatin1String("passfile"))
            passwordInAddress();
        if (key == QLatin1String("host"))
            a.host = value;
        else if (key == QLatin1String("port"))
            a.port = number(value, 1, 65535, QStringLiteral("la porta"));
        else if (key == QLatin1String("sslmode")) {
            if (!kSslModes.contains(value))
                invalid(QStringLiteral("sslmode deve essere uno fra %1").arg(kSslModes.join(QLatin1String(", "))));
            a.sslmode = value;
        } else if (key == QLatin1String("channel_binding")) {
            if (!kChannelBindings.contains(value))
                invalid(QStringLiteral("channel_binding deve essere require o disable"));
            a.channelBinding = value;
            bindingGiven = true;
        } else if (key == QLatin1String("connect_timeout"))
            a.connectTimeout = number(value, 1, 3600, QStringLiteral("connect_timeout"));
        else if (key == QLatin1String("sslrootcert"))
            a.sslRootCert = value;
        else if (key == QLatin1String("sslcrl"))
            a.sslCrl = value;
        else if (key == QLatin1String("sslcert"))
            a.sslCert = value;
        else if (key == QLatin1String("sslkey"))
            a.sslKey = value;
        else if (key == QLatin1String("application_name"))
            a.applicationName = value;
        else if (key == QLatin1String("user"))
            a.role = value;
        else if (key == QLatin1String("dbname"))
            a.database = value;
        else
            // Not repeated: a mistyped address may have put part of a password there.
            invalid(QStringLiteral("contiene un'opzione non ammessa (sono ammesse host, port, sslmode, "
                                   "channel_binding, connect_timeout, sslrootcert, sslcrl, sslcert, sslkey, "
                                   "application_name)"));
    }
    if (a.database.isEmpty())
        invalid(QStringLiteral("manca il nome del database (postgresql://server/database)"));
    // Without TLS there is no channel to bind the login to.
    if (a.sslmode == QLatin1String("disable") && !bindingGiven)
        a.channelBinding = QStringLiteral("disable");
    if (!a.isProtected() && !a.isLocal())
        invalid(QStringLiteral("sslmode=disable e channel_binding=disable sono ammessi solo per un server su questo "
                               "computer: dalla rete il server deve dimostrare la sua identità"));
    return a;
}

bool ServerAddress::isLocal() const
{
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')) || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QByteArray ip = host.toLatin1();
    in_addr v4{};
    if (::inet_pton(AF_INET, ip.constData(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    return ::inet_pton(AF_INET6, ip.constData(), &v6) == 1 && std::memcmp(&v6, &in6addr_loopback, sizeof v6) == 0;
}

bool ServerAddress::isProtected() const
{
    return sslmode != QLatin1String("disable") && channelBinding != QLatin1String("disable");
}

QString ServerAddress::displayText() const
{
    QString text = QStringLiteral("postgresql://");
    if (!role.isEmpty())
        text += encoded(role) + QLatin1Char('@');
    const bool socketFolder = host.startsWith(QLatin1Char('/'));
    if (!socketFolder)
        text += host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : encoded(host);
    if (port > 0 && !socketFolder)
        text += QLatin1Char(':') + QString::number(port);
    text += QLatin1Char('/') + encoded(database);
    QStringList query;
    if (socketFolder)
        query << QStringLiteral("host=") + encoded(host);
    if (port > 0 && socketFolder)
        query << QStringLiteral("port=%1").arg(port);
    if (sslmode != QLatin1String("verify-full"))
        query << QStringLiteral("sslmode=") + sslmode;
    const QString impliedBinding = sslmode == QLatin1String("disable") ? QStringLiteral("disable") : QStringLiteral("require");
    if (channelBinding != impliedBinding)
        query << QStringLiteral("channel_binding=") + channelBinding;
    if (!query.isEmpty())
        text += QLatin1Char('?') + query.join(QLatin1Char('&'));
    return text;
}

ServerAddress::Keywords::~Keywords()
{
    for (QByteArray &value : m_storage)
        secrets::wipe(value);
}

void ServerAddress::Keywords::add(const char *key, const QString &value)
{
    m_keys.push_back(key);
    m_storage.push_back(value.toUtf8());
}

const char *const *ServerAddress::Keywords::keys()
{
    m_keyArray = m_keys;
    m_keyArray.push_back(nullptr);
    return m_keyArray.data();
}

const char *const *ServerAddress::Keywords::values()
{
    m_valueArray.clear();
    for (const QByteArray &value : m_storage)
        m_valueArray.push_back(value.constData());
    m_valueArray.push_back(nullptr);
    return m_valueArray.data();
}

ServerAddress::Keywords ServerAddress::keywords(const QString &password) const
{
    Keywords k;
    if (!host.isEmpty())
        k.add("host", host);
    if (port > 0)
        k.add("port", QString::number(port));
    if (!role.isEmpty())
        k.add("user", role);
    k.add("dbname", database);
    if (!password.isEmpty())
        k.add("password", password);
    k.add("sslmode", sslmode);
    k.add("channel_binding", channelBinding);
    k.add("connect_timeout", QString::number(connectTimeout));
    // A server that went away mid-session is noticed within about connectTimeout seconds:
    // keepalive probes for an idle link, a send limit for one waiting on an answer.
    k.add("keepalives", QStringLiteral("1"));
    k.add("keepalives_idle", QString::number(std::max(1, connectTimeout / 2)));
    k.add("keepalives_interval", QString::number(std::max(1, connectTimeout / 4)));
    k.add("keepalives_count", QStringLiteral("2"));
    k.add("tcp_user_timeout", QString::number(connectTimeout * 1000));
    const std::pair<const char *, const QString *> files[] = {
        {"sslrootcert", &sslRootCert}, {"sslcrl", &sslCrl}, {"sslcert", &sslCert}, {"sslkey", &sslKey}};
    for (const auto &[key, value] : files)
        if (!value->isEmpty())
            k.add(key, *value);
    k.add("application_name", applicationName);
    return k;
}

} // namespace dao
