#pragma once
// A dynaset: the ids of the rows that met the criteria, in the requested order, captured
// when it opens (a keyset); each row is read from the archive when the cursor lands on it,
// so other users' changes are seen at every visit. Rows added here join the end. A row
// that another user deleted meanwhile gives error 3167 when it is used.
// Inside a read transaction of the connection (a walk through the table: a printed list, a
// screenful of the grid) rows are read a block of keys at a time, and a visit within the
// block takes the row from it: one statement (one round trip to a server) per block instead
// of one per row. The block is dropped when the read transaction ends or anything is
// written through the connection, so a later visit reads the archive again. Snapshots and
// forward-only recordsets, still pictures by definition, always read in blocks.

#include "engine/Errors.h"
#include "engine/Field.h"
#include "engine/RecordCondition.h"
#include "engine/Summary.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace dao {

class Connection;
class Query;
class SelectionCount;
struct TableInfo;

class Recordset {
public:
    // Opens over table (already resolved) with a translated condition and order; used by
    // Database and by recordsets opened from recordsets.
    struct Criteria {
        QString condition;   // Jet condition text; empty: every row
        QString sort;        // Jet sort text; empty: the table's natural order
        QStringList extraConditions;  // further Jet conditions, ANDed (filters of a parent)
        std::vector<RecordCondition> recordConditions;  // ANDed too, in the storage's dialect
        int firstKeys = 0;   // keys a search takes at its open (0: a few screenfuls; kAllKeys)
    };
    Recordset(std::shared_ptr<Connection> connection, ErrorsPtr errors,
              std::shared_ptr<const TableInfo> table, Criteria criteria, int type, int options);
    ~Recordset();

    int Type() const { return m_type; }
    bool Updatable() const;
    bool Bookmarkable() const { return true; }
    bool LockEdits() const { return m_lockEdits; }
    void setLockEdits(bool on) { m_lockEdits = on; }

    // Texts for recordsets opened from this one.
    QString Sort() const { return m_sortForChildren; }
    void setSort(const QString &sort) { m_sortForChildren = sort; }
    QString Filter() const { return m_filterForChildren; }
    void setFilter(const QString &filter) { m_filterForChildren = filter; }
    // A condition for recordsets opened from this one, ANDed with its Filter.
    const RecordCondition &Condition() const { return m_conditionForChildren; }
    void setCondition(const RecordCondition &condition) { m_conditionForChildren = condition; }
    // How many keys a search opened from this one takes before it is first shown: what its
    // first screen needs, so that a rare term is not looked for further than that;
    // kAllKeys when the whole selection will be read anyway.
    static constexpr int kAllKeys = -1;
    void setFirstKeys(int keys) { m_firstKeysForChildren = keys; }
    std::unique_ptr<Recordset> OpenRecordset(int type = 2, int options = 0);

    bool BOF() const { return m_pos < 0 || m_keys.empty(); }
    bool IsEOF() const { return m_pos >= int(m_keys.size()) || m_keys.empty(); }
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(int rows);
    int AbsolutePosition() const;
    void setAbsolutePosition(int position);
    int RecordCount() const;
    // The count of the rows meeting the criteria when the keyset already holds them all,
    // without reading the archive; -1 while a search holds only its first keys. The rest can
    // be counted in steps with CountSelection (SelectionCount.h).
    int KnownRecordCount() const { return m_keysComplete ? int(m_keys.size()) : -1; }
    std::unique_ptr<SelectionCount> CountSelection() const;
    // How many rows the walk starting now expects to visit (a screenful), when it knows: its
    // first block takes no more, and each further one twice as many, up to a whole block (a
    // walk through a filter that turns rows away goes on at full speed). 0: whole blocks.
    void setBlockRows(int rows);

    QByteArray Bookmark() const;
    void setBookmark(const QByteArray &bookmark);
    // The place (from 0) of a bookmark's row in the keyset, -1 when the keyset lacks it. No
    // row is read and the cursor stays where it is.
    int BookmarkPosition(const QByteArray &bookmark);
    QByteArray LastModified() const;

    int fieldCount() const;
    Field &field(int index);
    Field &field(const QString &name);   // 3265 when there is no such field

    int EditMode() const { return m_editMode; }
    // A fingerprint of the current row's stored values as last read (at the last move,
    // Edit or Update): equal fingerprints, the same content. A desk keeps the one of the
    // values it shows, to tell whether the row changed elsewhere since.
    quint64 RowVersion() const;
    // Fails with 3197 (changed by another user) unless the row as read at the last Edit has
    // this fingerprint: an edit taken up again must not write over a save made since.
    void RequireRowVersion(quint64 version) const;
    void Edit();
    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();

