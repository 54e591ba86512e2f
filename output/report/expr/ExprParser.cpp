#include "output/report/expr/ExprParser.h"

#include "output/report/expr/ExprLexer.h"

#include <algorithm>
#include <span>

namespace report {

namespace {

using Type = ExprToken::Type;
using NodePtr = std::unique_ptr<ExprNode>;

struct OperatorWord {
    const char *text;
    bool keyword;
    ExprOp op;
};
constexpr OperatorWord kOr[] = {{"or", true, ExprOp::Or}};
constexpr OperatorWord kAnd[] = {{"and", true, ExprOp::And}};
constexpr OperatorWord kComparisons[] = {
    {"=", false, ExprOp::Equal}, {"<>", false, ExprOp::NotEqual}, {"<", false, ExprOp::Less},
    {">", false, ExprOp::Greater}, {"<=", false, ExprOp::LessEqual}, {">=", false, ExprOp::GreaterEqual},
};
constexpr OperatorWord kAdditive[] = {{"+", false, ExprOp::Add}, {"-", false, ExprOp::Subtract}};
constexpr OperatorWord kMultiplicative[] = {
    {"*", false, ExprOp::Multiply}, {"/", false, ExprOp::Divide},
    {"div", true, ExprOp::IntDivide}, {"mod", true, ExprOp::Modulo},
};

// Deeper nesting than any layout needs; it keeps a hostile text from exhausting the stack.
constexpr int kMaxDepth = 100;
constexpr int kMaxOperators = 2000;

class Parser {
public:
    explicit Parser(const QString &source) : m_source(source), m_lexer(source) { advance(); }

    NodePtr parseAll()
    {
        NodePtr root = parseOr();
        if (m_token.type == Type::Close)
            fail(ExprErrorKind::Parentheses);
        if (m_token.type != Type::End)
            throw ExprError(ExprErrorKind::UnknownIdentifier, m_token.text);
        return root;
    }

private:
    [[noreturn]] void fail(ExprErrorKind kind) { throw ExprError(kind, m_source); }
    void advance() { m_token = m_lexer.next(); }

