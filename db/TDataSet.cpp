// Opening and closing, field objects and their values, events to the data sources.
// Navigation and the record window live in TDataSetNavigation.cpp, the editing
// sequences in TDataSetEditing.cpp.

#include "db/TDataSet.h"

#include "db/DatabaseError.h"
#include "db/Fields.h"
#include "db/TDataLink.h"
#include "db/TDataSource.h"

namespace {

// Kinds a field object may bind to interchangeably; 0 for a kind that binds only to itself.
int typeFamily(TFieldType type)
{
    switch (type) {
    case TFieldType::ftInteger:
    case TFieldType::ftAutoInc:
    case TFieldType::ftSmallint: return 1;
    case TFieldType::ftDate:
    case TFieldType::ftDateTime:
    case TFieldType::ftTime: return 2;
    case TFieldType::ftMemo:
    case TFieldType::ftBlob: return 3;
    default: return 0;
    }
}

bool sameFamily(TFieldType a, TFieldType b)
{
    return a == b || (typeFamily(a) != 0 && typeFamily(a) == typeFamily(b));
}

} // namespace

TDataSet::TDataSet(QObject *owner) : QObject(owner)
{
}

TDataSet::~TDataSet()
{
    // A concrete dataset closes itself in its own destructor; here only the links are told.
    m_state = TDataSetState::dsInactive;
    const QList<TDataSource *> sources = m_dataSources;
    for (TDataSource *source : sources)
        source->setDataSet(nullptr);
    const QList<TField *> fields = m_fields;
    qDeleteAll(fields);
}

void TDataSet::fire(const TDataSetNotifyEvent &event, TDataSet &dataSet)
{
    if (event)
        event(dataSet);
}

