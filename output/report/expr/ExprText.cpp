#include "output/report/expr/ExprText.h"

#include "output/report/expr/DateTimeFormat.h"
#include "output/report/expr/ExprNode.h"
#include "output/report/expr/FloatFormat.h"

namespace report {

ExprText::ExprText(const QString &text)
{
    QString literal;
    int i = 0;
    const int size = int(text.size());
    while (i < size) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('[')) {
            literal += c;
            ++i;
            continue;
        }
        int depth = 0;
        int close = -1;
        for (int j = i; j < size; ++j) {
            if (text.at(j) == QLatin1Char('['))
                ++depth;
            else if (text.at(j) == QLatin1Char(']') && --depth == 0) {
                close = j;
                break;
            }
        }
        if (close < 0) {   // never closed: the rest prints as it stands
            literal += text.mid(i);
            break;
        }
        if (!literal.isEmpty())
            m_pieces.push_back({literal, -1});
        literal.clear();
        m_pieces.push_back({QString(), int(m_expressions.size())});
        m_expressions.emplace_back(text.mid(i + 1, close - i - 1));
        i = close + 1;
    }
    if (!literal.isEmpty())
        m_pieces.push_back({literal, -1});
}

QString ExprText::display(const ExprValue &value, const QString &displayFormat)
{
    if (displayFormat.isEmpty())
        return value.toText();
    // A picture with digit places is for numbers; any other for dates and times.
    const bool numberPicture = displayFormat.contains(QLatin1Char('0')) || displayFormat.contains(QLatin1Char('#'));
    if (value.isNumber())
        return numberPicture ? formatFloat(displayFormat, value.number()) : value.toText();
    if (value.isDateTime() && value.toDateTime().isValid() && !numberPicture)
        return formatDateTime(displayFormat, value.toDateTime());
    return value.toText();
}

QString ExprText::expand(ExprScope &scope, const QString &displayFormat) const
{
    return expandParts(scope, displayFormat, nullptr);
}

QString ExprText::expand(ExprScope &scope, const QString &displayFormat, std::vector<qsizetype> &held) const
{
    return expandParts(scope, displayFormat, &held);
}

QString ExprText::expandParts(ExprScope &scope, const QString &displayFormat, std::vector<qsizetype> *held) const
{
    QString out;
    for (const Piece &piece : m_pieces) {
        if (piece.expression < 0) {
            out += piece.literal;
            continue;
        }
        const Expression &expression = m_expressions[size_t(piece.expression)];
        const int heldBefore = held ? scope.heldValuesAsked() : 0;
        const ExprValue value = expression.evaluate(scope);
        // Only a part that is the held value itself can take it later as it stands; one that
        // computed with it is left as it is, and the scope's count tells the engine so.
        if (held && scope.heldValuesAsked() == heldBefore + 1 && expression.root()
            && expression.root()->kind == ExprNode::Kind::Name) {
            held->push_back(out.size());
            continue;
        }
        if (!value.isNull())
            out += display(value, displayFormat);
    }
    return out;
}

QString expandText(const QString &text, ExprScope &scope)
{
    return ExprText(text).expand(scope);
}

} // namespace report
