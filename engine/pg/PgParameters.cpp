#include "engine/pg/PgParameters.h"

#include "engine/EngineError.h"
#include "engine/pg/PgTypes.h"

#include <QLocale>
#include <cmath>
#include <variant>

namespace dao::pg {

namespace {

QByteArray doubleParameterText(double d)
{
    if (std::isnan(d))
        return QByteArrayLiteral("NaN");
    if (std::isinf(d))
        return d > 0 ? QByteArrayLiteral("Infinity") : QByteArrayLiteral("-Infinity");
    return QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QByteArray numberedPlaceholders(const QString &sql, int *count)
{
    QString out;
    out.reserve(sql.size() + 16);
    int n = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++n);
            continue;
        }
        out += c;
    }
    *count = n;
    return out.toUtf8();
}

PgParameters::PgParameters(const std::vector<Value> &params, const QString &source)
{
    m_storage.reserve(params.size());
    for (const Value &v : params) {
        unsigned type = 0;
        int format = 0;
        bool null = false;
        QByteArray text;
        std::visit([&](const auto &x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) null = true;
            else if constexpr (std::is_same_v<T, bool>) text = x ? "-1" : "0";
            else if constexpr (std::is_same_v<T, qint64>) text = QByteArray::number(x);
            else if constexpr (std::is_same_v<T, double>) text = doubleParameterText(x);
            else if constexpr (std::is_same_v<T, Date>) text = doubleParameterText(x.days);
            else if constexpr (std::is_same_v<T, QString>) text = x.toUtf8();
            else { text = x; type = kByteaOid; format = 1; }
        }, v.storage());
        if (format == 0 && text.contains('\0'))
            throw EngineError(errEngineFailure, source,
                              QStringLiteral("Il testo contiene un carattere nullo, che il server dell'archivio non accetta."));
        m_storage.push_back(text);   // reserved: earlier values keep their place
        m_types.push_back(type);
        m_values.push_back(null ? nullptr : m_storage.back().constData());
        m_lengths.push_back(int(m_storage.back().size()));
        m_formats.push_back(format);
    }
}

} // namespace dao::pg
