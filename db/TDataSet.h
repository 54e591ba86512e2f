#pragma once
// The dataset contract every data-aware part of the program relies on: a navigable,
// editable sequence of records held in a window of record buffers, with states, events,
// field objects and bookmarks. A concrete dataset (the archive table) supplies the
// protected Internal* steps; this class runs the sequences around them (before event,
// work, after event) and keeps its data sources informed.

#include "db/DbTypes.h"
#include "db/TFieldDef.h"
#include "db/TRecordBuffer.h"

#include <QIODevice>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class TField;
class TDataSource;

class TDataSet : public QObject {
    Q_OBJECT
public:
    using TDataSetNotifyEvent = std::function<void(TDataSet &)>;
    using TFilterRecordEvent = std::function<void(TDataSet &, bool &accept)>;
    using TDataSetErrorEvent = std::function<void(TDataSet &, const std::exception &, TDataAction &)>;

    explicit TDataSet(QObject *owner = nullptr);
    ~TDataSet() override;

    // The component name ("Anagrafica"); QObject's objectName.
    QString name() const { return objectName(); }
    void setName(const QString &name) { setObjectName(name); }

    // Opening and closing.
    bool active() const { return m_state != TDataSetState::dsInactive; }
    void setActive(bool active);
    void open() { setActive(true); }
    void close() { setActive(false); }
    TDataSetState state() const { return m_state; }

    // Navigation over the accepted records.
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isEmpty() const;
    virtual int recordCount();
    // The record count when the dataset knows it without counting; -1 otherwise.
    virtual int knownRecordCount() const { return -1; }
    // Whether a count is on its way (recordCountKnown follows), so that asking for it now
    // would only count the same records sooner, at the asker's expense.
    virtual bool recordCountComing() const { return false; }
    virtual int recNo();
    virtual void setRecNo(int value);

    // Bookmarks.
    TBookmark getBookmark() const;
    void gotoBookmark(const TBookmark &bookmark);
    virtual bool bookmarkValid(const TBookmark &bookmark);
    virtual int compareBookmarks(const TBookmark &a, const TBookmark &b) const;

    // Editing.
    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void deleteRecord();
    void checkBrowseMode();   // posts a modified record, cancels an unmodified one
    void updateRecord();      // asks the controls to store what they hold (deUpdateRecord)
    bool modified() const { return m_modified; }
    virtual bool canModify() const { return !m_readOnly; }
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // Controls.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }
    void resync();
    void refresh();

    // Fields.
    const QList<TField *> &fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    TField *field(int index) const { return m_fields.value(index); }
    TField *findField(const QString &name) const;
    TField *fieldByName(const QString &name) const;   // "Field '%s' not found"
    const TFieldDefs &fieldDefs() const { return m_fieldDefs; }

    // Filtering and calculated fields.
    bool filtered() const { return m_filtered; }
    virtual void setFiltered(bool filtered) { m_filtered = filtered; }
    bool autoCalcFields() const { return m_autoCalcFields; }
    void setAutoCalcFields(bool on) { m_autoCalcFields = on; }

    // Locating and blobs; the concrete dataset decides.
    virtual bool locate(const QString &keyFields, const QVariantList &keyValues, int options);
    virtual QVariant lookup(const QString &keyFields, const QVariantList &keyValues, const QString &resultFields);
    virtual std::unique_ptr<QIODevice> createBlobStream(TField *field, TBlobStreamMode mode);

    // Events.
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose, BeforeInsert, AfterInsert,
        BeforeEdit, AfterEdit, BeforePost, AfterPost, BeforeCancel, AfterCancel, BeforeDelete,
        AfterDelete, BeforeScroll, AfterScroll, OnNewRecord, OnCalcFields;
    TFilterRecordEvent OnFilterRecord;
    TDataSetErrorEvent OnPostError, OnEditError, OnDeleteError;

