// Master and detail, the conditions built from key values, locate and lookup.

#include "store/TArcTable.h"

#include "db/DatabaseError.h"
#include "db/TDataSource.h"
#include "db/TField.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/Value.h"
#include "store/TArcTableCondition.h"
#include "store/TArcTableValueText.h"

namespace {

bool isTextType(TFieldType type)
{
    return type == TFieldType::ftString || type == TFieldType::ftMemo || type == TFieldType::ftBlob
        || type == TFieldType::ftBytes;
}

arctable::KeyValue keyOfField(const TField &field)
{
    arctable::KeyValue key;
    key.type = field.dataType();
    key.isNull = field.isNull();
    key.text = isTextType(key.type) ? field.asString() : field.valueText();
    return key;
}

// A key value handed to locate or lookup, written the way a value text of its field is.
arctable::KeyValue keyOfVariant(TFieldType type, const QVariant &value)
{
    arctable::KeyValue key;
    key.type = type;
    key.isNull = !value.isValid() || value.isNull();
    if (key.isNull)
        return key;
    switch (type) {
    case TFieldType::ftBoolean: {
        const auto parsed = value.typeId() == QMetaType::QString ? TField::parseBool(value.toString())
                                                                 : std::optional<bool>(value.toBool());
        key.text = parsed ? TField::boolText(*parsed) : value.toString();
        break;
    }
    case TFieldType::ftDate: case TFieldType::ftTime: case TFieldType::ftDateTime: {
        QDateTime moment;
        if (value.typeId() == QMetaType::QDate)
            moment = QDateTime(value.toDate(), QTime(0, 0));
        else if (value.typeId() == QMetaType::QTime)
            moment = QDateTime(dao::engineEpoch(), value.toTime());
        else if (value.typeId() == QMetaType::QDateTime)
            moment = value.toDateTime();
        if (moment.isValid())
            key.text = TField::dateTimeText(moment);
        else
            key.text = value.toString();   // taken as a value text already
        break;
    }
    case TFieldType::ftFloat: case TFieldType::ftCurrency:
        key.text = value.typeId() == QMetaType::QString ? value.toString() : QString::number(value.toDouble(), 'g', 15);
        break;
    default:
        key.text = value.toString();
        break;
    }
    return key;
}

} // namespace

// ---- Properties ----

bool TArcTable::isLinkedTo(TDataSource *other) const
{
    // Following masters from `other` must never come back to this dataset.
    for (TDataSource *source = other; source;) {
        TDataSet *dataSet = source->dataSet();
        if (!dataSet)
            return false;
        if (dataSet == this)
            return true;
        const auto *table = qobject_cast<const TArcTable *>(dataSet);
        source = table ? table->MasterSource() : nullptr;
    }
    return false;
}

void TArcTable::setMasterSource(TDataSource *source)
{
    if (source == m_masterSource)
        return;
    if (source && isLinkedTo(source))
        fail(QStringLiteral("Circular links not allowed!"));
    m_masterSource = source;
    if (!source)
        assignMasterFields({});
    m_masterLink.setDataSource(source);
    reopen();
}

void TArcTable::setMasterFields(const QStringList &lines)
{
    assignMasterFields(lines);
    reopen();
}

void TArcTable::assignMasterFields(const QStringList &lines)
{
    m_masterFields = lines;
    const arctable::LinkPairs pairs = arctable::parseMasterFields(lines);
    m_detailNames = pairs.detail;
    m_masterNames = pairs.master;
    m_masterLink.setFieldNames(m_masterNames.join(QLatin1Char(';')));
}

// ---- Conditions ----

QString TArcTable::masterCondition() const
{
    if (m_detailNames.size() != m_masterNames.size())
        fail(QStringLiteral("The number of Master and Detail fields must be equal!"));
    const TDataSet *master = m_masterSource->dataSet();
    QStringList terms;
    for (qsizetype i = 0; i < m_detailNames.size(); ++i) {
        const TField *field = master->fieldByName(m_masterNames[i]);
        terms << arctable::term(m_detailNames[i], arctable::masterValuePart(keyOfField(*field)), m_useBrackets);
    }
    return arctable::joinTerms(terms);
}

QString TArcTable::detailWhere() const
{
    return arctable::combineWithFilter(masterCondition(), filtered() ? m_filter : QString());
}

void TArcTable::applyMasterLink()
{
    if (!m_masterSource || !m_masterSource->dataSet())
        return;
    TDataSet *master = m_masterSource->dataSet();
    if (!master->active() && m_masterAutoActivate)
        master->open();
    if (!m_masterLink.active() || !m_masterSource->enabled() || m_detailNames.isEmpty())
        return;
    // The detail is read by its link fields at every move of the master.
    m_database->database()->EnsureIndex(m_tableName, m_detailNames);
    const QString where = detailWhere();
    sendFilter(*m_rs, where);
    m_rs->Close();
    m_rs = openOnDatabase(arctable::selectText(m_tableName, where, m_sortText));
    m_rsIsDetailSelect = true;
}

void TArcTable::masterChanged()
{
    if (!active() || !m_rs)
        return;
    checkBrowseMode();
    TDataSet *master = m_masterSource ? m_masterSource->dataSet() : nullptr;
    if (!master || master->controlsDisabled() || controlsDisabled() || !m_masterLink.active()
        || !m_masterSource->enabled() || m_masterSource->state() == TDataSetState::dsEdit || m_detailNames.isEmpty())
        return;
    if (!rebindDetail()) {
        replaceRecordset([this](RecordsetInUse &) {
            try {
                m_rs = openOnDatabase(arctable::selectText(m_tableName, detailWhere(), m_sortText));
                m_rsIsDetailSelect = true;
            } catch (const std::exception &) {
                // The detail's own select refused: the full opening is the fallback.
                m_rs.reset();
                openRecordset();
            }
        });
    }
    try {
        m_cachedRecordCount = computeRecordCount();
        m_countStale = false;
    } catch (const std::exception &) {
        // The recordset is in place; the count is only a cache and is asked again later.
        markCountStale();
    }
    idle();
    first();
}

