#include "db/TDataLink.h"

#include "db/TDataSet.h"
#include "db/TDataSource.h"

#include <algorithm>

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
    if (TDataSource *source = m_dataSource)
        source->removeDataLink(this);
}

void TDataLink::setDataSource(TDataSource *source)
{
    if (source == m_dataSource)
        return;
    if (TDataSource *old = m_dataSource)
        old->removeDataLink(this);
    m_dataSource = source;
    if (source)
        source->addDataLink(this);
    updateState();
}

TDataSet *TDataLink::dataSet() const
{
    return m_dataSource ? m_dataSource->dataSet() : nullptr;
}

void TDataLink::setReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    updateState();
}

void TDataLink::updateState()
{
    const TDataSetState state = m_dataSource ? m_dataSource->state() : TDataSetState::dsInactive;
    const bool active = state != TDataSetState::dsInactive;
    if (active != m_active) {
        m_active = active;
        if (active)
            updateRange();
        else
            m_firstRecord = 0;
        activeChanged();
    }
    const bool editing = (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert
                          || state == TDataSetState::dsSetKey) && !m_readOnly;
    if (editing != m_editing) {
        m_editing = editing;
        editingChanged();
    }
}

// Keeps the active record inside this link's window, sliding the window as little as it
// can and filling it as far as the dataset's window allows.
void TDataLink::updateRange()
{
    const TDataSet *ds = dataSet();
    if (!ds) {
        m_firstRecord = 0;
        return;
    }
    const int active = ds->activeRecord();
    const int low = std::max(0, active - m_bufferCount + 1);
    const int high = std::min(active, std::max(0, ds->bufferedRecordCount() - m_bufferCount));
    m_firstRecord = std::clamp(m_firstRecord, low, std::max(low, high));
}

void TDataLink::setBufferCount(int count)
{
    count = std::max(1, count);
    if (count == m_bufferCount)
        return;
    m_bufferCount = count;
    if (TDataSet *ds = dataSet())
        ds->updateBufferCount();
    if (m_active)
        updateRange();
}

void TDataLink::windowShifted(int delta)
{
    if (!m_active)
        return;
    m_firstRecord = std::max(0, m_firstRecord + delta);
    updateRange();
}

int TDataLink::activeRecord() const
{
    const TDataSet *ds = dataSet();
    return m_active && ds ? ds->activeRecord() - m_firstRecord : 0;
}

void TDataLink::setActiveRecord(int index)
{
    if (TDataSet *ds = dataSet())
        ds->setActiveRecordIndex(index + m_firstRecord);
}

int TDataLink::recordCount() const
{
    const TDataSet *ds = dataSet();
    if (!m_active || !ds)
        return 0;
    return std::clamp(ds->bufferedRecordCount() - m_firstRecord, 0, m_bufferCount);
}

bool TDataLink::edit()
{
    if (!m_readOnly && m_dataSource)
        m_dataSource->edit();
    return m_editing;
}

void TDataLink::updateRecord()
{
    m_updating = true;
    try {
        updateData();
    } catch (...) {
        m_updating = false;
        throw;
    }
    m_updating = false;
}

void TDataLink::dataEvent(TDataEvent event, qintptr info)
{
    if (event == TDataEvent::deUpdateState) {
        updateState();
        return;
    }
    if (!m_active)
        return;
    switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
        if (!m_updating)
            recordChanged(reinterpret_cast<TField *>(info));
        break;
    case TDataEvent::deDataSetChange:
        updateRange();
        dataSetChanged();
        break;
    case TDataEvent::deLayoutChange:
        updateRange();
        layoutChanged();
        break;
    case TDataEvent::deDataSetScroll: {
        // info: how far the dataset's rows moved towards its window's start.
        const int before = m_firstRecord - int(info);
        m_firstRecord = before;
        updateRange();
        dataSetScrolled(m_firstRecord - before);
        break;
    }
    case TDataEvent::deUpdateRecord:
        updateRecord();
        break;
    case TDataEvent::deCheckBrowseMode:
        checkBrowseMode();
        break;
    case TDataEvent::deFocusControl:
        focusControl(reinterpret_cast<TField *>(info));
        break;
    default:
        break;
    }
}
