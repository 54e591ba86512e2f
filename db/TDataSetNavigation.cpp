// The window of record buffers and the moves over it.
//
// m_buffers holds m_bufferCount rows of the window plus one spare at the end, which
// receives each fetch; the first m_recordCount rows are valid and m_activeRecord is the
// current one. m_currentRecord names the row the concrete dataset's cursor sits on, so
// the cursor is moved only when a fetch has to start from another row.

#include "db/TDataSet.h"

#include "db/DatabaseError.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

void TDataSet::clearBuffers()
{
    m_recordCount = 0;
    m_activeRecord = 0;
    m_currentRecord = -1;
    m_bof = true;
    m_eof = true;
}

void TDataSet::startWindow()
{
    m_recordCount = 1;
    m_activeRecord = 0;
    m_bof = false;
    m_eof = false;
}

void TDataSet::moveBuffer(int from, int to)
{
    if (from == to)
        return;
    const auto begin = m_buffers.begin();
    if (from < to)
        std::rotate(begin + from, begin + from + 1, begin + to + 1);
    else
        std::rotate(begin + to, begin + from, begin + from + 1);
}

TDataSet::ReadBatch::ReadBatch(TDataSet *dataSet, int rows) : m_dataSet(dataSet)
{
    if (m_dataSet)
        m_dataSet->beginReadBatch(rows);
}

TDataSet::ReadBatch::~ReadBatch()
{
    if (m_dataSet)
        m_dataSet->endReadBatch();
}

TGetResult TDataSet::fetch(TRecordBuffer &buffer, TGetMode mode, bool doCheck)
{
    buffer.reset(size_t(m_fieldDefs.count()), size_t(m_calculatedCount));
    return getRecord(buffer, mode, doCheck);
}

void TDataSet::setCurrentRecord(int index)
{
    if (m_currentRecord == index)
        return;
    const TRecordBuffer &buffer = m_buffers[size_t(index)];
    switch (buffer.flag) {
    case TBookmarkFlag::bfCurrent:
    case TBookmarkFlag::bfInserted:
        internalSetToRecord(buffer);
        break;
    case TBookmarkFlag::bfBOF:
        internalFirst();
        break;
    case TBookmarkFlag::bfEOF:
        internalLast();
        break;
    }
    m_currentRecord = index;
}

void TDataSet::updateCursorPos()
{
    if (m_recordCount > 0)
        setCurrentRecord(m_activeRecord);
}

bool TDataSet::getNextRecord()
{
    if (m_recordCount > 0)
        setCurrentRecord(m_recordCount - 1);
    if (fetch(m_buffers[size_t(m_recordCount)], TGetMode::gmNext, true) != TGetResult::grOK) {
        m_currentRecord = -1;
        return false;
    }
    if (m_recordCount == 0)
        startWindow();
    else if (m_recordCount < m_bufferCount)
        ++m_recordCount;
    else
        moveBuffer(0, m_recordCount);
    m_currentRecord = m_recordCount - 1;
    return true;
}

bool TDataSet::getPriorRecord()
{
    if (m_recordCount > 0)
        setCurrentRecord(0);
    if (fetch(m_buffers[size_t(m_recordCount)], TGetMode::gmPrior, true) != TGetResult::grOK) {
        m_currentRecord = -1;
        return false;
    }
    if (m_recordCount == 0) {
        startWindow();
    } else {
        moveBuffer(m_recordCount, 0);
        if (m_recordCount < m_bufferCount) {
            ++m_recordCount;
            ++m_activeRecord;
        }
    }
    m_currentRecord = 0;
    return true;
}

int TDataSet::getNextRecords()
{
    int count = 0;
    while (m_recordCount < m_bufferCount && getNextRecord())
        ++count;
    return count;
}

int TDataSet::getPriorRecords()
{
    int count = 0;
    while (m_recordCount < m_bufferCount && getPriorRecord())
        ++count;
    return count;
}

// --- moves -----------------------------------------------------------------------------

void TDataSet::first()
{
    checkBrowseMode();
    fire(BeforeScroll, *this);
    clearBuffers();
    try {
        const ReadBatch reads(this, m_bufferCount);
        internalFirst();
        getNextRecord();
        getNextRecords();
    } catch (...) {
        m_bof = true;
        dataEvent(TDataEvent::deDataSetChange);
        throw;
    }
    m_bof = true;
    dataEvent(TDataEvent::deDataSetChange);
    fire(AfterScroll, *this);
}

void TDataSet::last()
{
    checkBrowseMode();
    fire(BeforeScroll, *this);
    clearBuffers();
    try {
        const ReadBatch reads(this, m_bufferCount);
        internalLast();
        getPriorRecord();
        getPriorRecords();
    } catch (...) {
        m_eof = true;
        dataEvent(TDataEvent::deDataSetChange);
        throw;
    }
    m_eof = true;
    dataEvent(TDataEvent::deDataSetChange);
    fire(AfterScroll, *this);
}

void TDataSet::next()
{
    moveBy(1);
}

void TDataSet::prior()
{
    moveBy(-1);
}

