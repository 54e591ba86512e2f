#include "output/report/model/TqnVariables.h"

const TqnVariable *TqnVariables::find(const QString &name) const
{
    for (const TqnVariable &item : m_items)
        if (item.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &item;
    return nullptr;
}

void TqnVariables::set(const TqnVariable &variable)
{
    for (TqnVariable &item : m_items)
        if (item.Name.compare(variable.Name, Qt::CaseInsensitive) == 0) {
            item = variable;
            return;
        }
    m_items.push_back(variable);
}