void TDataSet::checkActive() const
{
    if (m_state == TDataSetState::dsInactive)
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

// --- opening and closing ---------------------------------------------------------------

void TDataSet::setActive(bool active)
{
    if (active == this->active())
        return;
    if (active)
        openCursor();
    else
        closeCursor(true);
}

void TDataSet::openCursor()
{
    fire(BeforeOpen, *this);
    m_fieldsBound = false;
    try {
        internalOpen();
        if (!m_fieldsBound)
            bindFields();
        allocateBuffers();
        internalFirst();
        getNextRecords();
        m_bof = true;
    } catch (...) {
        if (isCursorOpen())
            internalClose();
        unbindFields();
        releaseBuffers();
        throw;
    }
    setState(TDataSetState::dsBrowse);
    fire(AfterOpen, *this);
    if (!isEmpty())
        fire(AfterScroll, *this);
    dataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::closeCursor(bool withEvents)
{
    if (withEvents)
        fire(BeforeClose, *this);
    if (m_state == TDataSetState::dsEdit || m_state == TDataSetState::dsInsert)
        internalCancel();
    // The controls learn first, so they drop their field objects before these go.
    setState(TDataSetState::dsInactive);
    try {
        internalClose();
    } catch (...) {
        unbindFields();
        releaseBuffers();
        throw;
    }
    unbindFields();
    releaseBuffers();
    if (withEvents)
        fire(AfterClose, *this);
}

void TDataSet::closeForDestruction() noexcept
{
    if (!active())
        return;
    try {
        closeCursor(false);
    } catch (...) {
        m_state = TDataSetState::dsInactive;
    }
}

void TDataSet::allocateBuffers()
{
    m_bufferCount = requestedBufferCount();
    m_buffers.assign(size_t(m_bufferCount + 1), TRecordBuffer());
    for (TRecordBuffer &buffer : m_buffers)
        buffer.reset(size_t(m_fieldDefs.count()), size_t(m_calculatedCount));
    clearBuffers();
}

void TDataSet::releaseBuffers()
{
    m_buffers.clear();
    clearBuffers();
    m_calcBuffer = TRecordBuffer();
}

// --- field objects ---------------------------------------------------------------------

void TDataSet::registerField(TField *field)
{
    if (!m_fields.contains(field))
        m_fields.append(field);
}

void TDataSet::unregisterField(TField *field)
{
    m_fields.removeAll(field);
}

TField *TDataSet::findField(const QString &name) const
{
    // Every value a report prints is looked up by name: names of another length are passed
    // over without comparing them (folding the case never changes a name's length).
    for (TField *field : m_fields) {
        const QString &fieldName = field->fieldName();
        if (fieldName.size() == name.size() && fieldName.compare(name, Qt::CaseInsensitive) == 0)
            return field;
    }
    return nullptr;
}

TField *TDataSet::fieldByName(const QString &name) const
{
    if (TField *field = findField(name))
        return field;
    throw EDatabaseError(dbtext::fieldNotFound(name));
}

void TDataSet::createDefaultFields()
{
    for (int i = 0; i < m_fieldDefs.count(); ++i)
        createField(this, m_fieldDefs.at(i));
    m_defaultFields = true;
}

void TDataSet::bindFields()
{
    if (m_fields.isEmpty())
        createDefaultFields();
    m_calculatedCount = 0;
    try {
        for (TField *field : std::as_const(m_fields)) {
            if (field->isCalculated()) {
                field->bind(0, m_calculatedCount++);
                continue;
            }
            const int index = m_fieldDefs.indexOf(field->fieldName());
            if (index < 0)
                throw EDatabaseError(dbtext::fieldNotFound(field->fieldName()));
            const TFieldDef &def = m_fieldDefs.at(index);
            if (!sameFamily(field->dataType(), def.dataType)) {
                throw EDatabaseError(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                                         .arg(field->fieldName(), QLatin1String(fieldTypeName(field->dataType())),
                                              QLatin1String(fieldTypeName(def.dataType))));
            }
            field->bind(def.fieldNo, -1);
        }
    } catch (...) {
        unbindFields();
        throw;
    }
    m_fieldsBound = true;
}

void TDataSet::unbindFields()
{
    for (TField *field : std::as_const(m_fields))
        field->unbind();
    if (m_defaultFields) {
        m_defaultFields = false;
        const QList<TField *> fields = m_fields;
        qDeleteAll(fields);
    }
    m_calculatedCount = 0;
    m_fieldsBound = false;
}

// --- field values ----------------------------------------------------------------------

TRecordBuffer &TDataSet::tempBuffer()
{
    return m_tempBufferPtr ? *m_tempBufferPtr : m_calcBuffer;
}

TRecordBuffer *TDataSet::activeBuffer()
{
    return const_cast<TRecordBuffer *>(std::as_const(*this).activeBuffer());
}

const TRecordBuffer *TDataSet::activeBuffer() const
{
    switch (m_state) {
    case TDataSetState::dsInactive:
        return nullptr;
    case TDataSetState::dsCalcFields:
    case TDataSetState::dsFilter:
        return m_tempBufferPtr ? m_tempBufferPtr : &m_calcBuffer;
    default:
        if (m_recordCount == 0 || m_activeRecord >= int(m_buffers.size()))
            return nullptr;
        return &m_buffers[size_t(m_activeRecord)];
    }
}

QString TDataSet::fieldValueText(const TField &field) const
{
    const TRecordBuffer *buffer = activeBuffer();
    if (!buffer)
        return QString();
    if (field.isCalculated()) {
        const int slot = field.calculatedSlot();
        if (slot < 0 || slot >= int(buffer->calculated.size()))
            return QString();
        return buffer->calculated[size_t(slot)].value_or(QString());
    }
    const int index = field.fieldNo() - 1;
    if (index < 0 || index >= int(buffer->values.size()))
        return QString();
    return buffer->values[size_t(index)];
}

void TDataSet::checkFieldWritable(const TField &field) const
{
    checkActive();
    if (!canModify())
        throw EDatabaseError(dbtext::readOnlyDataSet());
    if (field.readOnly())
        throw EDatabaseError(dbtext::fieldReadOnly(field.displayLabel()));
    if (m_state != TDataSetState::dsEdit && m_state != TDataSetState::dsInsert)
        throw EDatabaseError(dbtext::notEditing());
    if (field.fieldNo() <= 0 || field.fieldNo() > m_fieldDefs.count())
        throw EDatabaseError(dbtext::fieldNotFound(field.fieldName()));
}

void TDataSet::setFieldValueText(TField &field, const QString &text)
{
    if (field.isCalculated()) {
        // Calculated values are only ever written while they are being calculated.
        checkActive();
        if (m_state != TDataSetState::dsCalcFields) {
            if (m_state == TDataSetState::dsEdit || m_state == TDataSetState::dsInsert)
                throw EDatabaseError(dbtext::fieldReadOnly(field.displayLabel()));
            throw EDatabaseError(dbtext::notEditing());
        }
        TRecordBuffer &buffer = tempBuffer();
        const int slot = field.calculatedSlot();
        if (slot >= 0 && slot < int(buffer.calculated.size()))
            buffer.calculated[size_t(slot)] = text.isEmpty() ? std::nullopt : std::optional<QString>(text);
        return;
    }

    checkFieldWritable(field);
    TRecordBuffer &buffer = *activeBuffer();
    const size_t index = size_t(field.fieldNo() - 1);
    const QString oldText = buffer.values[index];
    const bool oldMark = buffer.modified[index];
    buffer.values[index] = text;
    buffer.modified[index] = true;
    if (field.OnValidate) {
        // The handler sees the new value and refuses it by throwing.
        try {
            field.OnValidate(field);
        } catch (...) {
            buffer.values[index] = oldText;
            buffer.modified[index] = oldMark;
            throw;
        }
    }
    dataEvent(TDataEvent::deFieldChange, reinterpret_cast<qintptr>(&field));
}

// --- filtering and calculated fields ---------------------------------------------------

void TDataSet::runInTempState(TDataSetState state, TRecordBuffer &buffer, const std::function<void()> &work)
{
    const TDataSetState savedState = m_state;
    TRecordBuffer *const savedBuffer = m_tempBufferPtr;
    m_state = state;
    m_tempBufferPtr = &buffer;
    try {
        work();
    } catch (...) {
        m_state = savedState;
        m_tempBufferPtr = savedBuffer;
        throw;
    }
    m_state = savedState;
    m_tempBufferPtr = savedBuffer;
}

void TDataSet::calculateFields(TRecordBuffer &buffer)
{
    if (m_calculatedCount == 0 && !OnCalcFields)
        return;
    buffer.calculated.assign(size_t(m_calculatedCount), std::nullopt);
    if (OnCalcFields)
        runInTempState(TDataSetState::dsCalcFields, buffer, [this] { OnCalcFields(*this); });
}

bool TDataSet::filterAccepts(TRecordBuffer &buffer)
{
    bool accept = true;
    runInTempState(TDataSetState::dsFilter, buffer, [&] {
        calculateFields(buffer);
        if (recordFilterActive())
            OnFilterRecord(*this, accept);
    });
    return accept;
}

// --- state and events ------------------------------------------------------------------

void TDataSet::setState(TDataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    m_modified = false;
    dataEvent(TDataEvent::deUpdateState);
}

void TDataSet::dataEvent(TDataEvent event, qintptr info)
{
    // Whoever changed the field (a field object, a blob stream), the record is modified
    // and what is calculated from it follows.
    if (event == TDataEvent::deFieldChange && info != 0) {
        TField &field = *reinterpret_cast<TField *>(info);
        if (!field.isCalculated())
            m_modified = true;
        if (m_autoCalcFields && m_calculatedCount > 0) {
            if (TRecordBuffer *buffer = activeBuffer())
                calculateFields(*buffer);
        }
        if (field.OnChange)
            field.OnChange(field);
    }
    if (m_disableCount > 0) {
        // A closing or a new layout while disabled needs more than a plain refresh later.
        if ((event == TDataEvent::deUpdateState && m_state == TDataSetState::dsInactive)
            || event == TDataEvent::deLayoutChange)
            m_pendingEvent = TDataEvent::deLayoutChange;
        m_eventPending = true;
        return;
    }
    const QList<TDataSource *> sources = m_dataSources;
    for (TDataSource *source : sources) {
        if (m_dataSources.contains(source))
            source->notifyDataEvent(event, info);
    }
}

void TDataSet::disableControls()
{
    if (m_disableCount == 0) {
        m_disableState = m_state;
        m_pendingEvent = TDataEvent::deDataSetChange;
        m_eventPending = false;
    }
    ++m_disableCount;
}

void TDataSet::enableControls()
{
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    if (m_disableState != m_state)
        dataEvent(TDataEvent::deUpdateState);
    if (m_disableState != TDataSetState::dsInactive && m_state != TDataSetState::dsInactive)
        dataEvent(m_pendingEvent);
}

void TDataSet::registerDataSource(TDataSource *source)
{
    if (!source || m_dataSources.contains(source))
        return;
    m_dataSources.append(source);
    updateBufferCount();
}

void TDataSet::unregisterDataSource(TDataSource *source)
{
    if (m_dataSources.removeAll(source) > 0)
        updateBufferCount();
}

bool TDataSet::isLinkedTo(TDataSource *) const
{
    return false;
}

int TDataSet::requestedBufferCount() const
{
    int count = 1;
    for (const TDataSource *source : m_dataSources) {
        for (const TDataLink *link : source->dataLinks())
            count = std::max(count, link->bufferCount());
    }
    return count;
}

void TDataSet::shiftLinkWindows(int delta)
{
    if (delta == 0)
        return;
    for (const TDataSource *source : std::as_const(m_dataSources)) {
        for (TDataLink *link : source->dataLinks())
            link->windowShifted(delta);
    }
}

// --- bookmarks, locating, blobs: the concrete dataset knows -------------------------------

TBookmark TDataSet::getBookmark() const
{
    const TRecordBuffer *buffer = activeBuffer();
    if (!buffer || buffer->flag != TBookmarkFlag::bfCurrent || buffer->bookmark == 0)
        return TBookmark();
    return bookmarkFromId(buffer->bookmark);
}

bool TDataSet::bookmarkValid(const TBookmark &)
{
    return false;
}

int TDataSet::compareBookmarks(const TBookmark &a, const TBookmark &b) const
{
    if (a.isEmpty() || b.isEmpty())
        return int(b.isEmpty()) - int(a.isEmpty());
    const qint32 x = bookmarkToId(a);
    const qint32 y = bookmarkToId(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

int TDataSet::recordCount()
{
    checkActive();
    return -1;
}

int TDataSet::recNo()
{
    checkActive();
    return -1;
}

void TDataSet::setRecNo(int)
{
}

bool TDataSet::isEmpty() const
{
    return m_recordCount == 0;
}

bool TDataSet::locate(const QString &, const QVariantList &, int)
{
    return false;
}

QVariant TDataSet::lookup(const QString &, const QVariantList &, const QString &)
{
    return QVariant();
}

std::unique_ptr<QIODevice> TDataSet::createBlobStream(TField *, TBlobStreamMode)
{
    return nullptr;
}

void TDataSet::doOnNewRecord()
{
    fire(OnNewRecord, *this);
}
