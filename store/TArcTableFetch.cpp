// Fetching through the record filter, positioning, record count and number, bookmarks
// and refresh.

#include "store/TArcTable.h"

#include "db/DatabaseError.h"
#include "db/TField.h"
#include "engine/Connection.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/SelectionCount.h"
#include "store/BackgroundCount.h"
#include "store/TArcDatabase.h"
#include "store/TArcTableValueText.h"

#include <QAbstractEventDispatcher>

namespace {

bool isEmptyRecordset(const dao::Recordset &recordset)
{
    return recordset.BOF() && recordset.IsEOF();
}

// Counts the fetches in progress while it lives.
class FetchScope {
public:
    explicit FetchScope(int &depth) : m_depth(depth) { ++m_depth; }
    ~FetchScope() { --m_depth; }
    FetchScope(const FetchScope &) = delete;
    FetchScope &operator=(const FetchScope &) = delete;

private:
    int &m_depth;
};

} // namespace

// ---- Reading records ----

const dao::Database *TArcTable::engineDatabase() const
{
    return m_database ? m_database->database() : nullptr;
}

dao::Field &TArcTable::fieldOf(dao::Recordset &recordset, int index)
{
    if (&recordset == m_rs.get() && index < int(m_fieldCache.size()))
        return *m_fieldCache[size_t(index)];
    return recordset.field(index);
}

void TArcTable::rememberBookmark(qint32 bookmark, int position)
{
    if (bookmark != 0)
        m_knownBookmarks.insert(bookmark, position);
}

void TArcTable::forgetBookmark(qint32 bookmark)
{
    const auto found = m_knownBookmarks.constFind(bookmark);
    if (found == m_knownBookmarks.cend())
        return;
    const int position = found.value();
    m_knownBookmarks.remove(bookmark);
    for (auto it = m_knownBookmarks.begin(); it != m_knownBookmarks.end(); ++it) {
        if (it.value() > position)
            --it.value();
    }
}

void TArcTable::readRecord(dao::Recordset &recordset, int position, TRecordBuffer &buffer)
{
    idle();
    const TFieldDefs &defs = fieldDefs();
    if (int(buffer.values.size()) != defs.count()) {
        buffer.values.assign(size_t(defs.count()), QString());
        buffer.modified.assign(size_t(defs.count()), false);
    }
    bool deleted = false;
    for (int i = 0; i < defs.count(); ++i) {
        QString &text = buffer.values[size_t(i)];
        text.clear();
        if (deleted || !m_fieldObjects[size_t(i)])
            continue;
        const TFieldType type = defs.at(i).dataType;
        try {
            if ((type == TFieldType::ftMemo && !m_cacheMemos) || (type == TFieldType::ftBlob && !m_cacheBlobs)) {
                const qint64 size = fieldOf(recordset, i).FieldSize();
                if (size != 0)
                    text = QString::number(size);
            } else if (type == TFieldType::ftMemo) {
                text = recordset.currentValueRef(i).asText();
            } else {
                text = arctable::valueText(recordset.currentValueRef(i), type);
            }
        } catch (const dao::EngineError &error) {
            // One unreadable value stays null; a record deleted meanwhile has nothing more to read.
            deleted = error.number() == dao::errRecordDeleted;
        }
    }
    std::fill(buffer.modified.begin(), buffer.modified.end(), false);
    buffer.position = position;
    buffer.flag = TBookmarkFlag::bfCurrent;
    buffer.bookmark = 0;
    buffer.version = deleted ? 0 : recordset.RowVersion();
    if (m_bookmarkable) {
        try {
            buffer.bookmark = bookmarkToId(recordset.Bookmark());
        } catch (const dao::EngineError &) {
        }
        rememberBookmark(buffer.bookmark, position);
    }
}

bool TArcTable::acceptedFrom(dao::Recordset &recordset, TRecordBuffer &buffer)
{
    struct Judging {
        TArcTable &table;
        dao::Recordset *source;
        const TRecordBuffer *buffer;
        ~Judging() { table.m_filterSource = source; table.m_filterBuffer = buffer; }
    } restore{*this, m_filterSource, m_filterBuffer};
    m_filterSource = &recordset;
    m_filterBuffer = &buffer;
    return filterAccepts(buffer);
}

