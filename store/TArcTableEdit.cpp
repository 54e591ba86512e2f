// Editing, inserting, posting, cancelling, deleting, and the memo streams.

#include "store/TArcTable.h"

#include "db/DatabaseError.h"
#include "db/TField.h"
#include "engine/Connection.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "store/TArcBlobStream.h"
#include "store/TArcDatabase.h"
#include "store/TArcTableValueText.h"
#include "store/Quietly.h"

#include <QBuffer>

using store::quietly;

// ---- Edit and insert ----

void TArcTable::internalEdit()
{
    TRecordBuffer &buffer = *activeBuffer();
    m_pendingBlobs.clear();
    try {
        positionOn(buffer);
        if (m_rs->EditMode() != dao::dbEditInProgress)
            m_rs->Edit();
    } catch (const dao::EngineError &) {
        if (m_rs->EditMode() == dao::dbEditNone) {
            quietly([&] { m_rs->Move(0); });
            try {
                resync();
            } catch (const std::exception &) {
            }
        }
        throw;
    }
    // The edit starts from what the archive holds now, not from what was fetched earlier.
    const quint64 shown = buffer.version;
    readRecord(*m_rs, buffer.position, buffer);
    if (shown != 0 && buffer.version != shown) {
        // Saved elsewhere since the controls showed it: an edit from the shown values would
        // write them back over that save. The controls show the stored values instead.
        quietly([&] { m_rs->CancelUpdate(); });
        calculateFields(buffer);
        dataEvent(TDataEvent::deRecordChange);
        throw ERecordChanged(OnChangedElsewhere ? OnChangedElsewhere(*this) : changedElsewhereText());
    }
}

QString TArcTable::changedElsewhereText()
{
    return QStringLiteral("Questo record è stato salvato da un'altra postazione dopo che era stato mostrato qui: "
                          "ora sono mostrati i dati salvati.");
}

// The framework has set the buffer's flag and the bookmark of the record the new one stands
// before; the values are the defaults, memos by their length like fetched ones.
void TArcTable::internalInitRecord(TRecordBuffer &buffer)
{
    m_pendingBlobs.clear();
    const int count = fieldDefs().count();
    buffer.values.assign(size_t(count), QString());
    for (int i = 0; i < count && i < int(m_defaults.size()); ++i) {
        const QString &text = m_defaults[size_t(i)];
        if (isBlobIndex(i))
            buffer.values[size_t(i)] = text.isEmpty() ? QString() : QString::number(text.toUtf8().size());
        else
            buffer.values[size_t(i)] = text;
    }
    buffer.modified.assign(size_t(count), false);
    buffer.position = -1;
}

// ---- Post ----

void TArcTable::writeFields(const TRecordBuffer &buffer)
{
    const TFieldDefs &defs = fieldDefs();
    for (int i = 0; i < defs.count(); ++i) {
        if (!m_fieldObjects[size_t(i)] || !buffer.modified[size_t(i)] || !m_updatable[size_t(i)])
            continue;
        QString text = buffer.values[size_t(i)];
        if (isBlobIndex(i)) {
            // The buffer holds a length; only content written through a stream goes out.
            const auto written = m_pendingBlobs.find(i);
            if (written == m_pendingBlobs.end())
                continue;
            text = written->second;
        }
        // Dates go back as dates; everything else as text, for the engine to convert.
        const std::optional<dao::Value> value = arctable::engineValue(text, defs.at(i).dataType);
        if (value)
            m_fieldCache[size_t(i)]->setValue(*value);
    }
}

void TArcTable::cleanUpFailedPost(bool inserting)
{
    if (inserting) {
        if (m_rs->EditMode() == dao::dbEditAdd)
            quietly([&] { m_rs->CancelUpdate(); });
        return;
    }
    if (!m_rs->LockEdits() && m_rs->EditMode() == dao::dbEditInProgress) {
        quietly([&] { m_rs->CancelUpdate(); });
        if (m_rs->EditMode() == dao::dbEditNone)
            quietly([&] { m_rs->Move(0); });
    }
}