// A walk through the cards moves the members' master at every card: the recordset in use
// takes the new card's key and reads its rows exactly as a new one opened with the same
// select would (within a block of cards, from the rows fetched for the whole block), so the
// engine is sent the same text and the hook sees it, but no recordset is made per card.
// False when the recordset in use is not the plain select or refuses: the caller opens anew.
bool TArcTable::rebindDetail()
{
    if (!m_rsIsDetailSelect || m_criteriaBase || m_criteriaInEngine)
        return false;
    const QString where = detailWhere();
    clearBuffers();
    m_knownBookmarks.clear();
    m_backgroundCount.reset();
    try {
        m_rs->Rebind(where);
    } catch (const std::exception &) {
        // Whatever the recordset holds now is replaced by the usual open, which reports.
        m_rsIsDetailSelect = false;
        return false;
    }
    const QString sql = arctable::selectText(m_tableName, where, m_sortText);
    m_lastSql = sql;
    if (OnEngineText)
        OnEngineText(QStringLiteral("OpenRecordset"), sql);
    m_appliedCriteria.reset();
    m_currentPosition = -1;
    m_highestPosition = -1;
    // No count in the background: a member table's select has no criteria in the engine,
    // and the caller counts the new card's members at once.
    markCountStale();
    return true;
}

void TArcTable::masterDisabled()
{
    if (active())
        checkBrowseMode();
}

void TArcTable::doOnNewRecord()
{
    TDataSet *master = m_masterSource ? m_masterSource->dataSet() : nullptr;
    if (master && m_masterLink.active() && !m_detailNames.isEmpty()) {
        for (qsizetype i = 0; i < m_detailNames.size() && i < m_masterNames.size(); ++i) {
            TField *detail = findField(m_detailNames[i]);
            const TField *source = master->findField(m_masterNames[i]);
            if (!detail || !source)
                continue;
            detail->setValueText(source->isBlob() ? source->asString() : source->valueText());
        }
    }
    TDataSet::doOnNewRecord();
}

// ---- Locate and lookup ----

QString TArcTable::keyCondition(const QStringList &names, const QVariantList &values, int options) const
{
    if (names.size() != values.size())
        fail(QStringLiteral("Number of elements in the KeyValues array must be equal to the number of fields."));
    const bool caseInsensitive = options & int(TLocateOption::loCaseInsensitive);
    const bool partialKey = options & int(TLocateOption::loPartialKey);
    QStringList terms;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const TField *field = fieldByName(names[i]);
        const arctable::KeyValue key = keyOfVariant(field->dataType(), values[i]);
        terms << arctable::term(field->fieldName(), arctable::locateValuePart(key, caseInsensitive, partialKey),
                                m_useBrackets);
    }
    return arctable::joinTerms(terms);
}

bool TArcTable::locate(const QString &keyFields, const QVariantList &keyValues, int options)
{
    checkActive();
    checkBrowseMode();
    if (isEmpty() || (filtered() && OnFilterRecord))
        return false;
    QStringList names;
    for (const QString &name : keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        names << name.trimmed();
    const QString condition = keyCondition(names, keyValues, options);
    if (m_tableType == 1)
        fail(QStringLiteral("Index Property is Empty!\r\nYou must set an index before using Locate with StandardTables"));

    const TRecordBuffer *current = activeBuffer();
    std::unique_ptr<dao::Recordset> finder = cloneAt(current ? current->bookmark : 0);
    m_lastFindText = condition;
    if (OnEngineText)
        OnEngineText(QStringLiteral("FindFirst"), condition);
    finder->FindFirst(condition);
    if (finder->NoMatch())
        return false;
    const QByteArray found = finder->Bookmark();
    const int position = finder->AbsolutePosition();

    if (BeforeScroll)
        BeforeScroll(*this);
    m_rs->setBookmark(found);
    m_currentPosition = position;
    activateBuffers();
    if (AfterScroll)
        AfterScroll(*this);
    return true;
}

QVariant TArcTable::lookup(const QString &keyFields, const QVariantList &keyValues, const QString &resultFields)
{
    checkActive();
    QStringList names;
    for (const QString &name : keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        names << name.trimmed();
    const QString condition = keyCondition(names, keyValues, 0);
    if (condition.isEmpty())
        fail(QStringLiteral("Unable to build Lookup Key SQL!"));
    QStringList results;
    for (const QString &name : resultFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        results << name.trimmed();
    if (results.isEmpty())
        fail(QStringLiteral("ResultFields are not defined"));
    if (isEmpty())
        return {};

    std::unique_ptr<dao::Recordset> finder = m_rs->Clone();
    m_lastFindText = condition;
    if (OnEngineText)
        OnEngineText(QStringLiteral("FindFirst"), condition);
    finder->FindFirst(condition);
    if (finder->NoMatch())
        return {};
    QVariantList values;
    for (const QString &name : results) {
        const dao::Value value = finder->field(name).value();
        const TField *field = fieldByName(name);
        const QString text = field->isBlob() ? value.asText() : arctable::valueText(value, field->dataType());
        values << (value.isNull() ? QVariant() : QVariant(text));
    }
    return values.size() == 1 ? values.front() : QVariant(values);
}
