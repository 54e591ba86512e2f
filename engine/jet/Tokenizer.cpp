#include "engine/jet/Tokenizer.h"

#include "engine/jet/JetError.h"

namespace dao::jet {

namespace {

bool isWordStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isWordPart(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

class Tokenizer final {
public:
    explicit Tokenizer(QStringView text) : m_text(text) {}

    std::vector<Token> run()
    {
        std::vector<Token> tokens;
        for (;;) {
            while (m_pos < m_text.size() && m_text[m_pos].isSpace())
                ++m_pos;
            if (m_pos >= m_text.size())
                break;
            tokens.push_back(next());
        }
        tokens.push_back(Token{TokenKind::End, {}, m_text.size(), m_text.size()});
        return tokens;
    }

private:
    Token next()
    {
        const qsizetype start = m_pos;
        const QChar c = m_text[m_pos];
        if (isWordStart(c)) {
            while (m_pos < m_text.size() && isWordPart(m_text[m_pos]))
                ++m_pos;
            return make(TokenKind::Word, start, m_text.mid(start, m_pos - start).toString());
        }
        if (isDigit(c) || (c == u'-' && m_pos + 1 < m_text.size() && isDigit(m_text[m_pos + 1])))
            return number(start);
        switch (c.unicode()) {
        case u'"':
        case u'\'':
            return quoted(start, c);
        case u'[':
            return enclosed(start, u']', TokenKind::Name, QStringLiteral("nome tra parentesi quadre"));
        case u'#':
            return enclosed(start, u'#', TokenKind::Date, QStringLiteral("data tra #"));
        case u'(': return single(TokenKind::LParen);
        case u')': return single(TokenKind::RParen);
        case u',': return single(TokenKind::Comma);
        case u'.': return single(TokenKind::Dot);
        case u'*': return single(TokenKind::Star);
        case u';': return single(TokenKind::Semicolon);
        case u'=': return single(TokenKind::Operator);
        case u'<':
            if (m_pos + 1 < m_text.size() && (m_text[m_pos + 1] == u'>' || m_text[m_pos + 1] == u'=')) {
                m_pos += 2;
                return make(TokenKind::Operator, start, m_text.mid(start, 2).toString());
            }
            return single(TokenKind::Operator);
        case u'>':
            if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'=') {
                m_pos += 2;
                return make(TokenKind::Operator, start, QStringLiteral(">="));
            }
            return single(TokenKind::Operator);
        default:
            throwSyntaxError(QStringLiteral("carattere non ammesso '%1'").arg(c), m_text, start);
        }
    }

    Token make(TokenKind kind, qsizetype start, QString text) const
    {
        return Token{kind, std::move(text), start, m_pos};
    }

    Token single(TokenKind kind)
    {
        ++m_pos;
        return make(kind, m_pos - 1, m_text.mid(m_pos - 1, 1).toString());
    }

    Token number(qsizetype start)
    {
        if (m_text[m_pos] == u'-')
            ++m_pos;
        auto digits = [this] {
            while (m_pos < m_text.size() && isDigit(m_text[m_pos]))
                ++m_pos;
        };
        digits();
        if (m_pos + 1 < m_text.size() && m_text[m_pos] == u'.' && isDigit(m_text[m_pos + 1])) {
            ++m_pos;
            digits();
        }
        // "12abc" or "1.2.3" would otherwise split into tokens that happen to parse.
        if (m_pos < m_text.size() && (isWordPart(m_text[m_pos]) || m_text[m_pos] == u'.'))
            throwSyntaxError(QStringLiteral("numero non valido"), m_text, start);
        return make(TokenKind::Number, start, m_text.mid(start, m_pos - start).toString());
    }

    Token quoted(qsizetype start, QChar quote)
    {
        QString value;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size())
                throwSyntaxError(QStringLiteral("testo tra virgolette non chiuso"), m_text, start);
            const QChar c = m_text[m_pos++];
            if (c != quote) {
                value.append(c);
            } else if (m_pos < m_text.size() && m_text[m_pos] == quote) {
                value.append(quote);
                ++m_pos;
            } else {
                break;
            }
        }
        return make(TokenKind::Text, start, std::move(value));
    }

    Token enclosed(qsizetype start, QChar close, TokenKind kind, const QString &what)
    {
        const qsizetype closing = m_text.indexOf(close, start + 1);
        if (closing < 0)
            throwSyntaxError(QStringLiteral("%1 non chiuso").arg(what), m_text, start);
        if (closing == start + 1)
            throwSyntaxError(QStringLiteral("%1 vuoto").arg(what), m_text, start);
        m_pos = closing + 1;
        return make(kind, start, m_text.mid(start + 1, closing - start - 1).toString());
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

std::vector<Token> tokenize(QStringView text)
{
    return Tokenizer(text).run();
}

} // namespace dao::jet