void TArcTable::internalPost()
{
    const bool inserting = state() == TDataSetState::dsInsert;
    TRecordBuffer &buffer = *activeBuffer();
    // With a handler that reads the archive, what it reads and the record land together.
    const std::shared_ptr<dao::Connection> connection = OnSaving ? m_database->database()->connection() : nullptr;
    try {
        if (connection)
            connection->beginUserTransaction();
        if (inserting) {
            m_rs->AddNew();
        } else if (m_rs->EditMode() != dao::dbEditInProgress) {
            // The engine's edit was given up meanwhile: it starts again from the values the
            // edit began with, or the check at Update would compare with a newer save.
            positionOn(buffer);
            m_rs->Edit();
            if (buffer.version != 0)
                m_rs->RequireRowVersion(buffer.version);
        }
        if (OnSaving)
            OnSaving(*this);
        writeFields(buffer);
        m_rs->Update();
        if (connection)
            connection->commitUserTransaction();
    } catch (...) {
        if (connection)
            quietly([&] { connection->rollbackUserTransaction(); });
        // The user's values stay in the buffer; the engine is left without a pending
        // change, so a second post starts over.
        cleanUpFailedPost(inserting);
        throw;
    }
    try {
        finishPost(inserting, buffer);
    } catch (const std::exception &failure) {
        endRecordChange();
        warnAfterPost(failure);
    }
}

void TArcTable::finishPost(bool inserting, TRecordBuffer &buffer)
{
    if (inserting) {
        markCountStale();
        ++m_highestPosition;
        ++m_currentPosition;
    }
    quietly([&] {
        m_rs->MoveLast();
        m_rs->MoveNext();
    });
    m_currentPosition = m_rs->RecordCount();
    if (m_bookmarkable) {
        const QByteArray written = (m_database->EngineType() == dao::dbUseJet || !inserting) ? m_rs->LastModified()
                                                                                            : m_rs->Bookmark();
        buffer.bookmark = bookmarkToId(written);
        try {
            m_rs->setBookmark(written);
        } catch (const dao::EngineError &error) {
            if (error.number() == dao::errRecordDeleted)
                internalFirst();
            throw;
        }
        const int position = m_rs->AbsolutePosition();
        if (position >= 0)
            m_currentPosition = position;
        buffer.position = m_currentPosition;
        rememberBookmark(buffer.bookmark, m_currentPosition);
    }
    endRecordChange();
    idle();

    if (m_refreshSorted && !m_sortedBy.isEmpty()) {
        // Sorted afresh: the posted record takes its place in the order, and the dataset
        // starts again from the first record.
        // The record is written whatever happens here: a failed requery leaves the recordset
        // in its old order (the engine keeps its keyset), so the post must not look failed
        // and be repeated.
        m_knownBookmarks.clear();
        markCountStale();
        try {
            m_rs->Requery();
        } catch (const dao::EngineError &) {
        }
        m_currentPosition = m_rs->IsEOF() ? -1 : 0;
    }
}

// ---- Cancel and delete ----

void TArcTable::internalCancel()
{
    if (m_rs && m_rs->EditMode() == dao::dbEditInProgress)
        m_rs->CancelUpdate();
    endRecordChange();
    idle();
}

void TArcTable::internalDelete()
{
    const TRecordBuffer &buffer = *activeBuffer();
    try {
        positionOn(buffer);
        forgetBookmark(buffer.bookmark);
        m_rs->Delete();
    } catch (const dao::EngineError &error) {
        // Already gone: the dataset only needs to catch up with the archive.
        if (error.number() != dao::errRecordDeleted)
            throw;
        refreshDataset();
        // The framework rebuilds its window from the cursor: it must stand on the current row.
        if (const TRecordBuffer *current = activeBuffer(); current && !isEmpty())
            internalSetToRecord(*current);
        return;
    }
    idle();
    markCountStale();
    quietly([&] {
        m_rs->MoveNext();
        if (m_rs->IsEOF() && !m_rs->BOF())
            m_rs->MoveLast();
    });
    m_currentPosition = m_rs->AbsolutePosition();
}

