#include "db/TDataSource.h"

#include "db/DatabaseError.h"
#include "db/TDataLink.h"
#include "db/TDataSet.h"

TDataSource::TDataSource(QObject *owner) : QObject(owner)
{
}

TDataSource::~TDataSource()
{
    // Nobody listening to this source should hear of its own going.
    OnDataChange = nullptr;
    OnStateChange = nullptr;
    OnUpdateData = nullptr;
    setDataSet(nullptr);
    const QList<TDataLink *> links = m_links;
    for (TDataLink *link : links)
        link->setDataSource(nullptr);
    m_links.clear();
}

void TDataSource::setDataSet(TDataSet *dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (dataSet && dataSet->isLinkedTo(this))
        throw EDatabaseError(QStringLiteral("Circular datalinks are not allowed"));
    if (TDataSet *old = m_dataSet)
        old->unregisterDataSource(this);
    m_dataSet = dataSet;
    if (dataSet)
        dataSet->registerDataSource(this);
    updateState();
}

void TDataSource::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    updateState();
}

TDataSetState TDataSource::state() const
{
    return m_lastState;
}

void TDataSource::updateState()
{
    const TDataSetState state = m_enabled && m_dataSet ? m_dataSet->state() : TDataSetState::dsInactive;
    if (state == m_lastState)
        return;
    const TDataSetState prior = m_lastState;
    m_lastState = state;
    notifyLinks(TDataEvent::deUpdateState, 0);
    if (OnStateChange)
        OnStateChange(*this);
    if (prior == TDataSetState::dsInactive && OnDataChange)
        OnDataChange(*this, nullptr);
}

void TDataSource::edit()
{
    if (m_autoEdit && m_lastState == TDataSetState::dsBrowse && m_dataSet)
        m_dataSet->edit();
}

void TDataSource::notifyLinks(TDataEvent event, qintptr info)
{
    // A link may leave (its control destroyed) while others are told.
    const QList<TDataLink *> links = m_links;
    for (TDataLink *link : links) {
        if (m_links.contains(link))
            link->dataEvent(event, info);
    }
}

void TDataSource::notifyDataEvent(TDataEvent event, qintptr info)
{
    if (event == TDataEvent::deUpdateState) {
        updateState();
        return;
    }
    if (m_lastState == TDataSetState::dsInactive)
        return;
    notifyLinks(event, info);
    switch (event) {
    case TDataEvent::deFieldChange:
        if (OnDataChange)
            OnDataChange(*this, reinterpret_cast<TField *>(info));
        break;
    case TDataEvent::deRecordChange:
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
    case TDataEvent::deLayoutChange:
        if (OnDataChange)
            OnDataChange(*this, nullptr);
        break;
    case TDataEvent::deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(*this);
        break;
    default:
        break;
    }
}

void TDataSource::addDataLink(TDataLink *link)
{
    if (!link || m_links.contains(link))
        return;
    m_links.append(link);
    if (m_dataSet)
        m_dataSet->updateBufferCount();
}

void TDataSource::removeDataLink(TDataLink *link)
{
    if (m_links.removeAll(link) > 0 && m_dataSet)
        m_dataSet->updateBufferCount();
}