    // The groups of a summary over the rows meeting the recordset's criteria (Summary.h),
    // counted by the storage; only over those of them with these row ids (bookmarks) when
    // given, for a selection that program code decides.
    std::vector<SummaryGroup> Summarize(const Summary &summary, const std::vector<qint64> *rowIds = nullptr) const;

    void Requery();
    // Opens again over the same table, order and options under another condition of its
    // own, holding what a recordset newly opened with that condition would; texts set for
    // recordsets opened from this one are dropped. A detail that follows its master's every
    // move keeps its fields and prepared statements instead of making new ones per move. On
    // failure the old condition stays and the recordset is as it was or should be dropped.
    void Rebind(const QString &condition);
    std::unique_ptr<Recordset> Clone() const;
    void FindFirst(const QString &condition);
    bool NoMatch() const { return m_noMatch; }
    void Close();

    // For Field.
    const TableInfo &table() const { return *m_table; }
    Value currentValue(int column) const { return currentValueRef(column); }
    // The same without a copy, valid until the next move, edit or read.
    const Value &currentValueRef(int column) const;
    void setEditValue(int column, const Value &value);

private:
    struct CloneTag {};
    Recordset(const Recordset &source, CloneTag);
    template <typename F> auto guard(F &&call) const;
    void capture();
    QString selectSql(const QString &columns, std::vector<Value> &params) const;
    std::vector<qint64> selectKeys(int limit) const;
    void completeKeys() const;
    void land(int position);          // sets the position and reads the row there
    void readCurrent();
    using Row = std::vector<Value>;
    using RowPtr = std::shared_ptr<const Row>;
    bool readRow(qint64 key, RowPtr &row);
    bool isStatic() const;
    bool readsInBlocks() const;
    bool readFromBlock(int position, RowPtr &row);
    std::pair<int, int> blockRange(int position) const;
    void readBlock(int position);
    void ensureOpen() const;
    void ensureCurrent() const;
    [[noreturn]] void fail(int number, const QString &description) const;
    template <typename... Args>
    [[noreturn]] void fail(const EngineMessage &message, const Args &...args) const
    {
        fail(message.number, message.text(args...));
    }
    [[noreturn]] void failChanged() const;
    [[noreturn]] void rethrow(const EngineError &error) const;
    int positionOf(qint64 key);
    static QByteArray bookmarkOf(qint64 key);
    static qint64 keyOf(const QByteArray &bookmark);

    std::shared_ptr<Connection> m_connection;
    ErrorsPtr m_errors;
    std::shared_ptr<const TableInfo> m_table;
    Criteria m_criteria;
    int m_type;
    int m_options;
    bool m_closed = false;
    bool m_lockEdits = false;

    // A search's keyset may hold its first keys only until something needs the rest.
    mutable std::vector<qint64> m_keys;
    mutable bool m_keysComplete = true;
    mutable std::unordered_map<qint64, int> m_positions;   // built lazily; cleared when keys shift
    int m_pos = -1;
    bool m_onDeleted = false;       // the current row was deleted through this recordset
    bool m_currentMissing = false;  // the current row was deleted by someone else
    // Values of the current row: a row of the block when read from it (shared, not copied),
    // null when there is none.
    RowPtr m_row;

    int m_editMode = 0;
    qint64 m_editKey = 0;
    std::vector<Value> m_editValues;
    std::vector<bool> m_editDirty;
    std::vector<Value> m_rowAtEdit;
    qint64 m_lastModified = 0;
    bool m_noMatch = true;

    QString m_sortForChildren;
    QString m_filterForChildren;
    RecordCondition m_conditionForChildren;
    int m_firstKeysForChildren = 0;
    std::vector<std::unique_ptr<Field>> m_fields;
    std::unique_ptr<Query> m_read;

    // The rows of positions [m_blockStart, m_blockStart + size) as one statement read them,
    // an empty row where the key was no longer in the table. Shared with the detail
    // prefetch, which looks up the master values of the same block.
    struct Block {
        int start = 0;
        std::shared_ptr<const std::vector<Row>> rows;
        std::vector<bool> found;
        quint64 readScope = 0;
        quint64 writeSerial = 0;
    } m_block;
    std::unique_ptr<Query> m_blockRead;
    int m_blockRows = 0;   // the next walking block's rows; 0: kBlockRows
};

} // namespace dao
