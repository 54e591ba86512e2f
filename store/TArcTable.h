#pragma once
// The table dataset: one table of the archive as a navigable, editable sequence of records
// over one engine recordset. Records are fetched one at a time into record buffers that
// hold every value as its value text; changes are written back field by field. A new sort
// order, text filter or master key closes the recordset and opens a new one; the record
// filter event is applied on top, record by record, as records are fetched. Memo fields
// are read on demand through TArcBlobStream.

#include "db/FilterCriteria.h"
#include "db/TDataSet.h"
#include "db/TDataSource.h"
#include "db/TMasterDataLink.h"
#include "engine/Summary.h"
#include "store/TArcOpenTable.h"

#include <QFlags>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace dao {
struct RecordCondition;
class Database;
class Field;
class Recordset;
class ReadScope;
}
class TArcDatabase;
class TArcBlobStream;
class BackgroundCount;

// Engine open options; each member's value is the engine's.
enum class TArcOpenOption : int {
    dbDenyWrite = 1, dbDenyRead = 2, dbReadOnly = 4, dbAppendOnly = 8, dbInconsistent = 16,
    dbConsistent = 32, dbSQLPassThrough = 64, dbFailOnError = 128, dbForwardOnly = 256,
    dbSeeChanges = 512, dbRunAsync = 1024, dbExecDirect = 2048,
};
Q_DECLARE_FLAGS(TArcOpenOptions, TArcOpenOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TArcOpenOptions)

class TArcTable : public TDataSet, public TArcOpenTable {
    Q_OBJECT
public:
    explicit TArcTable(QObject *owner = nullptr);
    ~TArcTable() override;

    // --- configuration -----------------------------------------------------------------
    // Database, TableName, TableType and LockType refuse changes while open.
    TArcDatabase *Database() const { return m_database; }
    void setDatabase(TArcDatabase *database);
    const QString &TableName() const { return m_tableName; }
    void setTableName(const QString &name);
    int TableType() const { return m_tableType; }
    void setTableType(int type);
    int LockType() const { return m_lockType; }
    void setLockType(int lockType);
    TArcOpenOptions OpenOptions() const { return m_openOptions; }
    void setOpenOptions(TArcOpenOptions options);
    int OpenOptionsValue() const { return int(m_openOptions); }

    // Sort items, one engine sort term each. The program edits the list in place and then
    // calls ReopenRecordset; assigning a whole list reopens by itself.
    const QStringList &SortedBy() const { return m_sortedBy; }
    QStringList &SortedByList() { return m_sortedBy; }
    void setSortedBy(const QStringList &items);
    QString SortedByText() const { return m_sortedBy.join(QLatin1Char('\n')); }
    void setSortedByText(const QString &text);
    bool RefreshSorted() const { return m_refreshSorted; }
    void setRefreshSorted(bool on) { m_refreshSorted = on; }

    // Filtered turns on both the text filter and the record filter event.
    void setFiltered(bool filtered) override;
    const QString &Filter() const { return m_filter; }
    void setFilter(const QString &filter);
    void setOnFilterRecord(TFilterRecordEvent handler);
    // What OnFilterRecord accepts now, as data; nothing when it cannot be so stated. Asked
    // at every open and every move to the first record: when the criteria can be evaluated
    // by the engine, the recordset holds only the records they accept (in the sort order)
    // and OnFilterRecord is not called; otherwise OnFilterRecord judges every record.
    using TFilterCriteriaEvent = std::function<std::optional<TFilterCriteria>()>;
    TFilterCriteriaEvent FilterCriteria;
    void setFilterCriteria(TFilterCriteriaEvent criteria);
    // Whether the open recordset holds only what the record filter's criteria accept.
    bool criteriaInEngine() const { return m_criteriaInEngine; }
    // On while a walk reads every record the criteria select (a printed list): the engine
    // then takes the whole selection at its next selection, instead of a first screen now
    // and a second look through the archive for the rest, with a count beside it.
    void setReadsWholeSelection(bool on) { m_readsWholeSelection = on; }

    TDataSource *MasterSource() const { return m_masterSource; }
    void setMasterSource(TDataSource *source);   // "Circular links not allowed!"
    const QStringList &MasterFields() const { return m_masterFields; }
    void setMasterFields(const QStringList &lines);
    bool MasterAutoActivate() const { return m_masterAutoActivate; }
    void setMasterAutoActivate(bool on) { m_masterAutoActivate = on; }
    bool DatabaseAutoActivate() const { return m_databaseAutoActivate; }
    void setDatabaseAutoActivate(bool on) { m_databaseAutoActivate = on; }

