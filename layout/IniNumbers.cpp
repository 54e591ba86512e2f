#include "layout/IniNumbers.h"

#include <limits>

namespace ininumbers {

namespace {

// Bare digits only, stopping before the value could overflow.
std::optional<quint64> digitsValue(QStringView digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : digits) {
        const int digit = c.isDigit() && c.unicode() < 128 ? c.unicode() - '0'
                        : base == 16 && c.toLower() >= u'a' && c.toLower() <= u'f' ? c.toLower().unicode() - 'a' + 10
                                                                                   : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * quint64(base) + quint64(digit);
        if (value > std::numeric_limits<quint32>::max())
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<int> toInteger(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }

    bool hex = false;
    if (text.startsWith(u'$')) {
        hex = true;
        text = text.mid(1);
    } else if (text.startsWith(u"0x", Qt::CaseInsensitive) && text.size() > 2) {
        hex = true;
        text = text.mid(2);
    }

    const auto magnitude = digitsValue(text, hex ? 16 : 10);
    if (!magnitude)
        return std::nullopt;
    if (hex) {
        // Eight hex digits fill the 32 bits, the top one being the sign.
        const quint32 bits = quint32(*magnitude);
        return int(negative ? 0u - bits : bits);
    }
    const quint64 limit = negative ? quint64(std::numeric_limits<int>::max()) + 1 : quint64(std::numeric_limits<int>::max());
    if (*magnitude > limit)
        return std::nullopt;
    return int(negative ? -qint64(*magnitude) : qint64(*magnitude));
}

int toIntegerOr(QStringView text, int fallback)
{
    return toInteger(text).value_or(fallback);
}

} // namespace ininumbers