TGetResult TArcTable::fetch(dao::Recordset &recordset, int &position, TRecordBuffer &buffer, TGetMode mode)
{
    FetchScope scope(m_fetchDepth);
    // The record filter may pass over many rows for one record: they are read under one lock.
    const std::optional<dao::ReadScope> reads = filtering() ? std::make_optional<dao::ReadScope>(engineDatabase())
                                                           : std::nullopt;
    for (;;) {
        switch (mode) {
        case TGetMode::gmNext:
            if (recordset.IsEOF())
                return TGetResult::grEOF;
            recordset.MoveNext();
            ++position;
            m_highestPosition = std::max(m_highestPosition, position);
            if (recordset.IsEOF())
                return TGetResult::grEOF;
            break;
        case TGetMode::gmPrior:
            if (forwardOnly() || recordset.BOF())
                return TGetResult::grBOF;
            recordset.MovePrevious();
            --position;
            if (recordset.BOF()) {
                position = -1;
                return TGetResult::grBOF;
            }
            break;
        case TGetMode::gmCurrent:
            if (recordset.BOF())
                return TGetResult::grBOF;
            if (recordset.IsEOF())
                return TGetResult::grEOF;
            break;
        }
        readRecord(recordset, position, buffer);
        if (acceptedFrom(recordset, buffer))
            return TGetResult::grOK;
        if (mode == TGetMode::gmCurrent)
            return TGetResult::grError;
    }
}

std::vector<dao::SummaryGroup> TArcTable::selectionSummary(const dao::Summary &summary)
{
    checkActive();
    // New criteria are applied as a walk's move to the first record applies them; then
    // whether the engine or the record filter selects is known.
    if (criteriaChanged())
        first();
    if (!filtering())
        return m_rs->Summarize(summary);
    // Program code decides: the records it accepts, found by a walk of a clone, are the
    // selection.
    if (!m_bookmarkable)
        fail(dbtext::bookmarksNotSupported());
    std::vector<qint64> accepted;
    {
        const dao::ReadScope reads(engineDatabase());
        std::unique_ptr<dao::Recordset> walker = m_rs->Clone();
        TRecordBuffer buffer = spareBuffer();
        int position = -1;
        while (fetch(*walker, position, buffer, TGetMode::gmNext) == TGetResult::grOK)
            accepted.push_back(buffer.bookmark);
    }
    return m_rs->Summarize(summary, &accepted);
}

void TArcTable::beginReadBatch(int rows)
{
    const dao::Database *database = engineDatabase();
    // A walk of known length that starts the read transaction reads no further than it
    // needs; inside another walk's transaction the blocks stay whole.
    const bool starts = database && database->connection() && database->connection()->readScope() == 0;
    m_readBatches.push_back(std::make_unique<dao::ReadScope>(database));
    if (starts && m_rs)
        m_rs->setBlockRows(rows);
}

void TArcTable::endReadBatch()
{
    if (!m_readBatches.empty())
        m_readBatches.pop_back();
    if (m_readBatches.empty() && m_rs)
        m_rs->setBlockRows(0);
}

TGetResult TArcTable::getRecord(TRecordBuffer &buffer, TGetMode mode, bool doCheck)
{
    Q_UNUSED(doCheck);
    // Moving the one cursor would end the engine's edit of the record being edited, so no
    // record is fetched during an edit or insert. The request only fails: settling the edit
    // from here would post inside the framework's own filling of its window; the window
    // fills up when the edit ends.
    if (state() == TDataSetState::dsInsert || state() == TDataSetState::dsEdit)
        return TGetResult::grError;
    return fetch(*m_rs, m_currentPosition, buffer, mode);
}

// ---- Positioning ----

void TArcTable::internalFirst()
{
    // A move to the first record applies the record filter afresh: when its criteria
    // changed, the engine selects again by them.
    if (criteriaChanged())
        reselect();
    if (!isEmptyRecordset(*m_rs) && !forwardOnly()) {
        try {
            m_rs->MoveFirst();
            m_rs->MovePrevious();
        } catch (const dao::EngineError &) {
        }
    }
    m_currentPosition = -1;
}

void TArcTable::internalLast()
{
    if (forwardOnly()) {
        int position = m_currentPosition;
        while (!m_rs->IsEOF()) {
            m_rs->MoveNext();
            ++position;
        }
        m_currentPosition = position;
        return;
    }
    try {
        m_rs->MoveLast();
        m_rs->MoveNext();
    } catch (const dao::EngineError &) {
    }
    m_currentPosition = m_rs->RecordCount();
    m_highestPosition = std::max(m_highestPosition, m_currentPosition);
}

void TArcTable::internalSetToRecord(const TRecordBuffer &buffer)
{
    if (m_bookmarkable && buffer.bookmark != 0) {
        try {
            m_rs->setBookmark(bookmarkFromId(buffer.bookmark));
        } catch (const dao::EngineError &error) {
            // Deleted by someone else: the cursor stands on its place all the same, so the
            // neighbours are still reached from there.
            if (error.number() != dao::errRecordDeleted)
                throw;
        }
        const int position = m_rs->AbsolutePosition();
        m_currentPosition = position >= 0 ? position : buffer.position;
    } else if (buffer.position >= 0) {
        m_rs->MoveFirst();
        if (buffer.position > 0)
            m_rs->Move(buffer.position);
        m_currentPosition = buffer.position;
    }
}