    bool UseBrackets() const { return m_useBrackets; }
    void setUseBrackets(bool on) { m_useBrackets = on; }
    bool UseRecordCount() const { return m_useRecordCount; }
    void setUseRecordCount(bool on) { m_useRecordCount = on; }
    bool UseGetRecNo() const { return m_useGetRecNo; }
    void setUseGetRecNo(bool on) { m_useGetRecNo = on; }
    bool UseDaoProperties() const { return m_useDaoProperties; }
    void setUseDaoProperties(bool on) { m_useDaoProperties = on; }
    bool UseCaptions() const { return m_useCaptions; }
    void setUseCaptions(bool on) { m_useCaptions = on; }
    bool AutoFindIndex() const { return m_autoFindIndex; }
    void setAutoFindIndex(bool on) { m_autoFindIndex = on; }
    bool CacheMemos() const { return m_cacheMemos; }
    void setCacheMemos(bool on) { m_cacheMemos = on; }
    bool CacheBlobs() const { return m_cacheBlobs; }
    void setCacheBlobs(bool on) { m_cacheBlobs = on; }
    bool CacheLookups() const { return m_cacheLookups; }
    void setCacheLookups(bool on) { m_cacheLookups = on; }
    bool WarnOnBadDatabase() const { return m_warnOnBadDatabase; }
    void setWarnOnBadDatabase(bool on) { m_warnOnBadDatabase = on; }
    bool ParamCheck() const { return m_paramCheck; }
    void setParamCheck(bool on) { m_paramCheck = on; }
    const QStringList &SQL() const { return m_sql; }
    void setSQL(const QStringList &sql) { m_sql = sql; }
    const QString &QueryDefName() const { return m_queryDefName; }
    const QString &IndexName() const { return m_indexName; }
    void setIndexName(const QString &name) { m_indexName = name; }
    QString ComponentVersion() const { return QStringLiteral("8.20"); }

    // Setting false is refused (stays true) while the connection is connected read-only.
    void setReadOnly(bool readOnly);
    // The recordset's LockEdits while open on a non-ODBC connection, table or dynaset,
    // neither the connection nor the table read-only; false otherwise.
    bool LockEdits() const;

    // --- run-time ----------------------------------------------------------------------
    // The recordset field names that have a field object, in recordset order.
    const QStringList &BoundFieldNames() const { return m_boundFieldNames; }
    dao::Recordset *EngineRecordset() const { return m_rs.get(); }
    const QString &SortText() const { return m_sortText; }
    int RecordsAffected() const { return m_recordsAffected; }

    // Leaves edit mode, opens the recordset again with the current sort, filter and master
    // key, and goes to the first record; nothing when closed.
    void ReopenRecordset();

    // The groups of a summary (engine/Summary.h) over the records the table shows, counted
    // by the storage: figures over a whole selection without reading its records (the
    // cursor moves only to apply changed criteria, to the first record). Where program code
    // (the record filter) accepts the records, a walk of a clone finds them first.
    std::vector<dao::SummaryGroup> selectionSummary(const dao::Summary &summary);

    // The texts last handed to the engine, and a hook that sees each one as it is sent
    // ("OpenRecordset" with the source, "Sort", "Filter", "FindFirst" with the condition).
    const QString &lastSortText() const { return m_lastSortText; }
    const QString &lastFilterText() const { return m_lastFilterText; }
    const QString &lastSql() const { return m_lastSql; }
    const QString &lastFindText() const { return m_lastFindText; }
    std::function<void(const QString &call, const QString &text)> OnEngineText;

    // Runs inside a post's write transaction, once the engine holds the record in edit or
    // add and before the fields go out: a handler sets fields from what the archive holds
    // at that moment (what other desks saved included). A failure aborts the post.
    TDataSetNotifyEvent OnSaving;
    // The text of the refusal when the user starts changing a record that another desk
    // saved after this one showed it (naming the record); a plain text without a handler.
    std::function<QString(TDataSet &)> OnChangedElsewhere;
    static QString changedElsewhereText();

