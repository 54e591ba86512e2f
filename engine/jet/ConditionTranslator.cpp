// Recursive descent over the condition grammar:
//   expr      := and (OR and)*
//   and       := not (AND not)*
//   not       := NOT not | predicate
//   predicate := primary [compOp operand | IS [NOT] NULL | [NOT] LIKE operand]
//   primary   := "(" expr ")" | operand
//   operand   := field | number | text | #date# | True | False | Null
//              | LCASE(operand) | UCASE(operand) | "(" operand ")"
// A parenthesised primary may turn out to be a lone operand, "(5) = [x]", so every
// translated piece remembers whether it is still usable as an operand.
// Nesting (parentheses, NOT, functions) is bounded: each level deepens the SQLite text too,
// whose parser gives up at about a hundred, and a text nested thousands deep would exhaust
// the stack. The program and its printed lists nest a few levels.

#include "engine/jet/JetDialect.h"
#include "engine/jet/JetError.h"
#include "engine/jet/Names.h"
#include "engine/jet/TokenStream.h"

#include <QStringList>

namespace dao::jet {

namespace {

struct Piece {
    QString sql;
    bool operand = false;
};

class ConditionTranslator final {
public:
    ConditionTranslator(QStringView text, const Columns &columns) : m_tokens(text), m_columns(columns) {}

    SqlFragment run()
    {
        if (m_tokens.atEnd())
            throwSyntaxError(QStringLiteral("condizione vuota"));
        Piece result = expression();
        if (!m_tokens.atEnd())
            m_tokens.fail(QStringLiteral("attesa la fine dell'espressione"));
        return SqlFragment{std::move(result.sql), std::move(m_params)};
    }

private:
    static constexpr int kMaxNesting = 20;

    // One level deeper for the life of the object; refused past kMaxNesting.
    class Nesting final {
    public:
        explicit Nesting(ConditionTranslator &translator) : m_translator(translator)
        {
            if (++m_translator.m_depth > kMaxNesting)
                m_translator.m_tokens.fail(QStringLiteral("condizione annidata oltre %1 livelli").arg(kMaxNesting));
        }
        ~Nesting() { --m_translator.m_depth; }
        Nesting(const Nesting &) = delete;
        Nesting &operator=(const Nesting &) = delete;

    private:
        ConditionTranslator &m_translator;
    };

    Piece expression() { return chain(QLatin1StringView("OR"), &ConditionTranslator::conjunction); }
    Piece conjunction() { return chain(QLatin1StringView("AND"), &ConditionTranslator::negation); }

    Piece chain(QLatin1StringView keyword, Piece (ConditionTranslator::*operand)())
    {
        Piece first = (this->*operand)();
        if (!m_tokens.atWord(keyword))
            return first;
        QStringList parts{first.sql};
        while (m_tokens.skipWord(keyword))
            parts.append((this->*operand)().sql);
        return {u'(' + parts.join(QStringLiteral(" %1 ").arg(keyword)) + u')', false};
    }

    Piece negation()
    {
        if (m_tokens.skipWord(QLatin1StringView("NOT"))) {
            const Nesting nesting(*this);
            return {QStringLiteral("(NOT %1)").arg(negation().sql), false};
        }
        return predicate();
    }

    Piece predicate()
    {
        const Piece left = primary();
        const bool hasTail = m_tokens.at(TokenKind::Operator) || m_tokens.atWord(QLatin1StringView("IS"))
                             || m_tokens.atWord(QLatin1StringView("LIKE"))
                             || (m_tokens.atWord(QLatin1StringView("NOT")) && m_tokens.atWord(QLatin1StringView("LIKE"), 1));
        if (!hasTail)
            return left;
        if (!left.operand)
            m_tokens.fail(QStringLiteral("un confronto richiede un valore a sinistra"));

        if (m_tokens.at(TokenKind::Operator)) {
            const QString op = m_tokens.take().text;
            return {QStringLiteral("(%1 %2 %3 COLLATE %4)").arg(left.sql, op, operand(), QLatin1StringView(kCollation)), false};
        }
        if (m_tokens.skipWord(QLatin1StringView("IS"))) {
            const bool negated = m_tokens.skipWord(QLatin1StringView("NOT"));
            if (!m_tokens.skipWord(QLatin1StringView("NULL")))
                m_tokens.fail(QStringLiteral("atteso NULL dopo IS"));
            return {QStringLiteral("(%1 IS %2NULL)").arg(left.sql, negated ? QStringLiteral("NOT ") : QString()), false};
        }
        const bool negated = m_tokens.skipWord(QLatin1StringView("NOT"));
        m_tokens.take();  // LIKE
        const QString like = QStringLiteral("jet_like(%1, %2)").arg(left.sql, operand());
        return {negated ? QStringLiteral("(NOT %1)").arg(like) : like, false};
    }