    // --- for data links, fields and data sources --------------------------------------
    // The window of buffers the data links ask for (the largest request wins).
    int bufferCount() const { return m_bufferCount; }
    void updateBufferCount();
    int bufferedRecordCount() const { return m_recordCount; }   // valid buffers in the window
    int activeRecord() const { return m_activeRecord; }
    void setActiveRecordIndex(int index);                       // for painting row by row
    const TRecordBuffer &buffer(int index) const { return m_buffers.at(size_t(index)); }
    // The buffer fields read and write now: the active one, or the temporary one of the
    // filter and calculated-fields states.
    TRecordBuffer *activeBuffer();
    const TRecordBuffer *activeBuffer() const;
    virtual QString fieldValueText(const TField &field) const;
    virtual void setFieldValueText(TField &field, const QString &text);
    // Throws the reason a data field cannot be written now (read-only dataset or field,
    // not editing); fields call it before writing through a blob stream.
    void checkFieldWritable(const TField &field) const;
    // deFieldChange (info: the TField*) first marks the record modified, recalculates and
    // runs the field's OnChange, so a blob stream that reports its write needs no more.
    void dataEvent(TDataEvent event, qintptr info = 0);
    void registerDataSource(TDataSource *source);
    void unregisterDataSource(TDataSource *source);
    const QList<TDataSource *> &dataSources() const { return m_dataSources; }
    // Whether a data source of this dataset is linked, through the master link, to `other`.
    virtual bool isLinkedTo(TDataSource *other) const;
    void registerField(TField *field);
    void unregisterField(TField *field);

    // The reads of one operation over the records (a screenful, a walk from first to last)
    // held together while it lives: the concrete dataset may read them under one lock and in
    // blocks. Never hold one across waiting for the user: others' writes may wait for it.
    class ReadBatch {
    public:
        // rows: how many records the operation expects to read, when it knows (a screenful).
        explicit ReadBatch(TDataSet *dataSet, int rows = 0);
        ~ReadBatch();
        ReadBatch(const ReadBatch &) = delete;
        ReadBatch &operator=(const ReadBatch &) = delete;
    private:
        QPointer<TDataSet> m_dataSet;
    };

Q_SIGNALS:
    // The record count, counted apart from the move that made it stale (a search's, counted
    // in the background), is known now: a scroll bar that shows it may follow.
    void recordCountKnown();

protected:
    // Called by a post's work once the record is in the archive, for a failure after that:
    // the post completes and then raises it as ESavedWithWarning.
    void warnAfterPost(const std::exception &failure);

    virtual void beginReadBatch(int rows) { Q_UNUSED(rows); }
    virtual void endReadBatch() {}

    // --- supplied by the concrete dataset -------------------------------------------------
    virtual void internalOpen() = 0;            // cursor open, field defs built, then bindFields()
    virtual void internalClose() = 0;
    virtual bool isCursorOpen() const = 0;
    // Fetches the record at, after or before the cursor and moves the cursor onto it. The
    // buffer arrives sized and empty; fill values, position, bookmark, then pass it through
    // filterAccepts() (which also computes calculated fields) and skip it when refused.
    virtual TGetResult getRecord(TRecordBuffer &buffer, TGetMode mode, bool doCheck) = 0;
    virtual void internalFirst() = 0;           // before the first record
    virtual void internalLast() = 0;            // after the last record
    // Cursor onto the buffer's record (by its bookmark). A new record's buffer carries the
    // bookmark of the record it was inserted before, with the flag bfInserted.
    virtual void internalSetToRecord(const TRecordBuffer &buffer) = 0;
    virtual void internalGotoBookmark(const TBookmark &bookmark) = 0;
    virtual void internalInitRecord(TRecordBuffer &buffer) = 0;   // a new record's defaults
    // The editing steps run with the cursor on the active record; a failure throws and
    // leaves the dataset as it was. internalPost leaves the cursor on the posted record,
    // internalDelete on the crack where the deleted one was (the state may still be edit).
    virtual void internalEdit() {}
    virtual void internalInsert() {}
    virtual void internalPost() = 0;
    virtual void internalCancel() {}
    virtual void internalDelete() = 0;
    virtual void internalRefresh() = 0;
    virtual void doOnNewRecord();               // runs OnNewRecord; detail datasets fill links first
    virtual void dataSourceDataEvent(TDataSource *, TDataEvent) {}

