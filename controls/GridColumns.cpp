#include "controls/GridColumns.h"

#include "controls/GridColumn.h"
#include "db/TDataSet.h"
#include "db/TField.h"

#include <algorithm>

TColumns::TColumns(GridColumnsOwner &owner) : m_owner(owner) {}

TColumns::~TColumns() = default;

TColumn *TColumns::at(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_items[size_t(index)].get();
}

int TColumns::indexOf(const TColumn *column) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == column)
            return int(i);
    }
    return -1;
}

TColumn *TColumns::findByField(const QString &fieldName) const
{
    for (const auto &column : m_items) {
        if (column->fieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return column.get();
    }
    return nullptr;
}

TColumn &TColumns::add(const QString &fieldName)
{
    if (m_state == State::Default) {
        m_items.clear();
        m_state = State::Customized;
    }
    TColumn &column = appendColumn(fieldName);
    notifyChanged();
    return column;
}

TColumn &TColumns::appendColumn(const QString &fieldName)
{
    m_items.push_back(std::make_unique<TColumn>(*this, fieldName));
    return *m_items.back();
}

void TColumns::clear()
{
    if (m_items.empty())
        return;
    m_items.clear();
    notifyChanged();
}

void TColumns::move(int from, int to)
{
    if (from < 0 || from >= count())
        return;
    to = std::clamp(to, 0, count() - 1);
    if (from == to)
        return;
    auto item = std::move(m_items[size_t(from)]);
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, std::move(item));
    m_owner.columnMoved(from, to);
    notifyChanged();
}

void TColumns::rebuildDefault(const TDataSet *dataSet)
{
    m_items.clear();
    if (dataSet) {
        for (TField *field : dataSet->fields()) {
            if (!field->visible())
                continue;
            appendColumn(field->fieldName()).setField(field);
        }
    }
    m_state = State::Default;
}

void TColumns::resolveFields(const TDataSet *dataSet)
{
    for (const auto &column : m_items) {
        TField *field = dataSet && dataSet->active() ? dataSet->findField(column->fieldName()) : nullptr;
        if (field != column->field())
            column->forgetDefaultWidth();
        column->setField(field);
    }
}

void TColumns::endUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0 && m_changedWhileUpdating) {
        m_changedWhileUpdating = false;
        m_owner.columnsChanged();
    }
}

void TColumns::notifyChanged()
{
    if (m_updateCount > 0) {
        m_changedWhileUpdating = true;
        return;
    }
    m_owner.columnsChanged();
}
