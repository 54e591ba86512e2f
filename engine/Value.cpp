#include "engine/Value.h"

#include <cmath>

namespace dao {

bool Value::asBool() const
{
    return std::visit([](const auto &v) -> bool {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) return false;
        else if constexpr (std::is_same_v<T, bool>) return v;
        else if constexpr (std::is_same_v<T, qint64>) return v != 0;
        else if constexpr (std::is_same_v<T, double>) return v != 0.0;
        else if constexpr (std::is_same_v<T, Date>) return v.days != 0.0;
        else if constexpr (std::is_same_v<T, QString>) {
            const QString t = v.trimmed().toLower();
            return t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("-1")
                || t == QLatin1String("on") || t == QLatin1String("1");
        } else return !v.isEmpty();
    }, m_v);
}

qint64 Value::asInt() const
{
    return std::visit([](const auto &v) -> qint64 {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) return 0;
        else if constexpr (std::is_same_v<T, bool>) return v ? -1 : 0;
        else if constexpr (std::is_same_v<T, qint64>) return v;
        else if constexpr (std::is_same_v<T, double>) return qint64(std::llround(v));
        else if constexpr (std::is_same_v<T, Date>) return qint64(std::llround(v.days));
        else if constexpr (std::is_same_v<T, QString>) {
            bool ok = false;
            const qint64 i = v.trimmed().toLongLong(&ok);
            if (ok) return i;
            const double d = v.trimmed().toDouble(&ok);
            return ok ? qint64(std::llround(d)) : 0;
        } else return 0;
    }, m_v);
}

double Value::asDouble() const
{
    return std::visit([](const auto &v) -> double {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) return 0.0;
        else if constexpr (std::is_same_v<T, bool>) return v ? -1.0 : 0.0;
        else if constexpr (std::is_same_v<T, qint64>) return double(v);
        else if constexpr (std::is_same_v<T, double>) return v;
        else if constexpr (std::is_same_v<T, Date>) return v.days;
        else if constexpr (std::is_same_v<T, QString>) return v.trimmed().toDouble();
        else return 0.0;
    }, m_v);
}

QString Value::asText() const
{
    return std::visit([](const auto &v) -> QString {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) return {};
        else if constexpr (std::is_same_v<T, bool>) return v ? QStringLiteral("True") : QStringLiteral("False");
        else if constexpr (std::is_same_v<T, qint64>) return QString::number(v);
        else if constexpr (std::is_same_v<T, double>) return QString::number(v, 'g', 15);
        else if constexpr (std::is_same_v<T, Date>) return QString::number(v.days, 'g', 15);
        else if constexpr (std::is_same_v<T, QString>) return v;
        else return QString::fromLatin1(v);
    }, m_v);
}

QByteArray Value::asBytes() const
{
    if (const auto *b = std::get_if<QByteArray>(&m_v))
        return *b;
    return asText().toUtf8();
}

} // namespace dao