    Piece primary()
    {
        if (!m_tokens.skip(TokenKind::LParen))
            return {operand(), true};
        const Nesting nesting(*this);
        const Piece inner = expression();
        m_tokens.expect(TokenKind::RParen, QStringLiteral("')'"));
        return inner.operand ? Piece{u'(' + inner.sql + u')', true} : inner;
    }

    QString operand()
    {
        const Token &token = m_tokens.peek();
        switch (token.kind) {
        case TokenKind::LParen: {
            m_tokens.take();
            const Nesting nesting(*this);
            const QString inner = operand();
            m_tokens.expect(TokenKind::RParen, QStringLiteral("')'"));
            return u'(' + inner + u')';
        }
        case TokenKind::Number:
            return parameter(number(m_tokens.take().text));
        case TokenKind::Text:
            return parameter(Value(m_tokens.take().text));
        case TokenKind::Date:
            return parameter(Value(parseDateLiteral(m_tokens.take().text)));
        case TokenKind::Word:
            return wordOperand();
        case TokenKind::Name:
            return field();
        default:
            m_tokens.fail(QStringLiteral("atteso un campo o un valore"));
        }
    }

    QString wordOperand()
    {
        // Booleans are stored as -1/0, so that is what True and False must compare with.
        if (m_tokens.skipWord(QLatin1StringView("TRUE")))
            return parameter(Value(qint64(-1)));
        if (m_tokens.skipWord(QLatin1StringView("FALSE")))
            return parameter(Value(qint64(0)));
        if (m_tokens.skipWord(QLatin1StringView("NULL")))
            return QStringLiteral("NULL");
        if (m_tokens.at(TokenKind::Word) && m_tokens.peek(1).kind == TokenKind::LParen)
            return function();
        return field();
    }

    QString function()
    {
        const QString name = m_tokens.peek().text;
        QString sqlName;
        if (name.compare(QLatin1StringView("LCASE"), Qt::CaseInsensitive) == 0)
            sqlName = QStringLiteral("jet_lcase");
        else if (name.compare(QLatin1StringView("UCASE"), Qt::CaseInsensitive) == 0)
            sqlName = QStringLiteral("jet_ucase");
        else
            m_tokens.fail(QStringLiteral("funzione sconosciuta"));
        m_tokens.take();
        m_tokens.take();  // "("
        const Nesting nesting(*this);
        const QString argument = operand();
        m_tokens.expect(TokenKind::RParen, QStringLiteral("')'"));
        return QStringLiteral("%1(%2)").arg(sqlName, argument);
    }

    QString field()
    {
        return quoteIdentifier(resolveColumn(m_tokens.takeFieldName(), m_columns));
    }

    static Value number(const QString &text)
    {
        bool ok = false;
        if (!text.contains(u'.')) {
            const qint64 whole = text.toLongLong(&ok);
            if (ok)
                return Value(whole);
        }
        return Value(text.toDouble());
    }

    QString parameter(Value value)
    {
        m_params.push_back(std::move(value));
        return QStringLiteral("?");
    }

    TokenStream m_tokens;
    const Columns &m_columns;
    std::vector<Value> m_params;
    int m_depth = 0;
};

} // namespace

SqlFragment translateCondition(const QString &condition, const Columns &columns)
{
    return ConditionTranslator(condition, columns).run();
}

} // namespace dao::jet
