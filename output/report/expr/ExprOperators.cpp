#include "output/report/expr/ExprOperators.h"

#include "output/report/expr/ExprConvert.h"

#include <cmath>

namespace report {

namespace {

using Kind = ExprValue::Kind;

[[noreturn]] void incompatible(const QString &source)
{
    throw ExprError(ExprErrorKind::IncompatibleTypes, source);
}

// Numbers, flags and empty values take part in arithmetic as numbers.
bool isNumeric(const ExprValue &v) { return v.isNumber() || v.isFlag() || v.isEmpty(); }

ExprValue add(const ExprValue &a, const ExprValue &b, const QString &source)
{
    if (a.isText() || b.isText())
        return ExprValue(a.toText() + b.toText());
    if (a.isEmpty() && b.isEmpty())
        return {};
    // Two dates do not add up, but a day and a time of day (DATE + TIME) do.
    auto isTimeOfDay = [](const ExprValue &v) { return v.number() >= 0 && v.number() < 1; };
    if (a.isDateTime() && b.isDateTime() && !isTimeOfDay(a) && !isTimeOfDay(b))
        incompatible(source);
    if (a.isDateTime() || b.isDateTime())
        return ExprValue::dateTime(a.number() + b.number());
    return ExprValue(a.number() + b.number());
}

ExprValue subtract(const ExprValue &a, const ExprValue &b, const QString &source)
{
    if (a.isText() || b.isText())
        incompatible(source);
    if (a.isDateTime() && b.isDateTime())
        return ExprValue(a.number() - b.number());
    if (a.isDateTime())
        return ExprValue::dateTime(a.number() - b.number());
    if (b.isDateTime())
        incompatible(source);
    return ExprValue(a.number() - b.number());
}

ExprValue arithmetic(ExprOp op, const ExprValue &a, const ExprValue &b, const QString &source)
{
    if (!isNumeric(a) || !isNumeric(b))
        incompatible(source);
    const double x = a.number();
    const double y = b.number();
    switch (op) {
    case ExprOp::Multiply:
        return ExprValue(x * y);
    case ExprOp::Divide:
        if (y == 0)
            incompatible(source);
        return ExprValue(x / y);
    case ExprOp::IntDivide:
        if (std::trunc(y) == 0)
            incompatible(source);
        return ExprValue(std::trunc(std::trunc(x) / std::trunc(y)));
    default:   // Modulo
        if (std::trunc(y) == 0)
            incompatible(source);
        return ExprValue(std::fmod(std::trunc(x), std::trunc(y)));
    }
}

int sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

// A text on one side is read in the kind of the other side.
int compare(const ExprValue &a, const ExprValue &b, const QString &source)
{
    if (a.isText() && b.isText())
        return compareTexts(a.rawText(), b.rawText());
    if (a.isText() || b.isText()) {
        const ExprValue &text = a.isText() ? a : b;
        const ExprValue &other = a.isText() ? b : a;
        std::optional<double> read;
        if (other.isEmpty())
            return a.isText() ? compareTexts(text.rawText(), QString()) : compareTexts(QString(), text.rawText());
        if (other.isDateTime())
            read = parseItalianDate(text.rawText());
        else if (other.isNumber())
            read = parseItalianNumber(text.rawText());
        else if (other.isFlag())
            read = text.rawText().compare(QLatin1String("Sì"), Qt::CaseInsensitive) == 0 ? 1.0
                 : text.rawText().compare(QLatin1String("No"), Qt::CaseInsensitive) == 0 ? std::optional<double>(0.0)
                 : std::nullopt;
        if (!read)
            incompatible(source);
        return a.isText() ? sign(*read - other.number()) : sign(other.number() - *read);
    }
    return sign(a.number() - b.number());
}

} // namespace

bool truthOf(const ExprValue &value, const QString &source)
{
    if (value.isText())
        incompatible(source);
    return value.truth();
}

ExprValue applyUnary(ExprOp op, const ExprValue &operand, const QString &source)
{
    if (op == ExprOp::Not)
        return ExprValue(!truthOf(operand, source));
    if (!isNumeric(operand))
        incompatible(source);
    return ExprValue(op == ExprOp::Negate ? -operand.number() : operand.number());
}

ExprValue applyBinary(ExprOp op, const ExprValue &left, const ExprValue &right, const QString &source)
{
    switch (op) {
    case ExprOp::Add: return add(left, right, source);
    case ExprOp::Subtract: return subtract(left, right, source);
    case ExprOp::Multiply:
    case ExprOp::Divide:
    case ExprOp::IntDivide:
    case ExprOp::Modulo: return arithmetic(op, left, right, source);
    case ExprOp::Equal: return ExprValue(compare(left, right, source) == 0);
    case ExprOp::NotEqual: return ExprValue(compare(left, right, source) != 0);
    case ExprOp::Less: return ExprValue(compare(left, right, source) < 0);
    case ExprOp::Greater: return ExprValue(compare(left, right, source) > 0);
    case ExprOp::LessEqual: return ExprValue(compare(left, right, source) <= 0);
    case ExprOp::GreaterEqual: return ExprValue(compare(left, right, source) >= 0);
    default: break;
    }
    incompatible(source);
}

} // namespace report
