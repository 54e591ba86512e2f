#include "stats/StatisticsDataSet.h"

#include "db/DatabaseError.h"
#include "db/TField.h"

StatisticsDataSet::StatisticsDataSet(TDataSet &cards, TArcDatabase &database, QObject *owner)
    : TDataSet(owner), m_cards(cards), m_database(database)
{
    setName(QStringLiteral("Statistiche"));
    setReadOnly(true);
}

StatisticsDataSet::~StatisticsDataSet()
{
    closeForDestruction();
}

void StatisticsDataSet::internalOpen()
{
    const QDate at = m_at.isValid() ? m_at : (m_clock ? m_clock() : QDate::currentDate());
    m_rows = ArchiveStatistics::compute(m_cards, m_database, at).rows();
    m_dateText = TField::dateTimeText(at.startOfDay(Qt::UTC));
    mutableFieldDefs().clear();
    mutableFieldDefs().add(QStringLiteral("Sezione"), TFieldType::ftString, 60, false);
    mutableFieldDefs().add(QStringLiteral("Voce"), TFieldType::ftString, 100, false);
    mutableFieldDefs().add(QStringLiteral("Valore"), TFieldType::ftInteger, 0, false);
    mutableFieldDefs().add(QStringLiteral("Data_riferimento"), TFieldType::ftDate, 0, false);
    bindFields();
    m_open = true;
    internalFirst();
}

void StatisticsDataSet::internalClose()
{
    m_open = false;
    m_rows.clear();
}

int StatisticsDataSet::recNo()
{
    const TRecordBuffer *buffer = activeBuffer();
    return buffer && !isEmpty() ? buffer->position + 1 : 0;
}

bool StatisticsDataSet::bookmarkValid(const TBookmark &bookmark)
{
    const qint32 id = bookmarkToId(bookmark);
    return id >= 1 && id <= qint32(m_rows.size());
}

bool StatisticsDataSet::load(TRecordBuffer &buffer, int row)
{
    const StatisticsRow &r = m_rows[size_t(row)];
    buffer.values[0] = r.section;
    buffer.values[1] = r.item;
    buffer.values[2] = QString::number(r.value);
    buffer.values[3] = m_dateText;
    buffer.position = row;
    buffer.bookmark = row + 1;   // bookmarks count from 1: 0 means none
    buffer.flag = TBookmarkFlag::bfCurrent;
    return filterAccepts(buffer);
}

void StatisticsDataSet::moveTo(int row)
{
    m_cursor = row;
    m_onCrack = false;
}

TGetResult StatisticsDataSet::getRecord(TRecordBuffer &buffer, TGetMode mode, bool)
{
    const int count = int(m_rows.size());
    switch (mode) {
    case TGetMode::gmCurrent:
        if (m_onCrack || m_cursor < 0 || m_cursor >= count)
            return TGetResult::grError;
        return load(buffer, m_cursor) ? TGetResult::grOK : TGetResult::grError;
    case TGetMode::gmNext:
        for (int row = m_cursor + 1; row < count; ++row)
            if (load(buffer, row)) {
                moveTo(row);
                return TGetResult::grOK;
            }
        internalLast();
        return TGetResult::grEOF;
    case TGetMode::gmPrior:
        for (int row = m_onCrack ? m_cursor : m_cursor - 1; row >= 0; --row)
            if (load(buffer, row)) {
                moveTo(row);
                return TGetResult::grOK;
            }
        internalFirst();
        return TGetResult::grBOF;
    }
    return TGetResult::grError;
}

void StatisticsDataSet::internalSetToRecord(const TRecordBuffer &buffer)
{
    internalGotoBookmark(bookmarkFromId(buffer.bookmark));
}

void StatisticsDataSet::internalGotoBookmark(const TBookmark &bookmark)
{
    if (!bookmarkValid(bookmark))
        throw EDatabaseError(dbtext::recordNotFound());
    moveTo(bookmarkToId(bookmark) - 1);
}

// The figures are counted, never typed in.
void StatisticsDataSet::internalInitRecord(TRecordBuffer &) { throw EDatabaseError(dbtext::readOnlyDataSet()); }
void StatisticsDataSet::internalPost() { throw EDatabaseError(dbtext::readOnlyDataSet()); }
void StatisticsDataSet::internalDelete() { throw EDatabaseError(dbtext::readOnlyDataSet()); }
