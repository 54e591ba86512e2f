// Properties, opening and closing, field definitions and binding.

#include "store/TArcTable.h"

#include "db/DatabaseError.h"
#include "db/TDataSource.h"
#include "db/TField.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "platform/ComRuntime.h"
#include "store/BackgroundCount.h"
#include "store/TArcDatabase.h"
#include "store/TArcTableCondition.h"
#include "store/TArcTableValueText.h"
#include "store/Quietly.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cstdlib>

namespace {

void closeQuietly(std::unique_ptr<dao::Recordset> &recordset)
{
    if (!recordset)
        return;
    try {
        recordset->Close();
    } catch (const dao::EngineError &) {
        // The connection may already be gone; the recordset is dropped either way.
    }
    recordset.reset();
}

} // namespace

TArcTable::TArcTable(QObject *owner)
    : TDataSet(owner), m_masterLink(this)
{
    // The engine is reached through the component runtime of this thread; finding it
    // already initialised is as good as initialising it.
    const int runtime = platform::coInitialize();
    if (runtime != 0 && runtime != 1)
        fail(QStringLiteral("Unable to init OLE objects!"));
    m_masterLink.OnMasterChange = [this] { masterChanged(); };
    m_masterLink.OnMasterDisable = [this] { masterDisabled(); };
}

TArcTable::~TArcTable()
{
    // Closing needs this class's own steps, which are gone once the base destructor runs.
    closeForDestruction();
    m_masterLink.setDataSource(nullptr);
    platform::coUninitialize();
}

void TArcTable::fail(const QString &message)
{
    throw EDatabaseError(message);
}

void TArcTable::refuseWhileActive(const char *message) const
{
    if (active())
        fail(QString::fromLatin1(message));
}

// ---- Properties ----

void TArcTable::setDatabase(TArcDatabase *database)
{
    if (database == m_database)
        return;
    refuseWhileActive("TArcTable.F_Set_Database: Cannot set Database while Table is Active!");
    m_database = database;
}

void TArcTable::setTableName(const QString &name)
{
    if (name == m_tableName)
        return;
    refuseWhileActive("TArcTable.F_Set_TableName: Cannot set TableName while Table is active!");
    m_tableName = name;
    if (!name.isEmpty()) {
        // A table replaces whatever described the previous source.
        m_sortedBy.clear();
        m_sql.clear();
        m_queryDefName.clear();
        m_indexName.clear();
        mutableFieldDefs().clear();
    }
}

void TArcTable::setTableType(int type)
{
    if (type == m_tableType)
        return;
    refuseWhileActive("TArcTable.F_Set_TableType: Cannot set TableType while Table is active!");
    m_tableType = type;
    if (type == dao::dbOpenTable || type == dao::dbOpenForwardOnly)
        m_sortedBy.clear();
}

void TArcTable::setLockType(int lockType)
{
    if (lockType == m_lockType)
        return;
    refuseWhileActive("TArcTable.F_Set_LockType: Cannot set LockType while Table is active!");
    m_lockType = lockType;
}

void TArcTable::setOpenOptions(TArcOpenOptions options)
{
    if (options == m_openOptions)
        return;
    m_openOptions = options;
    reopen();
}

void TArcTable::setSortedBy(const QStringList &items)
{
    m_sortedBy = items;
    ReopenRecordset();
}