// ---- Memo streams ----

void TArcTable::endRecordChange()
{
    m_pendingBlobs.clear();
}

bool TArcTable::isBlobIndex(int index) const
{
    const TFieldType type = fieldDefs().at(index).dataType;
    return type == TFieldType::ftMemo || type == TFieldType::ftBlob;
}

void TArcTable::storeBlobText(TRecordBuffer &buffer, int index, const QString &text)
{
    m_pendingBlobs[index] = text;
    buffer.modified[size_t(index)] = true;
}

QString TArcTable::readBlobAt(dao::Recordset &recordset, int index)
{
    dao::Field &field = fieldOf(recordset, index);
    const dao::Value value = field.value();
    if (value.isNull() || field.FieldSize() == 0)
        return {};
    return fieldDefs().at(index).dataType == TFieldType::ftMemo ? value.asText() : QString::fromLatin1(value.asBytes());
}

QString TArcTable::storedBlobText(int index, const TRecordBuffer &buffer)
{
    if (buffer.flag != TBookmarkFlag::bfCurrent) {
        const auto written = m_pendingBlobs.find(index);
        return written == m_pendingBlobs.end() || written->second.isEmpty() ? m_defaults[size_t(index)]
                                                                            : written->second;
    }
    if (m_filterSource && &buffer == m_filterBuffer) {
        // The record filter reads the record just fetched, where its recordset stands.
        try {
            return readBlobAt(*m_filterSource, index);
        } catch (const dao::EngineError &) {
            return {};   // the fetch goes on with an empty memo
        }
    }
    if (m_rs->EditMode() != dao::dbEditNone) {
        // Moving the cursor would end the edit in progress: a clone reads instead.
        try {
            return readBlobAt(*cloneAt(buffer.bookmark), index);
        } catch (const dao::EngineError &) {
            return {};
        }
    }
    const CursorMark mark = markCursor();
    try {
        if (m_bookmarkable && buffer.bookmark != 0)
            m_rs->setBookmark(bookmarkFromId(buffer.bookmark));
        const QString text = readBlobAt(*m_rs, index);
        returnTo(mark);
        return text;
    } catch (const dao::EngineError &error) {
        // The cursor goes back first: the framework relies on where it left it.
        returnTo(mark);
        if (m_fetchDepth > 0)
            return {};   // read inside the record filter: the fetch goes on with an empty memo
        if (error.number() == dao::errRecordDeleted)
            throw;
        if (!forwardOnly())
            refreshDataset();
        return {};
    }
}

std::unique_ptr<QIODevice> TArcTable::createBlobStream(TField *field, TBlobStreamMode mode)
{
    checkActive();
    TRecordBuffer *buffer = activeBuffer();
    const int index = field ? field->fieldNo() - 1 : -1;
    if (!buffer || index < 0 || index >= fieldDefs().count())
        return std::make_unique<QBuffer>();
    if (mode == TBlobStreamMode::bmWrite) {
        if (readOnly())
            fail(QStringLiteral("Cannot write to ReadOnly table!"));
        storeBlobText(*buffer, index, QString());
        return std::make_unique<TArcBlobStream>(*this, *field, *buffer, mode, QString());
    }
    const bool cached = (field->dataType() == TFieldType::ftMemo && m_cacheMemos)
        || (field->dataType() == TFieldType::ftBlob && m_cacheBlobs);
    const QString content = cached ? buffer->values[size_t(index)] : storedBlobText(index, *buffer);
    return std::make_unique<TArcBlobStream>(*this, *field, *buffer, mode, content);
}