int TDataSet::moveBy(int distance)
{
    checkBrowseMode();
    fire(BeforeScroll, *this);
    if ((distance > 0 && m_eof) || (distance < 0 && m_bof) || distance == 0)
        return 0;
    m_bof = false;
    m_eof = false;
    int moved = 0;
    int shift = 0;   // how far the rows moved towards the window's start
    try {
        // A page of the grid reads its page of records, no block further.
        const ReadBatch reads(this, std::abs(distance));
        while (distance != 0) {
            const bool full = m_recordCount >= m_bufferCount;
            if (distance > 0) {
                if (m_activeRecord < m_recordCount - 1) {
                    ++m_activeRecord;
                } else if (getNextRecord()) {
                    shift += full ? 1 : 0;
                    m_activeRecord = m_recordCount - 1;
                } else {
                    m_eof = true;
                    break;
                }
                --distance;
                ++moved;
            } else {
                if (m_activeRecord > 0) {
                    --m_activeRecord;
                } else if (getPriorRecord()) {
                    shift -= full ? 1 : 0;
                    m_activeRecord = 0;
                } else {
                    m_bof = true;
                    break;
                }
                ++distance;
                --moved;
            }
        }
    } catch (...) {
        dataEvent(TDataEvent::deDataSetScroll, shift);
        throw;
    }
    dataEvent(TDataEvent::deDataSetScroll, shift);
    fire(AfterScroll, *this);
    return moved;
}

void TDataSet::setActiveRecordIndex(int index)
{
    if (index >= 0 && index < m_recordCount)
        m_activeRecord = index;
}

// --- bookmarks -------------------------------------------------------------------------

void TDataSet::gotoBookmark(const TBookmark &bookmark)
{
    if (bookmark.isEmpty())
        return;
    checkBrowseMode();
    fire(BeforeScroll, *this);
    internalGotoBookmark(bookmark);
    resyncAround(true, true);
    fire(AfterScroll, *this);
}

// --- resynchronising -------------------------------------------------------------------

void TDataSet::resyncAround(bool exact, bool center)
{
    // The reads form one batch; the controls hear of the change after it (a detail that
    // follows reads on its own).
    std::optional<ReadBatch> reads(std::in_place, this);
    TRecordBuffer &spare = m_buffers[size_t(m_recordCount)];
    m_currentRecord = -1;
    if (exact) {
        if (fetch(spare, TGetMode::gmCurrent, true) != TGetResult::grOK)
            throw EDatabaseError(dbtext::recordNotFound());
    } else if (fetch(spare, TGetMode::gmCurrent, false) != TGetResult::grOK
               && fetch(spare, TGetMode::gmNext, false) != TGetResult::grOK
               && fetch(spare, TGetMode::gmPrior, false) != TGetResult::grOK) {
        reads.reset();
        clearBuffers();
        dataEvent(TDataEvent::deDataSetChange);
        return;
    }
    int before = center ? (m_bufferCount - 1) / 2 : m_activeRecord;
    moveBuffer(m_recordCount, 0);
    startWindow();
    m_currentRecord = 0;
    try {
        while (before > 0 && getPriorRecord())
            --before;
        getNextRecords();
        getPriorRecords();
    } catch (...) {
        reads.reset();
        dataEvent(TDataEvent::deDataSetChange);
        throw;
    }
    reads.reset();
    dataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::activateBuffers()
{
    resyncAround(true, true);
}

void TDataSet::resyncBuffers()
{
    resyncAround(false, false);
}

void TDataSet::resync()
{
    checkActive();
    m_currentRecord = -1;
    if (m_recordCount > 0)
        updateCursorPos();
    else
        internalFirst();
    resyncAround(false, false);
}

void TDataSet::refresh()
{
    checkBrowseMode();
    updateCursorPos();
    internalRefresh();
    resync();
}

// --- the window's size -----------------------------------------------------------------

void TDataSet::updateBufferCount()
{
    if (!active() || !isCursorOpen())
        return;
    const int count = requestedBufferCount();
    if (count != m_bufferCount)
        resizeWindow(count);
}

void TDataSet::resizeWindow(int count)
{
    const size_t values = size_t(m_fieldDefs.count());
    const size_t calculated = size_t(m_calculatedCount);
    if (count < m_bufferCount) {
        // Rows before the active one go first, so the current record stays in the window.
        const int drop = std::max(0, m_activeRecord - count + 1);
        if (drop > 0) {
            std::rotate(m_buffers.begin(), m_buffers.begin() + drop, m_buffers.end());
            m_activeRecord -= drop;
            m_recordCount -= drop;
        }
        m_recordCount = std::min(m_recordCount, count);
        m_buffers.resize(size_t(count + 1));
        m_bufferCount = count;
        // Shrinking never moves the cursor, so an edit in progress on it stays undisturbed.
        m_currentRecord -= drop;
        if (m_currentRecord < 0 || m_currentRecord >= m_recordCount)
            m_currentRecord = -1;
        shiftLinkWindows(-drop);
        return;
    }
    const size_t oldSize = m_buffers.size();
    m_buffers.resize(size_t(count + 1));
    for (size_t i = oldSize; i < m_buffers.size(); ++i)
        m_buffers[i].reset(values, calculated);
    m_bufferCount = count;
    // Fetching moves the cursor, which would end an edit the concrete dataset holds on it;
    // the window fills up at the next post or cancel instead.
    if (m_recordCount == 0 || m_state == TDataSetState::dsEdit || m_state == TDataSetState::dsInsert)
        return;
    getNextRecords();
    shiftLinkWindows(getPriorRecords());
}
