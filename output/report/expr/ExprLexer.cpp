#include "output/report/expr/ExprLexer.h"

#include "output/report/expr/ExprError.h"

namespace report {

namespace {
bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
}

ExprToken ExprLexer::next()
{
    while (m_pos < m_source.size() && m_source.at(m_pos).isSpace())
        ++m_pos;
    const int begin = m_pos;
    ExprToken token;
    token.begin = token.end = begin;
    if (m_pos >= m_source.size())
        return token;

    const QChar c = m_source.at(m_pos);
    if (isDigit(c))
        return readNumber(begin);
    if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
        return readQuoted(begin);
    if (isNameStart(c))
        return readIdentifier(begin);

    ++m_pos;
    token.text = QString(c);
    switch (c.unicode()) {
    case '(': case '[': token.type = ExprToken::Type::Open; break;
    case ')': case ']': token.type = ExprToken::Type::Close; break;
    case ';': case ',': token.type = ExprToken::Type::Separator; break;
    case '.': token.type = ExprToken::Type::Dot; break;
    case '+': case '-': case '*': case '/': case '=':
        token.type = ExprToken::Type::Operator;
        break;
    case '<': case '>':
        token.type = ExprToken::Type::Operator;
        if (m_pos < m_source.size()
            && (m_source.at(m_pos) == QLatin1Char('=') || (c == QLatin1Char('<') && m_source.at(m_pos) == QLatin1Char('>'))))
            token.text += m_source.at(m_pos++);
        break;
    default:
        throw ExprError(ExprErrorKind::UnknownIdentifier, token.text);
    }
    token.end = m_pos;
    return token;
}

ExprToken ExprLexer::readNumber(int begin)
{
    while (m_pos < m_source.size() && isDigit(m_source.at(m_pos)))
        ++m_pos;
    // A comma or point is decimal only with a digit on both sides: "3,5" but "3, 5" is two.
    if (m_pos + 1 < m_source.size()
        && (m_source.at(m_pos) == QLatin1Char(',') || m_source.at(m_pos) == QLatin1Char('.'))
        && isDigit(m_source.at(m_pos + 1))) {
        ++m_pos;
        while (m_pos < m_source.size() && isDigit(m_source.at(m_pos)))
            ++m_pos;
    }
    ExprToken token;
    token.type = ExprToken::Type::Number;
    token.begin = begin;
    token.end = m_pos;
    token.text = m_source.mid(begin, m_pos - begin);
    token.number = QString(token.text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    return token;
}

ExprToken ExprLexer::readQuoted(int begin)
{
    const QChar quote = m_source.at(m_pos++);
    QString text;
    for (;;) {
        if (m_pos >= m_source.size())
            throw ExprError(ExprErrorKind::UnknownIdentifier, m_source.mid(begin));
        const QChar c = m_source.at(m_pos++);
        if (c != quote) {
            text += c;
            continue;
        }
        if (m_pos < m_source.size() && m_source.at(m_pos) == quote) {
            text += quote;
            ++m_pos;
            continue;
        }
        break;
    }
    ExprToken token;
    token.type = quote == QLatin1Char('"') ? ExprToken::Type::QuotedName : ExprToken::Type::Text;
    token.text = text;
    token.begin = begin;
    token.end = m_pos;
    return token;
}

ExprToken ExprLexer::readIdentifier(int begin)
{
    while (m_pos < m_source.size() && isNamePart(m_source.at(m_pos)))
        ++m_pos;
    ExprToken token;
    token.type = ExprToken::Type::Identifier;
    token.text = m_source.mid(begin, m_pos - begin);
    token.begin = begin;
    token.end = m_pos;
    return token;
}

} // namespace report
