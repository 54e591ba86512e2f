#include "output/report/model/TqnDataset.h"

#include "db/TDataSet.h"

#include <exception>

void TqnDataset::first()
{
    m_recordCount = 0;
    if (OnFirst)
        OnFirst(*this);
}

void TqnDataset::next()
{
    ++m_recordCount;
    if (OnNext)
        OnNext(*this);
}

void TqnDataset::prior()
{
    if (m_recordCount > 0)
        --m_recordCount;
    if (OnPrior)
        OnPrior(*this);
}

bool TqnDataset::eof() const
{
    // A plain source has no records but the count it was given.
    bool end = RangeEnd != TqnRangeEnd::reCount || m_recordCount >= RangeEndCount;
    if (OnCheckEOF)
        OnCheckEOF(const_cast<TqnDataset &>(*this), end);
    return end;
}

QString TqnDBDataSet::componentName() const
{
    return m_dataSet ? m_dataSet->name() : ComponentText;
}

QString TqnDBDataSet::init()
{
    m_recordCount = 0;
    m_endNoted = false;
    m_lastPrinted.clear();
    m_openedByRun = false;
    m_detachedByRun = false;
    if (!m_dataSet)
        return QStringLiteral("Dataset non assegnato: ") + name();
    if (!m_dataSet->active()) {
        try {
            m_dataSet->open();
        } catch (const std::exception &error) {
            return QStringLiteral("Non è stato possibile aprire il Dataset: ") + componentName()
                + QStringLiteral("\r\n") + QString::fromUtf8(error.what());
        }
        m_openedByRun = true;
    }
    m_savedRecNo = m_dataSet->recNo();
    if (DisableDataSetControls && !m_dataSet->controlsDisabled()) {
        m_dataSet->disableControls();
        m_detachedByRun = true;
    }
    return QString();
}

void TqnDBDataSet::first()
{
    m_recordCount = 0;
    if (!m_dataSet || !m_dataSet->active())
        return;
    if (RangeBegin == TqnRangeBegin::rbFirst) {
        m_dataSet->first();
    } else {
        if (m_dataSet->eof())
            m_dataSet->refresh();
        m_dataSet->setRecNo(m_savedRecNo);
    }
    if (OnFirst)
        OnFirst(*this);
    applyFilterForward();
}

void TqnDBDataSet::next()
{
    if (!m_dataSet || !m_dataSet->active())
        return;
    if (RangeEnd == TqnRangeEnd::reCurrent && m_dataSet->recNo() == m_savedRecNo)
        m_endNoted = true;
    ++m_recordCount;
    m_dataSet->next();
    if (OnNext)
        OnNext(*this);
    applyFilterForward();
}

void TqnDBDataSet::prior()
{
    if (!m_dataSet || !m_dataSet->active())
        return;
    if (m_recordCount > 0)
        --m_recordCount;
    m_dataSet->prior();
    if (OnPrior)
        OnPrior(*this);
    if (Filtered && filterCheck)
        while (!m_dataSet->bof() && !filterCheck(Filter))
            m_dataSet->prior();
}

void TqnDBDataSet::applyFilterForward()
{
    if (!Filtered || !filterCheck)
        return;
    while (!m_dataSet->eof() && !filterCheck(Filter))
        m_dataSet->next();
}

void TqnDBDataSet::markPrinted()
{
    if (m_dataSet && m_dataSet->active())
        m_lastPrinted = m_dataSet->getBookmark();
}

void TqnDBDataSet::toLastPrinted()
{
    if (!m_dataSet || !m_dataSet->active())
        return;
    m_resumeAtEnd = m_dataSet->eof();
    m_resumeAt = m_dataSet->getBookmark();
    if (!m_lastPrinted.isEmpty() && m_dataSet->bookmarkValid(m_lastPrinted))
        m_dataSet->gotoBookmark(m_lastPrinted);
}

void TqnDBDataSet::backFromLastPrinted()
{
    if (!m_dataSet || !m_dataSet->active())
        return;
    if (m_resumeAtEnd) {
        // At the end the table sits past its last record.
        m_dataSet->last();
        m_dataSet->next();
    } else if (!m_resumeAt.isEmpty() && m_dataSet->bookmarkValid(m_resumeAt)) {
        m_dataSet->gotoBookmark(m_resumeAt);
    }
}

bool TqnDBDataSet::eof() const
{
    bool end = !m_dataSet || !m_dataSet->active() || m_dataSet->eof() || m_endNoted
        || (RangeEnd == TqnRangeEnd::reCount && m_recordCount >= RangeEndCount);
    if (OnCheckEOF)
        OnCheckEOF(const_cast<TqnDBDataSet &>(*this), end);
    return end;
}

QString TqnDBDataSet::closedError() const
{
    if (m_dataSet && !m_dataSet->active())
        return QStringLiteral("Dataset chiuso: ") + componentName();
    return QString();
}

void TqnDBDataSet::exit()
{
    if (!m_dataSet)
        return;
    if (m_detachedByRun)
        m_dataSet->enableControls();
    m_detachedByRun = false;
    if (m_openedByRun) {
        m_dataSet->close();
    } else if (m_dataSet->active()) {
        m_dataSet->setRecNo(m_savedRecNo);
    }
    m_openedByRun = false;
}
