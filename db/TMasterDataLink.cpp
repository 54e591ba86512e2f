#include "db/TMasterDataLink.h"

#include "db/TDataSet.h"
#include "db/TDataSource.h"

namespace {

bool detailActive(const TDataSet *detail)
{
    return !detail || detail->active();
}

} // namespace

void TMasterDataLink::setFieldNames(const QString &names)
{
    if (m_fieldNames == names)
        return;
    m_fieldNames = names;
    updateFields();
}

void TMasterDataLink::updateFields()
{
    m_fields.clear();
    if (active() && dataSet()) {
        const QStringList names = m_fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QList<TField *> fields;
        for (const QString &name : names)
            fields.append(dataSet()->fieldByName(name.trimmed()));
        m_fields = fields;
    }
    if (!detailActive(m_detail))
        return;
    if (active() && !m_fields.isEmpty()) {
        if (OnMasterChange)
            OnMasterChange();
    } else if (OnMasterDisable) {
        OnMasterDisable();
    }
}

void TMasterDataLink::activeChanged()
{
    updateFields();
}

void TMasterDataLink::layoutChanged()
{
    updateFields();
}

void TMasterDataLink::checkBrowseMode()
{
    if (m_detail && m_detail->active())
        m_detail->checkBrowseMode();
}

void TMasterDataLink::recordChanged(TField *field)
{
    if (!dataSource() || dataSource()->state() == TDataSetState::dsSetKey || !detailActive(m_detail))
        return;
    if (m_fields.isEmpty() || (field && !m_fields.contains(field)))
        return;
    if (OnMasterChange)
        OnMasterChange();
}