// Moves the recordset onto the buffer's record unless it stands there already, so that an
// edit or add in progress on it is not ended by a needless move.
void TArcTable::positionOn(const TRecordBuffer &buffer)
{
    if (!m_bookmarkable || buffer.bookmark == 0)
        return;
    try {
        if (!m_rs->BOF() && !m_rs->IsEOF() && bookmarkToId(m_rs->Bookmark()) == buffer.bookmark)
            return;
    } catch (const dao::EngineError &) {
    }
    m_rs->setBookmark(bookmarkFromId(buffer.bookmark));
    const int position = m_rs->AbsolutePosition();
    m_currentPosition = position >= 0 ? position : buffer.position;
}

TArcTable::CursorMark TArcTable::markCursor() const
{
    CursorMark mark;
    mark.bof = m_rs->BOF();
    mark.eof = m_rs->IsEOF();
    mark.position = m_currentPosition;
    if (!mark.bof && !mark.eof && m_bookmarkable) {
        try {
            mark.bookmark = m_rs->Bookmark();
        } catch (const dao::EngineError &) {
        }
    }
    return mark;
}

void TArcTable::returnTo(const CursorMark &mark)
{
    try {
        if (!mark.bookmark.isEmpty()) {
            m_rs->setBookmark(mark.bookmark);
        } else if (isEmptyRecordset(*m_rs)) {
            // Nothing to stand on.
        } else if (mark.bof) {
            m_rs->MoveFirst();
            m_rs->MovePrevious();
        } else if (mark.eof) {
            m_rs->MoveLast();
            m_rs->MoveNext();
        } else if (mark.position >= 0) {
            m_rs->MoveFirst();
            if (mark.position > 0)
                m_rs->Move(mark.position);
        }
    } catch (const dao::EngineError &error) {
        if (error.number() != dao::errRecordDeleted)
            throw;
    }
    m_currentPosition = mark.position;
}

std::unique_ptr<dao::Recordset> TArcTable::cloneAt(qint32 bookmark) const
{
    std::unique_ptr<dao::Recordset> clone = m_rs->Clone();
    if (bookmark != 0) {
        try {
            clone->setBookmark(bookmarkFromId(bookmark));
        } catch (const dao::EngineError &) {
        }
    }
    return clone;
}

// ---- Record count and record number ----

TRecordBuffer TArcTable::spareBuffer() const
{
    TRecordBuffer buffer;
    buffer.reset(size_t(fieldDefs().count()), size_t(calculatedSlots()));
    return buffer;
}

// Counting through the record filter and numbering walk a clone, so the recordset (and an
// edit in progress on it) stays where it is. Without the record filter the keyset's size is
// the count: no row needs reading for it.
int TArcTable::computeRecordCount()
{
    if (forwardOnly())
        return -1;
    if (isEmptyRecordset(*m_rs)) {
        m_currentPosition = -1;
        m_highestPosition = -1;
        return 0;
    }
    if (filtering()) {
        std::unique_ptr<dao::Recordset> walker = m_rs->Clone();
        const dao::ReadScope reads(engineDatabase());
        TRecordBuffer buffer = spareBuffer();
        int position = -1;
        int count = 0;
        while (fetch(*walker, position, buffer, TGetMode::gmNext) == TGetResult::grOK)
            ++count;
        return count;
    }
    const int count = m_rs->RecordCount();
    if (m_tableType == dao::dbOpenTable && count > m_highestPosition && m_warnOnBadDatabase) {
        std::unique_ptr<dao::Recordset> snapshot = m_rs->OpenRecordset(dao::dbOpenSnapshot, 0);
        if (!isEmptyRecordset(*snapshot))
            snapshot->MoveLast();
        if (snapshot->RecordCount() != count)
            fail(QStringLiteral("Database %1 needs to be repaired and compacted!").arg(m_database ? m_database->Database() : QString()));
    }
    return count;
}

int TArcTable::recordCount()
{
    if (!m_rs)
        return 0;
    if (!m_useRecordCount || m_countStale) {
        m_cachedRecordCount = computeRecordCount();
        m_countStale = false;
        m_backgroundCount.reset();
    }
    return m_cachedRecordCount;
}

int TArcTable::knownRecordCount() const
{
    return m_rs && m_useRecordCount && !m_countStale ? m_cachedRecordCount : -1;
}

void TArcTable::markCountStale()
{
    m_countStale = true;
    m_backgroundCount.reset();
}

