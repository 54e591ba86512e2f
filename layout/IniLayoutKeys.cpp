#include "layout/IniLayoutKeys.h"

#include "layout/EIniFileException.h"
#include "layout/IniNumbers.h"
#include "layout/PrivateProfile.h"

namespace {

bool isQuoted(const QString &value)
{
    return value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\'');
}

} // namespace

std::optional<QString> IniLayoutKeys::read(const QString &section, const QString &key) const
{
    return privateprofile::readKey(m_fileName, section, key);
}

void IniLayoutKeys::write(const QString &section, const QString &key, const QString &value)
{
    const QString stored = isQuoted(value) ? u'"' + value + u'"' : value;
    if (!privateprofile::writeKey(m_fileName, section, key, stored))
        raiseWriteError();
}

void IniLayoutKeys::eraseSection(const QString &section)
{
    if (!privateprofile::eraseSection(m_fileName, section))
        raiseWriteError();
}

QString IniLayoutKeys::readString(const QString &section, const QString &key, const QString &fallback) const
{
    return read(section, key).value_or(fallback);
}

int IniLayoutKeys::readInteger(const QString &section, const QString &key, int fallback) const
{
    const auto value = read(section, key);
    return value ? ininumbers::toIntegerOr(*value, fallback) : fallback;
}

void IniLayoutKeys::writeInteger(const QString &section, const QString &key, int value)
{
    write(section, key, QString::number(value));
}

void IniLayoutKeys::raiseWriteError() const
{
    throw EIniFileException(QStringLiteral("Unable to write to %1").arg(m_fileName));
}
