#include "controls/TDBFieldLink.h"

#include "db/TDataSet.h"
#include "db/TField.h"

void TDBFieldLink::call(const std::function<void()> &handler)
{
    if (handler)
        handler();
}

void TDBFieldLink::setFieldName(const QString &name)
{
    if (name == m_fieldName)
        return;
    m_fieldName = name;
    resolveField();
}

void TDBFieldLink::resolveField()
{
    TDataSet *ds = dataSet();
    TField *field = active() && ds && !m_fieldName.isEmpty() ? ds->findField(m_fieldName) : nullptr;
    m_field = field;
    m_modified = false;
    call(OnDataChange);
}

bool TDBFieldLink::canModify() const
{
    const TDataSet *ds = dataSet();
    return !readOnly() && m_field && ds && ds->canModify() && m_field->canModify();
}

bool TDBFieldLink::edit()
{
    if (!canModify())
        return false;
    return TDataLink::edit();
}

void TDBFieldLink::reset()
{
    recordChanged(nullptr);
}

bool TDBFieldLink::userChanged()
{
    if (!editing()) {
        m_enteringEdit = true;
        bool entered = false;
        try {
            entered = edit();
        } catch (...) {
            m_enteringEdit = false;
            throw;
        }
        m_enteringEdit = false;
        if (!entered)
            return false;
    }
    m_modified = true;
    return true;
}

void TDBFieldLink::activeChanged() { resolveField(); }

void TDBFieldLink::layoutChanged() { resolveField(); }

void TDBFieldLink::recordChanged(TField *field)
{
    if ((field && field != m_field) || m_enteringEdit)
        return;
    m_modified = false;
    call(OnDataChange);
}

void TDBFieldLink::editingChanged() { call(OnEditingChange); }

void TDBFieldLink::updateData()
{
    if (!m_modified)
        return;
    if (m_field)
        call(OnUpdateData);
    m_modified = false;
}
