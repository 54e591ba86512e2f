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

QString addressWithRole(const QString &text, const QString &role)
{
    try {
        ServerAddress address = ServerAddress::parse(text);
        address.role = role;
        return address.text();
    } catch (const EngineError &) {
        return text.trimmed();
    }
}

QString ServerAddress::schemeOf(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &scheme : kSchemes)
        if (t.startsWith(scheme, Qt::CaseInsensitive))
            return scheme;
    return {};
}

ServerAddress ServerAddress::parse(const QString &text)
{
    ServerAddress a = parseForEdit(text);
    a.checkUsable();
    return a;
}

ServerAddress ServerAddress::parseForEdit(const QString &text)
{
    const QString t = text.trimmed();
    ServerAddress a;
    a.m_scheme = schemeOf(t);
    if (a.m_scheme.isEmpty())
        invalid(QStringLiteral("deve iniziare con postgresql://"));
    QString rest = t.mid(a.m_scheme.size());

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

    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        a.setOption(decoded(eq < 0 ? pair : pair.left(eq)).trimmed().toLower(), eq < 0 ? QString() : decoded(pair.mid(eq + 1)));
    }
    return a;
}

void ServerAddress::setOption(const QString &key, const QString &value)
{
    if (key == QLatin1String("password") || key == QLatin1String("pwd") || key == QLatin1String("passfile"))
        passwordInAddress();
    if (key == QLatin1String("host"))
        host = value;
    else if (key == QLatin1String("port"))
        port = number(value, 1, 65535, QStringLiteral("la porta"));
    else if (key == QLatin1String("sslmode")) {
        if (!kSslModes.contains(value))
            invalid(QStringLiteral("sslmode deve essere uno fra %1").arg(kSslModes.join(QLatin1String(", "))));
        sslmode = value;
    } else if (key == QLatin1String("channel_binding")) {
        if (!kChannelBindings.contains(value))
            invalid(QStringLiteral("channel_binding deve essere require o disable"));
        channelBinding = value;
    } else if (key == QLatin1String("connect_timeout"))
        connectTimeout = number(value, 1, 3600, QStringLiteral("connect_timeout"));
    else if (key == QLatin1String("sslrootcert"))
        sslRootCert = value;
    else if (key == QLatin1String("sslcrl"))
        sslCrl = value;
    else if (key == QLatin1String("sslcert"))
        sslCert = value;
    else if (key == QLatin1String("sslkey"))
        sslKey = value;
    else if (key == QLatin1String("application_name"))
        applicationName = value;
    else if (key == QLatin1String("user"))
        role = value;
    else if (key == QLatin1String("dbname"))
        database = value;
    else
        // Not repeated: a mistyped address may have put part of a password there.
        invalid(QStringLiteral("contiene un'opzione non ammessa (sono ammesse host, port, sslmode, "
                               "channel_binding, connect_timeout, sslrootcert, sslcrl, sslcert, sslkey, "
                               "application_name)"));
    m_written.removeAll(key);
    m_written.append(key);
    // Without TLS there is no channel to bind the login to.
    if (!written("channel_binding"))
        channelBinding = sslmode == QLatin1String("disable") ? QStringLiteral("disable") : QStringLiteral("require");
}

void ServerAddress::setSslMode(const QString &mode) { setOption(QStringLiteral("sslmode"), mode); }

void ServerAddress::setSslRootCert(const QString &path) { setOption(QStringLiteral("sslrootcert"), path); }

void ServerAddress::setConnectTimeout(const QString &seconds) { setOption(QStringLiteral("connect_timeout"), seconds); }

void ServerAddress::checkUsable() const
{
    if (database.isEmpty())
        invalid(QStringLiteral("manca il nome del database (postgresql://server/database)"));
    if (!isProtected() && !isLocal())
        invalid(QStringLiteral("sslmode=disable e channel_binding=disable sono ammessi solo per un server su questo "
                               "computer: dalla rete il server deve dimostrare la sua identità"));
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

QString ServerAddress::optionValue(const QString &key) const
{
    if (key == QLatin1String("host"))
        return host;
    if (key == QLatin1String("port"))
        return QString::number(port);
    if (key == QLatin1String("sslmode"))
        return sslmode;
    if (key == QLatin1String("channel_binding"))
        return channelBinding;
    if (key == QLatin1String("connect_timeout"))
        return QString::number(connectTimeout);
    if (key == QLatin1String("sslrootcert"))
        return sslRootCert;
    if (key == QLatin1String("sslcrl"))
        return sslCrl;
    if (key == QLatin1String("sslcert"))
        return sslCert;
    if (key == QLatin1String("sslkey"))
        return sslKey;
    if (key == QLatin1String("application_name"))
        return applicationName;
    if (key == QLatin1String("user"))
        return role;
    return database;   // dbname
}

// Whether text() may leave an option out that was not written: the authority holds the role,
// a host name and the port, the path the database; the rest have their defaults.
bool ServerAddress::isDefault(const QString &key) const
{
    if (key == QLatin1String("host"))
        return !host.startsWith(QLatin1Char('/'));
    if (key == QLatin1String("sslmode"))
        return sslmode == QLatin1String("verify-full");
    if (key == QLatin1String("channel_binding"))
        return channelBinding == (sslmode == QLatin1String("disable") ? QLatin1String("disable") : QLatin1String("require"));
    if (key == QLatin1String("connect_timeout"))
        return connectTimeout == ServerAddress().connectTimeout;
    if (key == QLatin1String("application_name"))
        return applicationName == ServerAddress().applicationName;
    if (key == QLatin1String("port") || key == QLatin1String("user") || key == QLatin1String("dbname"))
        return true;
    return optionValue(key).isEmpty();
}

QString ServerAddress::text() const
{
    static const QStringList kOptions = {QStringLiteral("host"), QStringLiteral("sslmode"), QStringLiteral("channel_binding"),
                                         QStringLiteral("connect_timeout"), QStringLiteral("sslrootcert"),
                                         QStringLiteral("sslcrl"), QStringLiteral("sslcert"), QStringLiteral("sslkey"),
                                         QStringLiteral("application_name")};
    QStringList options = m_written;
    for (const QString &key : kOptions)
        if (!options.contains(key) && !isDefault(key))
            options << key;

    QString text = m_scheme;
    if (!role.isEmpty() && !written("user"))
        text += encoded(role) + QLatin1Char('@');
    if (!options.contains(QLatin1String("host")))
        text += host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : encoded(host);
    if (port > 0 && !written("port"))
        text += QLatin1Char(':') + QString::number(port);
    text += QLatin1Char('/') + (written("dbname") ? QString() : encoded(database));
    QStringList query;
    for (const QString &key : options)
        query << key + QLatin1Char('=') + encoded(optionValue(key));
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