    // --- dataset contract --------------------------------------------------------------
    int recordCount() override;
    int knownRecordCount() const override;
    bool recordCountComing() const override { return m_backgroundCount != nullptr; }
    // Rows of the archive each step of a search's background count goes through (0: as
    // many as take a few milliseconds).
    void setCountStepRows(int rows) { m_countStepRows = rows; }
    int recNo() override;
    void setRecNo(int value) override;
    bool bookmarkValid(const TBookmark &bookmark) override;
    bool locate(const QString &keyFields, const QVariantList &keyValues, int options) override;
    QVariant lookup(const QString &keyFields, const QVariantList &keyValues, const QString &resultFields) override;
    std::unique_ptr<QIODevice> createBlobStream(TField *field, TBlobStreamMode mode) override;
    bool isLinkedTo(TDataSource *other) const override;

    // --- the connection's side -----------------------------------------------------------
    void setClosingForDisconnect(bool closing) override { m_closingForDisconnect = closing; }
    void closeForDisconnect() override;
    void forceReadOnly() override;

protected:
    void internalOpen() override;
    void internalClose() override;
    bool isCursorOpen() const override { return m_rs != nullptr; }
    TGetResult getRecord(TRecordBuffer &buffer, TGetMode mode, bool doCheck) override;
    void internalFirst() override;
    void internalLast() override;
    void internalSetToRecord(const TRecordBuffer &buffer) override;
    void internalGotoBookmark(const TBookmark &bookmark) override;
    void internalInitRecord(TRecordBuffer &buffer) override;
    void internalEdit() override;
    void internalPost() override;
    void internalCancel() override;
    void internalDelete() override;
    void internalRefresh() override;
    void doOnNewRecord() override;
    // A batch of reads is one read transaction of the archive (see dao::ReadScope).
    void beginReadBatch(int rows) override;
    void endReadBatch() override;

private:
    friend class TArcBlobStream;

    // Where the recordset stands, to come back to it after a look elsewhere.
    struct CursorMark {
        bool bof = true;
        bool eof = true;
        QByteArray bookmark;
        int position = -1;
    };

    // Opening and closing (TArcTable.cpp).
    [[noreturn]] static void fail(const QString &message);
    void refuseWhileActive(const char *message) const;
    void openRecordset();                  // checks, then the recordset with sort, filter, master key
    void closeRecordset();
    std::unique_ptr<dao::Recordset> openOnDatabase(const QString &source);
    std::unique_ptr<dao::Recordset> reopenFrom(std::unique_ptr<dao::Recordset> recordset);
    void sendSort(dao::Recordset &recordset, const QString &text);
    void sendFilter(dao::Recordset &recordset, const QString &text);
    void readFieldProperties();
    void fillFieldCache();
    void buildFieldDefs();
    void bindTableFields(bool hadFields);
    // The recordset in use and what it was made with, set aside while a new one opens.
    struct RecordsetInUse {
        std::unique_ptr<dao::Recordset> rs;
        std::unique_ptr<dao::Recordset> criteriaBase;
        std::optional<TFilterCriteria> appliedCriteria;
        bool criteriaInEngine = false;
        QString sortText;
    };
    // openNew puts a new recordset in m_rs; it may take the old one's pieces from `previous`
    // and must give them back there when it fails.
    void replaceRecordset(const std::function<void(RecordsetInUse &previous)> &openNew);
    RecordsetInUse takeRecordset();
    void restoreRecordset(RecordsetInUse &previous);
    void reopen();
    void idle();
    bool forwardOnly() const;
    int calculatedSlots() const;

    // Fetching (TArcTableFetch.cpp).
    TGetResult fetch(dao::Recordset &recordset, int &position, TRecordBuffer &buffer, TGetMode mode);
    bool acceptedFrom(dao::Recordset &recordset, TRecordBuffer &buffer);
    void readRecord(dao::Recordset &recordset, int position, TRecordBuffer &buffer);
    dao::Field &fieldOf(dao::Recordset &recordset, int index);
    void rememberBookmark(qint32 bookmark, int position);
    void forgetBookmark(qint32 bookmark);
    int computeRecordCount();
    TRecordBuffer spareBuffer() const;
    CursorMark markCursor() const;
    void returnTo(const CursorMark &mark);
    void positionOn(const TRecordBuffer &buffer);
    void refreshDataset();
    void reopenAfterFailedRefresh();
    void markCountStale();
    void countInBackground();   // a search's count, when its selection is not known whole yet
    bool filtering() const { return filtered() && OnFilterRecord != nullptr && !m_criteriaInEngine; }
    bool recordFilterActive() const override { return filtering(); }