    // --- helpers for the concrete dataset ---------------------------------------------
    TFieldDefs &mutableFieldDefs() { return m_fieldDefs; }
    // Binds the field objects to the definitions by name ("Field '%s' not found", "Type
    // mismatch for field ..."); creates default field objects when there are none.
    void bindFields();
    void unbindFields();
    // The accept check of a fetched record: calculated fields, then OnFilterRecord when
    // recordFilterActive().
    bool filterAccepts(TRecordBuffer &buffer);
    // Whether fetched records go through OnFilterRecord; a dataset whose storage already
    // selects by the filter's criteria says no.
    virtual bool recordFilterActive() const { return m_filtered && OnFilterRecord != nullptr; }
    void calculateFields(TRecordBuffer &buffer);
    void setState(TDataSetState state);
    void clearBuffers();
    // After the concrete dataset moved its cursor itself (a locate): fill the window around
    // the cursor record, centred, and tell the controls ("Record not found" when none).
    void activateBuffers();
    // Refill the window around the cursor record keeping the active row where it was.
    void resyncBuffers();
    void checkActive() const;         // "Cannot perform this operation on a closed dataset"
    // For the concrete dataset's destructor: closes without Before/AfterClose (the base
    // destructor cannot reach internalClose any more).
    void closeForDestruction() noexcept;
    void setBofEof(bool bof, bool eof) { m_bof = bof; m_eof = eof; }
    TRecordBuffer &mutableBuffer(int index) { return m_buffers.at(size_t(index)); }
    std::vector<TRecordBuffer> m_buffers;
    int m_recordCount = 0;
    int m_activeRecord = 0;

private:
    void openCursor();
    void closeCursor(bool withEvents);
    void allocateBuffers();
    void releaseBuffers();
    void createDefaultFields();
    int requestedBufferCount() const;
    void resizeWindow(int count);
    void shiftLinkWindows(int delta);
    TGetResult fetch(TRecordBuffer &buffer, TGetMode mode, bool doCheck);
    void setCurrentRecord(int index);
    void updateCursorPos();
    void startWindow();               // one record in the window, the active one
    void resyncAround(bool exact, bool center);
    bool getNextRecord();
    bool getPriorRecord();
    int getNextRecords();
    int getPriorRecords();
    void moveBuffer(int from, int to);
    void beginInsertAppend(bool append);
    void initRecord(TRecordBuffer &buffer, TBookmarkFlag flag, qint32 bookmark);
    void endInsertAppend();
    void checkRequiredFields();
    void runEditHandler(const TDataSetErrorEvent &handler, const std::function<void()> &work);
    void runInTempState(TDataSetState state, TRecordBuffer &buffer, const std::function<void()> &work);
    static void fire(const TDataSetNotifyEvent &event, TDataSet &dataSet);
    TRecordBuffer &tempBuffer();

    TDataSetState m_state = TDataSetState::dsInactive;
    QString m_postWarning;
    TRecordBuffer *m_tempBufferPtr = nullptr;
    TRecordBuffer m_calcBuffer;
    bool m_bof = true;
    bool m_eof = true;
    bool m_modified = false;
    bool m_readOnly = false;
    bool m_filtered = false;
    bool m_autoCalcFields = true;
    int m_bufferCount = 1;
    int m_disableCount = 0;
    TDataEvent m_pendingEvent = TDataEvent::deDataSetChange;
    bool m_eventPending = false;
    TFieldDefs m_fieldDefs;
    QList<TField *> m_fields;
    QList<TDataSource *> m_dataSources;
    int m_calculatedCount = 0;
    int m_currentRecord = -1;         // buffer the cursor is on; -1 when unknown
    TDataSetState m_disableState = TDataSetState::dsInactive;
    bool m_defaultFields = false;     // field objects made at open, deleted at close
    bool m_fieldsBound = false;
};
