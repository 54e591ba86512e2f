#include "output/report/expr/Expression.h"

#include "output/report/expr/ExprOperators.h"
#include "output/report/expr/ExprParser.h"
#include "output/report/expr/ExprStatistics.h"

namespace report {

namespace {

// An expression variable whose expression names itself would recurse for ever; no layout
// nests variables this deep.
constexpr int kMaxNestedEvaluations = 32;
thread_local int t_nestedEvaluations = 0;

struct NestingGuard {
    explicit NestingGuard(const QString &source)
    {
        if (++t_nestedEvaluations > kMaxNestedEvaluations) {
            --t_nestedEvaluations;
            throw ExprError(ExprErrorKind::UnknownIdentifier, source);
        }
    }
    ~NestingGuard() { --t_nestedEvaluations; }
};

bool isWord(const QString &name, const char *a, const char *b)
{
    return name.compare(QLatin1String(a), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

class Evaluator {
public:
    Evaluator(ExprScope &scope, const QString &source) : m_scope(scope), m_source(source) {}

    ExprValue eval(const ExprNode &node)
    {
        switch (node.kind) {
        case ExprNode::Kind::Literal: return node.literal;
        case ExprNode::Kind::Name: return name(node.name, node.joined, node.upperName);
        case ExprNode::Kind::Unary: return applyUnary(node.op, eval(*node.children[0]), m_source);
        case ExprNode::Kind::Binary: return binary(node);
        case ExprNode::Kind::Call: return call(node);
        case ExprNode::Kind::Statistic: return statistic(node);
        }
        return {};
    }

private:
    ExprValue name(const ExprNameRef &ref, const QString &joined, const QString &upperName)
    {
        if (auto value = m_scope.variable(joined))
            return *value;
        if (auto value = m_scope.field(ref))
            return *value;
        if (ref.parts.size() == 2 && m_scope.namesDataSet(ref))
            return ExprValue(joined);
        if (ref.parts.size() == 1 && ref.lastQuoted)
            return ExprValue(ref.parts.first());   // a text after all
        if (ref.parts.size() == 1) {
            const QString &word = ref.parts.first();
            if (auto value = m_scope.systemVariable(upperName))
                return *value;
            if (isWord(word, "true", "vero"))
                return ExprValue(true);
            if (isWord(word, "false", "falso"))
                return ExprValue(false);
        }
        throw ExprError(ExprErrorKind::UnknownIdentifier, ref.text());
    }

    ExprValue binary(const ExprNode &node)
    {
        const ExprValue left = eval(*node.children[0]);
        if (node.op == ExprOp::And || node.op == ExprOp::Or) {
            const bool l = truthOf(left, m_source);
            if (l == (node.op == ExprOp::Or))
                return ExprValue(l);
            return ExprValue(truthOf(eval(*node.children[1]), m_source));
        }
        return applyBinary(node.op, left, eval(*node.children[1]), m_source);
    }

    ExprValue call(const ExprNode &node)
    {
        if (!node.function)
            return userFunction(node);
        if (!node.function->call) {   // IF: only the branch taken is evaluated
            const bool condition = truthOf(eval(*node.children[0]), m_source);
            return eval(*node.children[condition ? 1 : 2]);
        }
        QList<ExprValue> args;
        args.reserve(qsizetype(node.children.size()));
        for (const auto &child : node.children)
            args.append(eval(*child));
        return node.function->call(args, node.function->name);
    }

    ExprValue userFunction(const ExprNode &node)
    {
        QList<ExprValue> args;
        for (const auto &child : node.children)
            args.append(eval(*child));
        if (auto value = m_scope.userFunction(node.key, args))
            return *value;
        throw ExprError(ExprErrorKind::UnknownIdentifier, node.key);
    }

    ExprValue statistic(const ExprNode &node)
    {
        const ExprStatistics *statistics = m_scope.statistics();
        if (!statistics)
            throw ExprError(ExprErrorKind::StatisticNotEnabled, node.function->name);
        return statistics->value(node.function->name, node.key);
    }

    ExprScope &m_scope;
    const QString &m_source;
};

} // namespace

Expression::Expression(const QString &source) : m_source(source)
{
    if (source.trimmed().isEmpty())
        return;   // "[]" prints nothing
    try {
        m_root = parseExpression(source);
    } catch (const ExprError &error) {
        m_error = std::make_shared<const ExprError>(error);
    }
}

void Expression::check() const
{
    if (m_error)
        throw *m_error;
}

ExprValue Expression::evaluate(ExprScope &scope) const
{
    check();
    if (!m_root)
        return {};
    NestingGuard guard(m_source);
    return Evaluator(scope, m_source).eval(*m_root);
}

bool Expression::isTrue(ExprScope &scope) const
{
    return truthOf(evaluate(scope), m_source);
}

ExprValue evaluateExpression(const QString &source, ExprScope &scope)
{
    return Expression(source).evaluate(scope);
}

} // namespace report
