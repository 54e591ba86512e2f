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
// Nesting (parentheses, NOT, functions) is bounded: each level deepens the storage's text too
// (the file's parser gives up at about a hundred), and a text nested thousands deep would exhaust
// the stack. The program and its printed lists nest a few levels.

#include "engine/jet/ConditionSpelling.h"
#include "engine/jet/JetError.h"
#include "engine/jet/Names.h"
#include "engine/jet/TokenStream.h"

#include <QStringList>
#include <algorithm>
#include <optional>

namespace dao::jet {

namespace {

// A translated piece: a condition already written, or an operand still open to comparison.
struct Piece {
    QString sql;
    std::optional<Operand> operand;
};

class ConditionTranslator final {
public:
    ConditionTranslator(QStringView text, const Columns &columns, const ConditionSpelling &spelling)
        : m_tokens(text), m_columns(columns), m_spelling(spelling) {}

    SqlFragment run()
    {
        if (m_tokens.atEnd())
            throwSyntaxError(QStringLiteral("condizione vuota"));
        Piece result = expression();
        if (!m_tokens.atEnd())
            m_tokens.fail(QStringLiteral("attesa la fine dell'espressione"));
        QString sql = condition(result);
        return SqlFragment{std::move(sql), std::move(m_params)};
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
        QStringList parts{condition(first)};
        while (m_tokens.skipWord(keyword)) {
            const Piece next = (this->*operand)();
            parts.append(condition(next));
        }
        return {u'(' + parts.join(QStringLiteral(" %1 ").arg(keyword)) + u')', std::nullopt};
    }

    Piece negation()
    {
        if (m_tokens.skipWord(QLatin1StringView("NOT"))) {
            const Nesting nesting(*this);
            const Piece negated = negation();
            return {QStringLiteral("(NOT %1)").arg(condition(negated)), std::nullopt};
        }
        return predicate();
    }

    // A piece where a condition is expected: a lone operand reads as its truth.
    QString condition(const Piece &piece)
    {
        return piece.operand ? m_spelling.truth(*piece.operand, m_params) : piece.sql;
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
            const Operand right = operand();
            return {m_spelling.comparison(*left.operand, op, right, m_params), std::nullopt};
        }
        if (m_tokens.skipWord(QLatin1StringView("IS"))) {
            const bool negated = m_tokens.skipWord(QLatin1StringView("NOT"));
            if (!m_tokens.skipWord(QLatin1StringView("NULL")))
                m_tokens.fail(QStringLiteral("atteso NULL dopo IS"));
            const QString value = m_spelling.operand(*left.operand, m_params);
            return {QStringLiteral("(%1 IS %2NULL)").arg(value, negated ? QStringLiteral("NOT ") : QString()),
                    std::nullopt};
        }
        const bool negated = m_tokens.skipWord(QLatin1StringView("NOT"));
        m_tokens.take();  // LIKE
        const Operand pattern = operand();
        const QString like = m_spelling.like(*left.operand, pattern, m_params);
        return {negated ? QStringLiteral("(NOT %1)").arg(like) : like, std::nullopt};
    }

    Piece primary()
    {
        if (!m_tokens.skip(TokenKind::LParen))
            return {QString(), operand()};
        const Nesting nesting(*this);
        Piece inner = expression();
        m_tokens.expect(TokenKind::RParen, QStringLiteral("')'"));
        if (inner.operand)
            ++inner.operand->parentheses;
        return inner;
    }

    Operand operand()
    {
        const Token &token = m_tokens.peek();
        switch (token.kind) {
        case TokenKind::LParen: {
            m_tokens.take();
            const Nesting nesting(*this);
            Operand inner = operand();
            m_tokens.expect(TokenKind::RParen, QStringLiteral("')'"));
            ++inner.parentheses;
            return inner;
        }
        case TokenKind::Number:
            return literal(number(m_tokens.take().text));
        case TokenKind::Text:
            return literal(Value(m_tokens.take().text));
        case TokenKind::Date:
            return literal(Value(parseDateLiteral(m_tokens.take().text)));
        case TokenKind::Word:
            return wordOperand();
        case TokenKind::Name:
            return field();
        default:
            m_tokens.fail(QStringLiteral("atteso un campo o un valore"));
        }
    }

    Operand wordOperand()
    {
        // Booleans are stored as -1/0, so that is what True and False must compare with.
        if (m_tokens.skipWord(QLatin1StringView("TRUE")))
            return literal(Value(qint64(-1)));
        if (m_tokens.skipWord(QLatin1StringView("FALSE")))
            return literal(Value(qint64(0)));
        if (m_tokens.skipWord(QLatin1StringView("NULL")))
            return Operand{};
        if (m_tokens.at(TokenKind::Word) && m_tokens.peek(1).kind == TokenKind::LParen)
            return function();
        return field();
    }

    Operand function()
    {
        const QString name = m_tokens.peek().text;
        bool upper = false;
        if (name.compare(QLatin1StringView("UCASE"), Qt::CaseInsensitive) == 0)
            upper = true;
        else if (name.compare(QLatin1StringView("LCASE"), Qt::CaseInsensitive) != 0)
            m_tokens.fail(QStringLiteral("funzione sconosciuta"));
        m_tokens.take();
        m_tokens.take();  // "("
        const Nesting nesting(*this);
        const Operand argument = operand();
        m_tokens.expect(TokenKind::RParen, QStringLiteral("')'"));
        return m_spelling.changeCase(upper, argument, m_params);
    }

    Operand field()
    {
        const QString &name = resolveColumn(m_tokens.takeFieldName(), m_columns);
        const auto it = std::find_if(m_columns.begin(), m_columns.end(),
                                     [&name](const Column &column) { return &column.name == &name; });
        return Operand{Operand::Kind::Column, quoteIdentifier(name), Value(), it->type, 0, {}};
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

    static Operand literal(Value value)
    {
        return Operand{Operand::Kind::Literal, QString(), std::move(value), 0, 0, {}};
    }

    TokenStream m_tokens;
    const Columns &m_columns;
    const ConditionSpelling &m_spelling;
    std::vector<Value> m_params;
    int m_depth = 0;
};

} // namespace

SqlFragment translateCondition(const QString &condition, const Columns &columns, const ConditionSpelling &spelling)
{
    return ConditionTranslator(condition, columns, spelling).run();
}

} // namespace dao::jet