void TArcTable::setSortedByText(const QString &text)
{
    setSortedBy(text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")), Qt::SkipEmptyParts));
}

void TArcTable::setFiltered(bool on)
{
    if (on == filtered())
        return;
    const bool previous = filtered();
    TDataSet::setFiltered(on);
    try {
        reopen();
    } catch (...) {
        TDataSet::setFiltered(previous);
        if (!active() && m_database && m_database->Connected())
            store::quietly([this] { open(); });   // the reopen's own error is the one reported
        throw;
    }
}

void TArcTable::setFilter(const QString &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    if (filtered())
        reopen();
}

void TArcTable::setOnFilterRecord(TFilterRecordEvent handler)
{
    OnFilterRecord = std::move(handler);
    if (filtered())
        reopen();
}

void TArcTable::setFilterCriteria(TFilterCriteriaEvent criteria)
{
    FilterCriteria = std::move(criteria);
    if (filtered())
        reopen();
}

void TArcTable::setReadOnly(bool readOnly)
{
    if (!readOnly && m_database && m_database->Connected() && m_database->ReadOnly())
        readOnly = true;
    TDataSet::setReadOnly(readOnly);
}

bool TArcTable::LockEdits() const
{
    if (!m_rs || !m_database || m_database->DatabaseType() == QLatin1String("ODBC"))
        return false;
    if (m_tableType != dao::dbOpenTable && m_tableType != dao::dbOpenDynaset)
        return false;
    if (m_database->ReadOnly() || readOnly())
        return false;
    return m_rs->LockEdits();
}

void TArcTable::closeForDisconnect()
{
    close();
}

void TArcTable::forceReadOnly()
{
    TDataSet::setReadOnly(true);
}

// ---- Opening ----

void TArcTable::idle()
{
    if (m_database)
        m_database->IdleEngine();
}

bool TArcTable::forwardOnly() const
{
    return m_tableType == dao::dbOpenForwardOnly;
}

std::unique_ptr<dao::Recordset> TArcTable::openOnDatabase(const QString &source)
{
    if (source.startsWith(QLatin1String("Select "), Qt::CaseInsensitive))
        m_lastSql = source;
    if (OnEngineText)
        OnEngineText(QStringLiteral("OpenRecordset"), source);
    return m_database->database()->OpenRecordset(source, m_tableType, OpenOptionsValue(), m_lockType);
}

std::unique_ptr<dao::Recordset> TArcTable::reopenFrom(std::unique_ptr<dao::Recordset> recordset)
{
    if (OnEngineText)
        OnEngineText(QStringLiteral("OpenRecordset"), QString());
    std::unique_ptr<dao::Recordset> opened = recordset->OpenRecordset(m_tableType, OpenOptionsValue());
    recordset->Close();
    return opened;
}

void TArcTable::sendSort(dao::Recordset &recordset, const QString &text)
{
    m_lastSortText = text;
    if (OnEngineText)
        OnEngineText(QStringLiteral("Sort"), text);
    recordset.setSort(text);
}

void TArcTable::sendFilter(dao::Recordset &recordset, const QString &text)
{
    m_lastFilterText = text;
    if (OnEngineText)
        OnEngineText(QStringLiteral("Filter"), text);
    recordset.setFilter(text);
}

// Updatable flags and the defaults a new record shows, one per recordset field.
void TArcTable::readFieldProperties()
{
    const int count = m_rs->fieldCount();
    m_updatable.assign(size_t(count), true);
    m_defaults.assign(size_t(count), QString());
    if (readOnly() || !m_useDaoProperties)
        return;
    for (int i = 0; i < count; ++i) {
        dao::Field &field = m_rs->field(i);
        const int attributes = field.Attributes();
        m_updatable[size_t(i)] = (attributes & dao::dbUpdatableField)
            && !(attributes & dao::dbAutoIncrField) && !(attributes & dao::dbSystemField);
        if (m_database->EngineType() == dao::dbUseJet) {
            const TFieldType type = arctable::fieldTypeOf(field.Type(), attributes, field.Property(QStringLiteral("Format")));
            m_defaults[size_t(i)] = arctable::defaultValueText(field.DefaultValue(), type);
        }
    }
}

void TArcTable::fillFieldCache()
{
    m_fieldCache.clear();
    for (int i = 0; i < m_rs->fieldCount(); ++i)
        m_fieldCache.push_back(&m_rs->field(i));
}

void TArcTable::openRecordset()
{
    if (!m_database)
        fail(QStringLiteral("TArcTable.OpenDaoRecordset: Missing Database Property"));
    if (m_tableName.isEmpty() && m_sql.join(QString()).trimmed().isEmpty() && m_queryDefName.isEmpty())
        fail(QStringLiteral("TArcTable.OpenDaoRecordset: Missing TableName or QueryDefName, or SQL is empty!"));
    if (!m_database->Connected()) {
        if (!m_databaseAutoActivate)
            fail(QStringLiteral("TArcTable.OpenDaoRecordset: Database is NOT connected"));
        m_database->Open();
    }
    if (m_tableType == dao::dbOpenDynamic && m_database->DatabaseType() != QLatin1String("ODBC"))
        fail(QStringLiteral("TArcTable.OpenDaoRecordset: DynamicTables are for ODBC connections only!"));

    if (m_database->ReadOnly() || m_tableType == dao::dbOpenSnapshot || m_tableType == dao::dbOpenForwardOnly)
        TDataSet::setReadOnly(true);

    m_rsIsDetailSelect = false;
    try {
        m_rs = openOnDatabase(m_tableName.isEmpty() ? m_sql.join(QLatin1Char(' ')) : m_tableName);
        idle();
        if (!m_rs->Updatable())
            TDataSet::setReadOnly(true);
        m_bookmarkable = m_rs->Bookmarkable();
        m_knownBookmarks.clear();
        m_database->RefreshCatalogue();
        m_recordsAffected = m_database->database()->RecordsAffected();

        readFieldProperties();

        m_sortText = arctable::sortText(m_sortedBy);
        if (!m_sortedBy.isEmpty()) {
            sendSort(*m_rs, m_sortText);
            // A walk over a whole selection the engine makes below (a print) takes the order
            // with it: only the chosen records are put in order, not the whole table first.
            // The list on screen keeps the whole table in order, so that each new search
            // finds its first screen without ordering all its matches.
            const std::optional<TFilterCriteria> criteria = currentCriteria();
            const std::optional<dao::RecordCondition> condition = criteria ? engineCondition(*criteria) : std::nullopt;
            if (!m_readsWholeSelection || !condition || condition->isEmpty())
                m_rs = reopenFrom(std::move(m_rs));
        }
        if (filtered() && !m_filter.isEmpty()) {
            sendFilter(*m_rs, m_filter);
            m_rs = reopenFrom(std::move(m_rs));
        }
        applyMasterLink();
        applyCriteria();

        fillFieldCache();
        m_currentPosition = -1;
        m_highestPosition = -1;
        markCountStale();
        idle();
    } catch (...) {
        closeRecordset();
        throw;
    }
}

void TArcTable::closeRecordset()
{
    m_backgroundCount.reset();
    m_fieldCache.clear();
    m_criteriaInEngine = false;
    m_appliedCriteria.reset();
    m_rsIsDetailSelect = false;
    closeQuietly(m_criteriaBase);
    closeQuietly(m_rs);
}

void TArcTable::buildFieldDefs()
{
    TFieldDefs &defs = mutableFieldDefs();
    defs.clear();
    const bool required = m_useDaoProperties && !readOnly();
    for (int i = 0; i < m_rs->fieldCount(); ++i) {
        dao::Field &field = m_rs->field(i);
        const TFieldType type = arctable::fieldTypeOf(field.Type(), field.Attributes(),
                                                      field.Property(QStringLiteral("Format")));
        defs.add(field.Name(), type, arctable::definitionSize(field.Type(), field.Size()),
                 required && field.Required());
    }
}

int TArcTable::calculatedSlots() const
{
    int count = 0;
    for (TField *field : fields())
        count = std::max(count, field->calculatedSlot() + 1);
    return count;
}

void TArcTable::bindTableFields(bool hadFields)
{
    bindFields();
    const TFieldDefs &defs = fieldDefs();
    m_fieldObjects.assign(size_t(defs.count()), nullptr);
    for (TField *field : fields()) {
        if (!field->isCalculated() && field->fieldNo() > 0 && field->fieldNo() <= defs.count())
            m_fieldObjects[size_t(field->fieldNo() - 1)] = field;
    }
    m_boundFieldNames.clear();
    for (int i = 0; i < defs.count(); ++i) {
        TField *field = m_fieldObjects[size_t(i)];
        if (!field)
            continue;
        if (!m_updatable[size_t(i)])
            field->setReadOnly(true);
        if (!field->defaultExpression().isEmpty())
            m_defaults[size_t(i)] = arctable::defaultValueText(field->defaultExpression(), field->dataType());
        m_boundFieldNames << defs.at(i).name;
        if (!hadFields && field->dataType() == TFieldType::ftDateTime)
            field->setDisplayWidth(std::max(20, field->displayWidth()));
        if (!hadFields && m_cacheMemos && field->dataType() == TFieldType::ftMemo)
            field->setDisplayWidth(std::max(30, field->displayWidth()));
    }
}

void TArcTable::internalOpen()
{
    openRecordset();
    try {
        if (name().isEmpty()) {
            const qint64 number = qint64(QRandomGenerator::global()->bounded(10000))
                + QDeadlineTimer::current().deadline();
            setName(QStringLiteral("ArcTable_") + QString::number(std::llabs(number)));
        }
        const bool hadFields = fieldCount() > 0;
        buildFieldDefs();
        bindTableFields(hadFields);
        // The criteria name fields, which only now are bound to the recordset's.
        if (m_appliedCriteria && !m_criteriaInEngine) {
            applyCriteria();
            fillFieldCache();
        }
        if (m_tableType == dao::dbOpenTable) {
            // The count is a cache: when it cannot be had now it is asked again later.
            store::quietly([this] {
                m_cachedRecordCount = computeRecordCount();
                m_countStale = false;
            });
        }
        internalFirst();
        countInBackground();
        m_database->addOpenTable(name(), this);
        idle();
    } catch (...) {
        closeRecordset();
        throw;
    }
}

void TArcTable::internalClose()
{
    closeRecordset();
    if (m_database && !m_closingForDisconnect)
        m_database->removeOpenTable(this);
    m_closingForDisconnect = false;
    endRecordChange();
    m_knownBookmarks.clear();
    m_fieldObjects.clear();
    m_currentPosition = -1;
    m_highestPosition = -1;
    markCountStale();
}

TArcTable::RecordsetInUse TArcTable::takeRecordset()
{
    RecordsetInUse inUse{std::move(m_rs), std::move(m_criteriaBase), std::move(m_appliedCriteria),
                         m_criteriaInEngine, m_sortText};
    m_rs.reset();
    m_criteriaBase.reset();
    m_appliedCriteria.reset();
    m_criteriaInEngine = false;
    m_rsIsDetailSelect = false;
    m_fieldCache.clear();
    return inUse;
}

void TArcTable::restoreRecordset(RecordsetInUse &previous)
{
    m_rs = std::move(previous.rs);
    m_criteriaBase = std::move(previous.criteriaBase);
    m_appliedCriteria = std::move(previous.appliedCriteria);
    m_criteriaInEngine = previous.criteriaInEngine;
    m_sortText = previous.sortText;
    fillFieldCache();
}

// Every way of putting a new recordset in place of the one in use comes through here, and
// every failure ends the same way: the dataset stays on the recordset it had, which reads
// its rows by key and so goes on working once the storage answers again (a server
// connection is made again at the next call), and the error goes on to the user. A search
// that failed is tried again at the next move to the first record, since the criteria
// applied are still the old ones. Only when there was no recordset to go back to does the
// dataset close: one left open over nothing would skip its later requeries and crash.
void TArcTable::replaceRecordset(const std::function<void(RecordsetInUse &previous)> &openNew)
{
    checkBrowseMode();
    clearBuffers();
    m_knownBookmarks.clear();
    RecordsetInUse previous = takeRecordset();
    try {
        openNew(previous);
        if (!m_rs)
            fail(QStringLiteral("TArcTable.OpenDaoRecordset: no recordset"));
        fillFieldCache();
        m_currentPosition = -1;
        m_highestPosition = -1;
        markCountStale();
        countInBackground();
    } catch (...) {
        closeRecordset();
        if (previous.rs) {
            restoreRecordset(previous);
            markCountStale();
        } else {
            close();
        }
        throw;
    }
    closeQuietly(previous.criteriaBase);
    closeQuietly(previous.rs);
}

void TArcTable::reopen()
{
    if (!active())
        return;
    replaceRecordset([this](RecordsetInUse &) { openRecordset(); });
    first();
}

void TArcTable::ReopenRecordset()
{
    reopen();
}
