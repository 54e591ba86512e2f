// The editing sequences. Each runs its before event first, so an EAbort raised there
// leaves the dataset untouched; the state leaves edit or insert only through post or
// cancel (and close, which cancels).

#include "db/TDataSet.h"

#include "db/DatabaseError.h"
#include "db/TField.h"

namespace {

bool isEditing(TDataSetState state)
{
    return state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
}

void checkCanModify(const TDataSet &dataSet)
{
    if (!dataSet.canModify())
        throw EDatabaseError(dbtext::readOnlyDataSet());
}

} // namespace

void TDataSet::runEditHandler(const TDataSetErrorEvent &handler, const std::function<void()> &work)
{
    for (;;) {
        try {
            updateCursorPos();
            work();
            return;
        } catch (const EAbort &) {
            throw;
        } catch (const std::exception &error) {
            TDataAction action = TDataAction::daFail;
            if (handler)
                handler(*this, error, action);
            if (action == TDataAction::daFail)
                throw;
            if (action == TDataAction::daAbort)
                throw EAbort();
        }
    }
}

void TDataSet::checkBrowseMode()
{
    checkActive();
    dataEvent(TDataEvent::deCheckBrowseMode);
    if (isEditing(m_state)) {
        updateRecord();
        if (m_modified)
            post();
        else
            cancel();
    }
}

void TDataSet::updateRecord()
{
    if (!isEditing(m_state) && m_state != TDataSetState::dsSetKey)
        throw EDatabaseError(dbtext::notEditing());
    dataEvent(TDataEvent::deUpdateRecord);
}

void TDataSet::edit()
{
    if (isEditing(m_state))
        return;
    checkActive();
    checkCanModify(*this);
    if (m_recordCount == 0) {
        insert();
        return;
    }
    checkBrowseMode();
    fire(BeforeEdit, *this);
    runEditHandler(OnEditError, [this] { internalEdit(); });
    calculateFields(m_buffers[size_t(m_activeRecord)]);
    setState(TDataSetState::dsEdit);
    dataEvent(TDataEvent::deRecordChange);
    fire(AfterEdit, *this);
}

void TDataSet::insert()
{
    beginInsertAppend(false);
}

void TDataSet::append()
{
    beginInsertAppend(true);
}

void TDataSet::initRecord(TRecordBuffer &buffer, TBookmarkFlag flag, qint32 bookmark)
{
    buffer.reset(size_t(m_fieldDefs.count()), size_t(m_calculatedCount));
    buffer.flag = flag;
    buffer.bookmark = bookmark;
    internalInitRecord(buffer);
    calculateFields(buffer);
}

void TDataSet::beginInsertAppend(bool append)
{
    checkBrowseMode();
    checkCanModify(*this);
    fire(BeforeInsert, *this);
    fire(BeforeScroll, *this);
    try {
        if (append) {
            // The new record follows the last one: the window is rebuilt backwards from it.
            clearBuffers();
            initRecord(m_buffers[0], TBookmarkFlag::bfEOF, 0);
            m_recordCount = 1;
            m_bof = false;
            getPriorRecords();
        } else {
            const bool empty = m_recordCount == 0;
            const qint32 before = empty ? 0 : m_buffers[size_t(m_activeRecord)].bookmark;
            moveBuffer(m_recordCount, m_activeRecord);
            initRecord(m_buffers[size_t(m_activeRecord)], empty ? TBookmarkFlag::bfBOF : TBookmarkFlag::bfInserted,
                       before);
            if (m_recordCount < m_bufferCount)
                ++m_recordCount;
            m_currentRecord = -1;
        }
        internalInsert();
    } catch (...) {
        // Back to the record the insert started from, as if it had been cancelled.
        m_currentRecord = -1;
        updateCursorPos();
        resyncAround(false, false);
        throw;
    }
    endInsertAppend();
}

void TDataSet::endInsertAppend()
{
    setState(TDataSetState::dsInsert);
    try {
        doOnNewRecord();
    } catch (...) {
        updateCursorPos();
        internalCancel();
        setState(TDataSetState::dsBrowse);
        resyncAround(false, false);
        throw;
    }
    m_modified = false;
    dataEvent(TDataEvent::deDataSetChange);
    fire(AfterInsert, *this);
    fire(AfterScroll, *this);
}

void TDataSet::checkRequiredFields()
{
    for (TField *field : std::as_const(m_fields)) {
        if (field->required() && !field->readOnly() && field->fieldKind() == TFieldKind::fkData && field->isNull()) {
            dataEvent(TDataEvent::deFocusControl, reinterpret_cast<qintptr>(field));
            throw EDatabaseError(QStringLiteral("Field '%1' must have a value").arg(field->displayLabel()));
        }
    }
}

void TDataSet::post()
{
    checkActive();
    updateRecord();
    if (!isEditing(m_state))
        return;
    dataEvent(TDataEvent::deCheckBrowseMode);
    fire(BeforePost, *this);
    m_postWarning.clear();
    runEditHandler(OnPostError, [this] {
        checkRequiredFields();
        internalPost();
    });
    setState(TDataSetState::dsBrowse);
    // The record is saved: a failure from here on must not look like a failed save, which
    // the user would repeat.
    try {
        resyncAround(false, false);
    } catch (const EAbort &) {
        throw;
    } catch (const std::exception &failure) {
        warnAfterPost(failure);
    }
    fire(AfterPost, *this);
    if (!m_postWarning.isEmpty())
        throw ESavedWithWarning(std::exchange(m_postWarning, QString()));
}

void TDataSet::warnAfterPost(const std::exception &failure)
{
    if (!m_postWarning.isEmpty())
        return;   // the first failure says what went wrong
    const auto *own = dynamic_cast<const EDatabaseError *>(&failure);
    m_postWarning = own ? own->message() : QString::fromUtf8(failure.what());
}

void TDataSet::cancel()
{
    if (!isEditing(m_state))
        return;
    dataEvent(TDataEvent::deCheckBrowseMode);
    fire(BeforeCancel, *this);
    const bool wasInsert = m_state == TDataSetState::dsInsert;
    if (wasInsert)
        fire(BeforeScroll, *this);
    updateCursorPos();
    internalCancel();
    setState(TDataSetState::dsBrowse);
    resyncAround(false, false);
    fire(AfterCancel, *this);
    if (wasInsert)
        fire(AfterScroll, *this);
}

void TDataSet::deleteRecord()
{
    checkActive();
    if (m_state == TDataSetState::dsInsert) {
        cancel();
        return;
    }
    if (m_recordCount == 0)
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    checkCanModify(*this);
    dataEvent(TDataEvent::deCheckBrowseMode);
    fire(BeforeDelete, *this);
    fire(BeforeScroll, *this);
    runEditHandler(OnDeleteError, [this] { internalDelete(); });
    setState(TDataSetState::dsBrowse);
    resyncAround(false, false);
    fire(AfterDelete, *this);
    fire(AfterScroll, *this);
}
