#include "output/report/expr/ExprMapScope.h"

namespace report {

void ExprMapScope::setVariable(const QString &name, const ExprValue &value)
{
    m_variables.insert(name.toUpper(), value);
}

void ExprMapScope::setField(const QString &name, const ExprValue &value)
{
    m_fields.insert(name.toUpper(), value);
}

void ExprMapScope::addDataSet(const QString &name)
{
    m_dataSets.insert(name.toUpper(), true);
}

std::optional<ExprValue> ExprMapScope::variable(const QString &name)
{
    const auto found = m_variables.constFind(name.toUpper());
    return found == m_variables.constEnd() ? std::nullopt : std::optional<ExprValue>(*found);
}

std::optional<ExprValue> ExprMapScope::field(const ExprNameRef &ref)
{
    const auto found = m_fields.constFind(ref.joined().toUpper());
    return found == m_fields.constEnd() ? std::nullopt : std::optional<ExprValue>(*found);
}

bool ExprMapScope::namesDataSet(const ExprNameRef &ref)
{
    return m_dataSets.contains(ref.joined().toUpper());
}

std::optional<ExprValue> ExprMapScope::systemVariable(const QString &upperName)
{
    return m_system.lookup(upperName);
}

} // namespace report