    // The record filter's criteria as an engine condition (TArcTableCriteria.cpp).
    std::optional<TFilterCriteria> currentCriteria() const;
    std::optional<dao::RecordCondition> engineCondition(const TFilterCriteria &criteria) const;
    void applyCriteria(); // part of an open: the criteria's condition, when the engine can take it
    bool criteriaChanged() const;
    void reselect();      // the recordset again from the criteria's base, under the criteria now
    const dao::Database *engineDatabase() const;
    std::unique_ptr<dao::Recordset> cloneAt(qint32 bookmark) const;

    // Master and detail, locate (TArcTableMaster.cpp).
    void assignMasterFields(const QStringList &lines);
    void applyMasterLink();                // the master key of an open
    QString masterCondition() const;
    QString detailWhere() const;
    void masterChanged();
    bool rebindDetail();                   // the member rows of the new master in the recordset in use
    void masterDisabled();
    QString keyCondition(const QStringList &names, const QVariantList &values, int options) const;

    // Writing (TArcTableEdit.cpp).
    void writeFields(const TRecordBuffer &buffer);
    void cleanUpFailedPost(bool inserting);
    void finishPost(bool inserting, TRecordBuffer &buffer);
    bool isBlobIndex(int index) const;
    QString storedBlobText(int index, const TRecordBuffer &buffer);
    QString readBlobAt(dao::Recordset &recordset, int index);
    void storeBlobText(TRecordBuffer &buffer, int index, const QString &text);
    void endRecordChange();

    // Configuration.
    TArcDatabase *m_database = nullptr;
    QString m_tableName;
    int m_tableType = 2;
    int m_lockType = 3;
    TArcOpenOptions m_openOptions;
    QStringList m_sortedBy;
    bool m_refreshSorted = false;
    QString m_filter;
    QPointer<TDataSource> m_masterSource;
    QStringList m_masterFields;
    bool m_masterAutoActivate = true;
    bool m_databaseAutoActivate = false;
    bool m_useBrackets = true;
    bool m_useRecordCount = true;
    bool m_useGetRecNo = true;
    bool m_useDaoProperties = true;
    bool m_useCaptions = false;
    bool m_autoFindIndex = true;
    bool m_cacheMemos = false;
    bool m_cacheBlobs = false;
    bool m_cacheLookups = false;
    bool m_warnOnBadDatabase = false;
    bool m_paramCheck = true;
    QStringList m_sql;
    QString m_queryDefName;
    QString m_indexName;

    // Run-time state of an open dataset.
    std::unique_ptr<dao::Recordset> m_rs;
    TMasterDataLink m_masterLink;
    QString m_sortText;
    std::vector<dao::Field *> m_fieldCache;
    std::vector<TField *> m_fieldObjects;   // per field definition; null without one
    std::vector<bool> m_updatable;
    std::vector<QString> m_defaults;
    QStringList m_boundFieldNames;
    QStringList m_detailNames;
    QStringList m_masterNames;
    // Memo and binary content written in the edit or insert in progress, by field
    // definition; the record buffer itself holds only its length, as for fetched records.
    std::map<int, QString> m_pendingBlobs;
    QHash<qint32, int> m_knownBookmarks;
    int m_currentPosition = -1;
    int m_highestPosition = -1;
    int m_cachedRecordCount = 0;
    bool m_countStale = true;
    std::unique_ptr<BackgroundCount> m_backgroundCount;
    int m_countStepRows = 0;
    bool m_bookmarkable = false;
    int m_recordsAffected = 0;
    bool m_closingForDisconnect = false;
    // The recordset whose record the filter is judging, and that record's buffer: memos of
    // that buffer are read from it, where it stands, without moving the dataset's cursor.
    dao::Recordset *m_filterSource = nullptr;
    const TRecordBuffer *m_filterBuffer = nullptr;
    int m_fetchDepth = 0;                   // fetches in progress (the record filter may read memos)
    std::vector<std::unique_ptr<dao::ReadScope>> m_readBatches;   // innermost last

    // The recordset the criteria's condition was applied on (sorted and filtered, every
    // record), kept so that new criteria need one selection instead of a whole reopen.
    std::unique_ptr<dao::Recordset> m_criteriaBase;
    // The criteria the open recordset was made with, and whether the engine applied them.
    std::optional<TFilterCriteria> m_appliedCriteria;
    bool m_criteriaInEngine = false;
    bool m_readsWholeSelection = false;
    // The recordset in use is the detail's own select by the master key and nothing else
    // (no criteria on it): a new master key can be given to it instead of a new recordset.
    bool m_rsIsDetailSelect = false;

    QString m_lastSortText;
    QString m_lastFilterText;
    QString m_lastSql;
    QString m_lastFindText;
};
