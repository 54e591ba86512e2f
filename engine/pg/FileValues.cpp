#include "engine/pg/FileValues.h"

#include "engine/jet/JetDialect.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace dao::pg {

namespace {

const QString kBlanks = QStringLiteral(" \t\n\r\f\v");

QStringView trimmedBlanks(QStringView text)
{
    while (!text.isEmpty() && kBlanks.contains(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && kBlanks.contains(text.back()))
        text.chop(1);
    return text;
}

const QRegularExpression &numberPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?"));
    return pattern;
}

} // namespace

ValueClass classOf(const Value &value)
{
    if (value.isNull())
        return ValueClass::Null;
    if (value.isText())
        return ValueClass::Text;
    if (value.isBytes())
        return ValueClass::Binary;
    return ValueClass::Number;
}

std::optional<Value> numberOfText(const QString &text)
{
    const QStringView number = trimmedBlanks(text);
    const auto match = numberPattern().match(number);
    if (!match.hasMatch() || match.capturedLength() != number.size())
        return std::nullopt;
    bool whole = false;
    const qint64 integer = number.toLongLong(&whole);
    if (whole)
        return Value(integer);
    return Value(number.toDouble());
}

QString realText(double value)
{
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    if (value == 0)
        return QStringLiteral("0.0");
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    QString text = QString::fromLatin1(buffer);
    if (!text.contains(u'.')) {
        const qsizetype exponent = text.indexOf(u'e');
        text.insert(exponent < 0 ? text.size() : exponent, QStringLiteral(".0"));
    }
    return text;
}

QString textOfValue(const Value &value)
{
    if (value.isInt() || value.isBool())
        return QString::number(value.asInt());
    if (value.isDouble() || value.isDate())
        return realText(value.asDouble());
    return value.asText();
}

std::optional<bool> truthOf(const Value &value)
{
    if (value.isNull())
        return std::nullopt;
    if (!value.isText())
        return value.asDouble() != 0;
    // A text holds when the number it begins with is not zero.
    const QString text = value.asText();
    qsizetype start = 0;
    while (start < text.size() && kBlanks.contains(text[start]))
        ++start;
    const auto match = numberPattern().match(QStringView(text).mid(start));
    return match.hasMatch() && match.capturedView().toDouble() != 0;
}

std::optional<int> compareValues(const Value &left, const Value &right)
{
    const ValueClass l = classOf(left);
    const ValueClass r = classOf(right);
    if (l == ValueClass::Null || r == ValueClass::Null)
        return std::nullopt;
    if (l != r)
        return l < r ? -1 : 1;
    if (l == ValueClass::Text)
        return jet::compareText(left.asText(), right.asText());
    if (l == ValueClass::Binary) {
        const int order = left.asBytes().compare(right.asBytes());
        return (order > 0) - (order < 0);
    }
    if ((left.isInt() || left.isBool()) && (right.isInt() || right.isBool()))
        return (left.asInt() > right.asInt()) - (left.asInt() < right.asInt());
    return (left.asDouble() > right.asDouble()) - (left.asDouble() < right.asDouble());
}

bool satisfies(int order, QStringView op)
{
    if (op == u"=")
        return order == 0;
    if (op == u"<>")
        return order != 0;
    if (op == u"<")
        return order < 0;
    if (op == u">")
        return order > 0;
    if (op == u"<=")
        return order <= 0;
    return order >= 0;
}

} // namespace dao::pg
