#include "output/report/expr/ExprStatistics.h"

#include "output/report/expr/ExprNode.h"
#include "output/report/expr/ExprText.h"

#include <algorithm>

namespace report {

namespace {

bool containsStatistic(const ExprNode &node)
{
    if (node.kind == ExprNode::Kind::Statistic)
        return true;
    return std::any_of(node.children.begin(), node.children.end(),
                       [](const auto &child) { return containsStatistic(*child); });
}

// The argument of a registered call, re-parsed from its text so that the entry owns it.
QString argumentText(const QString &key)
{
    const int open = int(key.indexOf(QLatin1Char('(')));
    return key.mid(open + 1, key.size() - open - 2);
}

} // namespace

void ExprStatistics::collect(const QStringList &texts)
{
    for (const QString &text : texts)
        collectText(text);
}

void ExprStatistics::collectText(const QString &text)
{
    const ExprText scanned(text);
    for (const Expression &expression : scanned.expressions())
        collectExpression(expression);
}

void ExprStatistics::collectExpression(const Expression &expression)
{
    // A part that does not parse raises when it is printed, where the engine can name the
    // object that holds it.
    if (expression.root())
        add(*expression.root());
}

void ExprStatistics::add(const ExprNode &node)
{
    if (node.kind != ExprNode::Kind::Statistic) {
        for (const auto &child : node.children)
            add(*child);
        return;
    }
    for (const auto &child : node.children) {
        if (containsStatistic(*child))
            throw ExprError(ExprErrorKind::InvalidParameter, node.function->name);
    }
    if (m_index.contains(node.key))
        return;
    Entry entry;
    entry.function = node.function->name;
    if (!node.children.empty())
        entry.argument = Expression(argumentText(node.key));
    m_index.insert(node.key, int(m_entries.size()));
    m_entries.push_back(std::move(entry));
}

void ExprStatistics::accumulate(ExprScope &scope)
{
    for (Entry &entry : m_entries) {
        ++entry.count;
        if (!entry.argument.isValid()) {
            ++entry.counted;
            continue;
        }
        const ExprValue value = entry.argument.evaluate(scope);
        if (entry.function == QLatin1String("COUNT")) {
            if (value.isText() ? !value.rawText().isEmpty() : value.truth())
                ++entry.counted;
            continue;
        }
        if (value.isText())
            throw ExprError(ExprErrorKind::ParameterTypes, entry.function);
        // A null field is no value: it neither lowers a minimum nor counts in an average.
        if (value.isNull())
            continue;
        ++entry.values;
        entry.sum += value.number();
        entry.min = std::min(entry.min, value.number());
        entry.max = std::max(entry.max, value.number());
        entry.allDates = entry.allDates && value.isDateTime();
    }
}

void ExprStatistics::reset()
{
    for (Entry &entry : m_entries) {
        const QString function = entry.function;
        Expression argument = entry.argument;
        entry = Entry();
        entry.function = function;
        entry.argument = argument;
    }
}

ExprValue ExprStatistics::value(const QString &function, const QString &key) const
{
    const auto found = m_index.constFind(key);
    Entry start;
    const Entry &entry = found == m_index.constEnd() ? start : m_entries[size_t(*found)];
    auto dateOrNumber = [&](double v) {
        return entry.allDates && entry.values > 0 ? ExprValue::dateTime(v) : ExprValue(v);
    };
    if (function == QLatin1String("SUM"))
        return ExprValue(entry.sum);
    if (function == QLatin1String("AVG"))
        return ExprValue(entry.values > 0 ? entry.sum / entry.values : 0.0);
    if (function == QLatin1String("COUNT"))
        return ExprValue(entry.counted);
    if (function == QLatin1String("MIN"))
        return dateOrNumber(entry.min);
    return dateOrNumber(entry.max);
}

} // namespace report