// A search shows its first screen as soon as the engine has its first keys; its count comes
// after, a step per turn of the event loop, and lands only if the selection is still the one
// counted (a newer search, a reopen or any change that makes the count stale drops it).
// Without criteria in the engine the count is a walk through the record filter, which stays
// where it was: done when asked.
void TArcTable::countInBackground()
{
    m_backgroundCount.reset();
    if (!m_rs || !m_useRecordCount || !m_countStale || !m_criteriaInEngine || m_rs->KnownRecordCount() >= 0)
        return;
    // Without an event loop (a command-line walk) nothing would take the steps.
    if (!QAbstractEventDispatcher::instance())
        return;
    std::unique_ptr<dao::SelectionCount> count;
    try {
        count = m_rs->CountSelection();
    } catch (const dao::EngineError &) {
        return;   // counted when asked, as without a background count
    }
    m_backgroundCount = std::make_unique<BackgroundCount>(std::move(count), m_countStepRows, [this](int count) {
        m_cachedRecordCount = count;
        m_countStale = false;
        // Called from the count's own step: it goes once that step is over.
        m_backgroundCount.release()->deleteLater();
        Q_EMIT recordCountKnown();
    });
}

int TArcTable::recNo()
{
    if (!m_useGetRecNo || !m_rs)
        return -1;
    if (forwardOnly())
        return m_currentPosition + 1;
    const TRecordBuffer *current = activeBuffer();
    if (isEmpty() || !current || current->flag != TBookmarkFlag::bfCurrent || current->bookmark == 0)
        return -1;
    const qint32 target = current->bookmark;
    if (filtering()) {
        std::unique_ptr<dao::Recordset> walker = m_rs->Clone();
        TRecordBuffer buffer = spareBuffer();
        int position = -1;
        int number = 0;
        while (fetch(*walker, position, buffer, TGetMode::gmNext) == TGetResult::grOK) {
            ++number;
            if (buffer.bookmark == target)
                return number;
        }
        return -1;
    }
    // The record's place in the keyset: a row deleted elsewhere keeps its number.
    const int position = m_rs->BookmarkPosition(bookmarkFromId(target));
    return position < 0 ? -1 : position + 1;
}

void TArcTable::setRecNo(int value)
{
    checkBrowseMode();
    if (value < 1)
        return;
    if (filtering()) {
        internalFirst();
        TRecordBuffer buffer = spareBuffer();
        for (int accepted = 0; accepted < value;) {
            if (fetch(*m_rs, m_currentPosition, buffer, TGetMode::gmNext) != TGetResult::grOK)
                return;
            ++accepted;
        }
    } else {
        if (isEmptyRecordset(*m_rs) || value > m_rs->RecordCount())
            return;
        m_rs->MoveFirst();
        if (value > 1)
            m_rs->Move(value - 1);
        m_currentPosition = value - 1;
    }
    activateBuffers();
}

// ---- Bookmarks ----

void TArcTable::internalGotoBookmark(const TBookmark &bookmark)
{
    if (!active() || !m_rs)
        fail(QStringLiteral("TArcTable.InternalGotoBookmark: Cannot goto Bookmark - Table is not Active"));
    const qint32 value = bookmarkToId(bookmark);
    if (bookmark.size() < 4 || !m_knownBookmarks.contains(value))
        fail(QStringLiteral("Invalid Bookmark!"));
    if (!m_bookmarkable)
        fail(dbtext::bookmarksNotSupported());
    try {
        m_rs->setBookmark(bookmarkFromId(value));
    } catch (const dao::EngineError &error) {
        if (error.number() != dao::errRecordDeleted)
            return;   // other engine failures leave the cursor where it was
        refreshDataset();
        first();
        throw;
    }
    const int position = m_rs->AbsolutePosition();
    m_currentPosition = position >= 0 ? position : m_knownBookmarks.value(value);
}

bool TArcTable::bookmarkValid(const TBookmark &bookmark)
{
    if (!active() || !m_rs || isEmpty() || !m_bookmarkable || bookmark.size() < 4)
        return false;
    const qint32 value = bookmarkToId(bookmark);
    if (!m_knownBookmarks.contains(value))
        return false;
    try {
        m_rs->Clone()->setBookmark(bookmarkFromId(value));
        return true;
    } catch (const dao::EngineError &) {
        return false;
    }
}

// ---- Refresh ----

void TArcTable::internalRefresh()
{
    refreshDataset();
}

void TArcTable::refreshDataset()
{
    markCountStale();
    if (controlsDisabled())
        return;
    try {
        // The current record must still be there; a record deleted meanwhile makes the
        // buffers unusable and the recordset is opened afresh.
        const TRecordBuffer *current = activeBuffer();
        if (current && !isEmpty() && current->bookmark != 0 && m_bookmarkable)
            m_rs->setBookmark(bookmarkFromId(current->bookmark));
        resync();
    } catch (const std::exception &) {
        reopenAfterFailedRefresh();
    }
}

void TArcTable::reopenAfterFailedRefresh()
{
    const int position = m_currentPosition;
    replaceRecordset([this](RecordsetInUse &) { openRecordset(); });
    first();
    if (position < recordCount())
        moveBy(position);
    else
        last();
}
