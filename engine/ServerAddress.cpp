#include "engine/ServerAddress.h"

#include "engine/EngineError.h"

#include <QUrl>

namespace dao {

namespace {

const QString kAddressSource = QStringLiteral("DAO.Workspace");
const QString kSchemes[] = {QStringLiteral("postgresql://"), QStringLiteral("postgres://")};
const QStringList kSslModes = {QStringLiteral("disable"), QStringLiteral("allow"), QStringLiteral("prefer"),
                               QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};

[[noreturn]] void invalid(const QString &why)
{
    throw EngineError(3001, kAddressSource, QStringLiteral("Indirizzo del server dell'archivio non valido: %1.").arg(why));
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
        } else if (key == QLatin1String("connect_timeout"))
            a.connectTimeout = number(value, 0, 3600, QStringLiteral("connect_timeout"));
        else if (key == QLatin1String("sslrootcert"))
            a.sslRootCert = value;
        else if (key == QLatin1String("application_name"))
            a.applicationName = value;
        else if (key == QLatin1String("user"))
            a.role = value;
        else if (key == QLatin1String("dbname"))
            a.database = value;
        else
            // Not repeated: a mistyped address may have put part of a password there.
            invalid(QStringLiteral("contiene un'opzione non ammessa (sono ammesse host, port, sslmode, "
                                   "connect_timeout, sslrootcert, application_name)"));
    }
    if (a.database.isEmpty())
        invalid(QStringLiteral("manca il nome del database (postgresql://server/database)"));
    return a;
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
    if (sslmode != QLatin1String("prefer"))
        query << QStringLiteral("sslmode=") + sslmode;
    if (!query.isEmpty())
        text += QLatin1Char('?') + query.join(QLatin1Char('&'));
    return text;
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
    k.add("connect_timeout", QString::number(connectTimeout));
    if (!sslRootCert.isEmpty())
        k.add("sslrootcert", sslRootCert);
    k.add("application_name", applicationName);
    return k;
}

} // namespace dao