    bool isKeyword(const char *word) const
    {
        return m_token.type == Type::Identifier && m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isOperator(const char *op) const
    {
        return m_token.type == Type::Operator && m_token.text == QLatin1String(op);
    }

    static NodePtr unary(ExprOp op, NodePtr child)
    {
        auto node = std::make_unique<ExprNode>();
        node->kind = ExprNode::Kind::Unary;
        node->op = op;
        node->children.push_back(std::move(child));
        return node;
    }
    NodePtr binary(ExprOp op, NodePtr left, NodePtr right)
    {
        // A chain of operators nests to the left; its length bounds the evaluator's recursion.
        if (++m_binaries > kMaxOperators)
            fail(ExprErrorKind::IncompatibleTypes);
        auto node = std::make_unique<ExprNode>();
        node->kind = ExprNode::Kind::Binary;
        node->op = op;
        node->children.push_back(std::move(left));
        node->children.push_back(std::move(right));
        return node;
    }

    struct DepthGuard {
        explicit DepthGuard(Parser &p) : parser(p)
        {
            if (++parser.m_depth > kMaxDepth)
                parser.fail(ExprErrorKind::Parentheses);
        }
        ~DepthGuard() { --parser.m_depth; }
        Parser &parser;
    };

    // One level of left-associative binary operators over the next stronger level.
    NodePtr parseLevel(std::span<const OperatorWord> words, NodePtr (Parser::*operand)())
    {
        NodePtr left = (this->*operand)();
        for (;;) {
            const auto word = std::find_if(words.begin(), words.end(), [this](const OperatorWord &w) {
                return w.keyword ? isKeyword(w.text) : isOperator(w.text);
            });
            if (word == words.end())
                return left;
            advance();
            left = binary(word->op, std::move(left), (this->*operand)());
        }
    }

    NodePtr parseOr() { return parseLevel(kOr, &Parser::parseAnd); }
    NodePtr parseAnd() { return parseLevel(kAnd, &Parser::parseNot); }
    NodePtr parseComparison() { return parseLevel(kComparisons, &Parser::parseAdditive); }
    NodePtr parseAdditive() { return parseLevel(kAdditive, &Parser::parseTerm); }
    NodePtr parseTerm() { return parseLevel(kMultiplicative, &Parser::parseUnary); }

    NodePtr parseNot()
    {
        if (!isKeyword("not"))
            return parseComparison();
        DepthGuard guard(*this);
        advance();
        return unary(ExprOp::Not, parseNot());
    }

    NodePtr parseUnary()
    {
        DepthGuard guard(*this);
        if (isOperator("-")) {
            advance();
            return unary(ExprOp::Negate, parseUnary());
        }
        if (isOperator("+")) {
            advance();
            return unary(ExprOp::Plus, parseUnary());
        }
        return parsePrimary();
    }

    NodePtr parsePrimary()
    {
        auto node = std::make_unique<ExprNode>();
        switch (m_token.type) {
        case Type::Number:
            node->literal = ExprValue(m_token.number);
            advance();
            return node;
        case Type::Text:
            node->literal = ExprValue(m_token.text);
            advance();
            return node;
        case Type::QuotedName:
            node->kind = ExprNode::Kind::Name;
            node->name.parts = QStringList{m_token.text};
            node->name.lastQuoted = true;
            node->joined = m_token.text;
            advance();
            return node;
        case Type::Identifier:
            return parseNameOrCall();
        case Type::Open:
            return parseGroup();
        case Type::Close:
        case Type::End:
            fail(m_token.type == Type::Close ? ExprErrorKind::Parentheses : ExprErrorKind::IncompatibleTypes);
        default:
            fail(ExprErrorKind::IncompatibleTypes);
        }
    }

    NodePtr parseGroup()
    {
        const QString opener = m_token.text;
        advance();
        NodePtr inner = parseOr();
        closeGroup(opener);
        return inner;
    }

    void closeGroup(const QString &opener)
    {
        const QLatin1String closer(opener == QLatin1String("(") ? ")" : "]");
        if (m_token.type != Type::Close || m_token.text != closer)
            fail(ExprErrorKind::Parentheses);
        advance();
    }

    NodePtr parseNameOrCall()
    {
        const ExprToken first = m_token;
        advance();
        if (m_token.type == Type::Open && m_token.text == QLatin1String("("))
            return parseCall(first.text);

        auto node = std::make_unique<ExprNode>();
        node->kind = ExprNode::Kind::Name;
        node->name.parts = QStringList{first.text};
        node->upperName = first.text.toUpper();
        while (m_token.type == Type::Dot && !node->name.lastQuoted) {
            advance();
            if (m_token.type != Type::Identifier && m_token.type != Type::QuotedName)
                throw ExprError(ExprErrorKind::UnknownIdentifier, node->name.text() + QLatin1Char('.'));
            node->name.parts.append(m_token.text);
            node->name.lastQuoted = m_token.type == Type::QuotedName;
            advance();
            if (node->name.parts.size() > 3)
                throw ExprError(ExprErrorKind::UnknownIdentifier, node->name.text());
        }
        node->joined = node->name.joined();
        return node;
    }

    NodePtr parseCall(const QString &name)
    {
        // A name that is not ours may be the engine's own function: it is asked at evaluation.
        const ExprFunctionInfo *function = findExprFunction(name);
        advance();   // the "("
        auto node = std::make_unique<ExprNode>();
        node->kind = function && isStatisticFunction(function->name) ? ExprNode::Kind::Statistic : ExprNode::Kind::Call;
        node->function = function;
        if (!function)
            node->key = name;
        const int argumentsBegin = m_token.begin;
        int argumentsEnd = argumentsBegin;
        if (!(m_token.type == Type::Close && m_token.text == QLatin1String(")"))) {
            for (;;) {
                node->children.push_back(parseOr());
                argumentsEnd = m_token.begin;
                if (m_token.type != Type::Separator)
                    break;
                advance();
            }
        }
        closeGroup(QStringLiteral("("));
        const int count = int(node->children.size());
        if (function && (count < function->minArgs || count > function->maxArgs))
            throw ExprError(ExprErrorKind::ParameterCount, function->name);
        if (node->kind == ExprNode::Kind::Statistic)
            node->key = function->name + QLatin1Char('(')
                + m_source.mid(argumentsBegin, argumentsEnd - argumentsBegin).trimmed() + QLatin1Char(')');
        return node;
    }

    const QString &m_source;
    ExprLexer m_lexer;
    ExprToken m_token;
    int m_depth = 0;
    int m_binaries = 0;
};

} // namespace

std::unique_ptr<ExprNode> parseExpression(const QString &source)
{
    return Parser(source).parseAll();
}

} // namespace report
