#include "engine/Recordset.h"

#include "engine/Connection.h"
#include "engine/Constants.h"
#include "engine/Guard.h"
#include "engine/SelectionCount.h"
#include "engine/SummaryQuery.h"
#include "engine/TableInfo.h"
#include "engine/jet/JetDialect.h"
#include "engine/jet/Names.h"

#include <cstdlib>
#include <cstring>
#include <unordered_set>

namespace dao {

using jet::quoteIdentifier;

namespace {
const QString kRecordsetSource = QStringLiteral("DAO.Recordset");
// Keys a search takes at once: a few screenfuls of the card list.
constexpr int kFirstKeys = 128;
// Keys per block read: a screenful or two of the grid, and few enough that the statement's
// key list stays small.
constexpr int kBlockRows = 200;

// The condition of a recordset: its own, then the filters and record conditions of the
// recordsets it came from.
jet::SqlFragment whereOf(const Recordset::Criteria &criteria, const jet::Columns &columns, const Dialect &dialect)
{
    jet::SqlFragment where;
    QStringList parts;
    QStringList conditions = criteria.extraConditions;
    if (!criteria.condition.trimmed().isEmpty())
        conditions.prepend(criteria.condition);
    for (const QString &condition : conditions) {
        const jet::SqlFragment f = dialect.condition(condition, columns);
        parts << QLatin1Char('(') + f.sql + QLatin1Char(')');
        where.params.insert(where.params.end(), f.params.begin(), f.params.end());
    }
    for (const RecordCondition &condition : criteria.recordConditions) {
        const jet::SqlFragment f = dialect.recordCondition(condition, columns);
        if (f.sql.isEmpty())
            continue;
        parts << f.sql;
        where.params.insert(where.params.end(), f.params.begin(), f.params.end());
    }
    where.sql = parts.join(QLatin1String(" AND "));
    return where;
}
} // namespace

template <typename F>
auto Recordset::guard(F &&call) const
{
    return guarded(*m_errors, kRecordsetSource, std::forward<F>(call));
}

Recordset::Recordset(std::shared_ptr<Connection> connection, ErrorsPtr errors,
                     std::shared_ptr<const TableInfo> table, Criteria criteria, int type, int options)
    : m_connection(std::move(connection)), m_errors(std::move(errors)), m_table(std::move(table)),
      m_criteria(std::move(criteria)), m_type(type), m_options(options)
{
    for (size_t i = 0; i < m_table->columns.size(); ++i)
        m_fields.push_back(std::make_unique<Field>(this, int(i)));
    capture();
    land(m_keys.empty() ? -1 : 0);
}

// A clone shares the keyset as it stands and starts without a current row.
Recordset::Recordset(const Recordset &source, CloneTag)
    : m_connection(source.m_connection), m_errors(source.m_errors), m_table(source.m_table),
      m_criteria(source.m_criteria), m_type(source.m_type), m_options(source.m_options),
      m_keys(source.m_keys)
{
    for (size_t i = 0; i < m_table->columns.size(); ++i)
        m_fields.push_back(std::make_unique<Field>(this, int(i)));
    m_pos = -1;
}

Recordset::~Recordset() = default;

bool Recordset::Updatable() const
{
    return !(m_options & dbReadOnly) && m_type != dbOpenSnapshot && m_type != dbOpenForwardOnly
        && !m_connection->readOnly();
}

void Recordset::fail(int number, const QString &description) const
{
    throw EngineError(m_errors->record(EngineError(number, kRecordsetSource, description)));
}

void Recordset::failChanged() const
{
    fail(errRecordChanged, QStringLiteral("Il record è stato modificato da un altro utente dopo l'inizio della modifica: "
                                          "le modifiche non sono state salvate."));
}

void Recordset::RequireRowVersion(quint64 version) const
{
    if (m_editMode == dbEditInProgress && RowVersion() != version)
        failChanged();
}

void Recordset::ensureOpen() const
{
    if (m_closed)
        fail(errObjectClosed, QStringLiteral("Oggetto non valido o non più impostato: il recordset è chiuso."));
    m_connection->ensureOpen();
}

void Recordset::ensureCurrent() const
{
    ensureOpen();
    if (m_onDeleted || m_currentMissing)
        fail(errRecordDeleted, QStringLiteral("Il record è stato eliminato."));
    if (BOF() || IsEOF())
        fail(msg::noCurrentRecord);
}

// The keyset: the ids of the rows that meet the criteria, in the requested order. Rows
// are read one at a time later, when the cursor lands on them.
void Recordset::capture()
{
    guard([&] {
        ensureOpen();
        std::vector<qint64> keys;
        std::shared_ptr<const std::vector<Row>> rows;
        if (!(m_options & dbAppendOnly) && m_criteria.extraConditions.isEmpty() && m_criteria.recordConditions.empty()
            && m_connection->detailPrefetch().lookup(*m_connection, m_table, m_criteria.condition, m_criteria.sort, keys, rows)) {
            // The rows came with the keys, read in this read transaction: they are the block.
            m_keys = std::move(keys);
            m_keysComplete = true;
            m_positions.clear();
            m_block = Block();
            m_block.found.assign(rows->size(), true);
            m_block.rows = std::move(rows);
            m_block.readScope = m_connection->readScope();
            m_block.writeSerial = m_connection->writeSerial();
            return;
        }
        // A search, or a recordset asked for its first keys, shows its first screen before
        // the whole selection is known: only the first keys are taken now (a sort then keeps
        // just the first few rows in order), the rest when a move, a count or a bookmark
        // needs them.
        const bool search = m_criteria.firstKeys > 0
            || (!m_criteria.recordConditions.empty() && m_criteria.firstKeys != kAllKeys);
        const int first = m_criteria.firstKeys > 0 ? m_criteria.firstKeys : kFirstKeys;
        if (!(m_options & dbAppendOnly))
            keys = selectKeys(search ? first + 1 : 0);
        const bool complete = !search || keys.size() <= size_t(first);
        if (!complete)
            keys.resize(size_t(first));
        // Only a complete keyset replaces the one in use: a failed requery keeps the old.
        m_keys = std::move(keys);
        m_keysComplete = complete;
        m_positions.clear();
        m_block = Block();
    });
}

// "SELECT columns FROM table WHERE criteria ORDER BY sort, row id", its values in params.
QString Recordset::selectSql(const QString &columns, std::vector<Value> &params) const
{
    const Dialect &dialect = m_connection->dialect();
    const jet::SqlFragment where = whereOf(m_criteria, m_table->dialectColumns, dialect);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns, quoteIdentifier(m_table->name));
    if (!where.sql.isEmpty())
        sql += QLatin1String(" WHERE ") + where.sql;
    const QString order = dialect.sort(m_criteria.sort, m_table->dialectColumns);
    sql += QLatin1String(" ORDER BY ") + (order.isEmpty() ? QString() : order + QLatin1String(", ")) + m_table->rowid;
    params = where.params;
    return sql;
}

// The keys of the rows meeting the criteria in the requested order, at most limit (0: all).
std::vector<qint64> Recordset::selectKeys(int limit) const
{
    std::vector<Value> params;
    QString sql = selectSql(m_table->rowid, params);
    if (limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(limit);
    const std::unique_ptr<Query> st = m_connection->prepare(sql);
    st->bindAll(params);
    std::vector<qint64> keys;
    while (st->step())
        keys.push_back(st->int64(0));
    return keys;
}

std::vector<SummaryGroup> Recordset::Summarize(const Summary &summary, const std::vector<qint64> *rowIds) const
{
    return guard([&] {
        ensureOpen();
        if ((m_options & dbAppendOnly) || (rowIds && rowIds->empty()))
            return std::vector<SummaryGroup>();
        const SummaryQuery query(*m_connection, m_table, whereOf(m_criteria, m_table->dialectColumns, m_connection->dialect()),
                                 summary);
        return query.run(rowIds);
    });
}

// Takes the rest of a keyset opened with its first keys only. Those keep their places, so
// positions, bookmarks and blocks already handed out stay right; rows that met the
// criteria since the open join after them in their order.
void Recordset::completeKeys() const
{
    if (m_keysComplete)
        return;
    guard([&] {
        ensureOpen();
        const std::vector<qint64> all = selectKeys(0);
        const std::unordered_set<qint64> taken(m_keys.begin(), m_keys.end());
        for (qint64 key : all)
            if (!taken.count(key))
                m_keys.push_back(key);
        m_keysComplete = true;
        m_positions.clear();
    });
}

std::unique_ptr<SelectionCount> Recordset::CountSelection() const
{
    return guard([&] {
        ensureOpen();
        const jet::SqlFragment where = whereOf(m_criteria, m_table->dialectColumns, m_connection->dialect());
        return std::make_unique<SelectionCount>(m_connection, m_errors, m_table, where.sql, where.params);
    });
}

int Recordset::RecordCount() const
{
    completeKeys();
    return int(m_keys.size());
}

// A failed read leaves the cursor where it was, on a row whose values it still holds.
void Recordset::land(int position)
{
    if (position >= int(m_keys.size()))
        completeKeys();
    const int target = std::clamp(position, -1, int(m_keys.size()));
    RowPtr row;
    bool missing = false;
    if (target >= 0 && target < int(m_keys.size()) && !readFromBlock(target, row)) {
        if (readsInBlocks()) {
            readBlock(target);
            if (!readFromBlock(target, row))
                missing = true;
        } else {
            missing = !readRow(m_keys[size_t(target)], row);
        }
    }
    m_editMode = dbEditNone;
    m_onDeleted = false;
    m_currentMissing = missing;
    m_pos = target;
    m_row = std::move(row);
}

void Recordset::readCurrent()
{
    RowPtr row;
    const bool found = readRow(m_keys[size_t(m_pos)], row);
    m_currentMissing = !found;
    m_row = std::move(row);
}

// One read per visit: the whole row, so other users' changes show at every move. False
// when the row is no longer in the table.
bool Recordset::readRow(qint64 key, RowPtr &row)
{
    return guard([&] {
        if (!m_read)
            m_read = m_connection->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                               .arg(m_table->selectList(), quoteIdentifier(m_table->name), m_table->rowid));
        m_read->bindAll({Value(key)});
        const bool found = m_read->step();
        if (found) {
            auto values = std::make_shared<Row>();
            values->reserve(m_table->columns.size());
            for (size_t i = 0; i < m_table->columns.size(); ++i)
                values->push_back(typedFromStorage(m_table->columns[i], m_read->raw(int(i))));
            row = std::move(values);
        }
        m_read->reset();
        return found;
    });
}

// True when the block holds the row at position and is still good: read in the read
// transaction open now, nothing written since. Sets row empty for a row found missing.
bool Recordset::readFromBlock(int position, RowPtr &row)
{
    const int offset = position - m_block.start;
    if (!m_block.rows || offset < 0 || offset >= int(m_block.rows->size()))
        return false;
    if (!isStatic() && (m_block.readScope != m_connection->readScope() || m_block.writeSerial != m_connection->writeSerial()))
        return false;
    if (!m_block.found[size_t(offset)])
        return false;
    // Points into the block, which it keeps alive: no value is copied.
    row = RowPtr(m_block.rows, &(*m_block.rows)[size_t(offset)]);
    return true;
}

// A snapshot is a still picture of the rows: it never promised to show later changes.
bool Recordset::isStatic() const
{
    return m_type == dbOpenSnapshot || m_type == dbOpenForwardOnly;
}

bool Recordset::readsInBlocks() const
{
    return m_connection->isOpen() && (isStatic() || m_connection->readScope() != 0);
}

// The rows [first, second) of the block for a visit to position: from it on, or up to it
// when walking backwards. A jump within a block's reach takes just the rows from one end of
// the jump to the other: a memo read goes to its row and comes back, and the grid reads each
// memo of its screen that way, so both ends and the rows between must be in one block, or
// every visit would read a block again.
std::pair<int, int> Recordset::blockRange(int position) const
{
    const int count = int(m_keys.size());
    const int distance = std::abs(position - m_pos);
    if (m_pos >= 0 && m_pos < count && distance > 1 && distance < kBlockRows)
        return {std::min(position, m_pos), std::max(position, m_pos) + 1};
    const int rows = m_blockRows > 0 ? m_blockRows : kBlockRows;
    const int start = position < m_pos ? std::max(0, position - rows + 1) : position;
    return {start, std::min(count, start + rows)};
}

void Recordset::setBlockRows(int rows)
{
    m_blockRows = std::clamp(rows, 0, kBlockRows);
}

// Reads the keys of a block (blockRange) with one statement. The statement always lists
// kBlockRows keys, the last repeated where fewer remain, so it is prepared once per
// recordset.
void Recordset::readBlock(int position)
{
    m_block = Block();
    const auto [start, end] = blockRange(position);
    if (m_blockRows > 0 && end - start == m_blockRows)
        m_blockRows = std::min(kBlockRows, m_blockRows * 2);
    guard([&] {
        if (!m_blockRead) {
            QStringList marks;
            for (int i = 0; i < kBlockRows; ++i)
                marks << QStringLiteral("?");
            m_blockRead = m_connection->prepare(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 IN (%4)")
                                                    .arg(m_table->rowid, m_table->selectList(), quoteIdentifier(m_table->name),
                                                         marks.join(QLatin1Char(','))));
        }
        std::vector<Value> keys;
        keys.reserve(kBlockRows);
        for (int i = 0; i < kBlockRows; ++i)
            keys.emplace_back(m_keys[size_t(std::min(start + i, end - 1))]);
        m_blockRead->bindAll(keys);
        std::unordered_map<qint64, Row> rows;
        while (m_blockRead->step()) {
            Row row;
            row.reserve(m_table->columns.size());
            for (size_t i = 0; i < m_table->columns.size(); ++i)
                row.push_back(typedFromStorage(m_table->columns[i], m_blockRead->raw(int(i) + 1)));
            rows.emplace(m_blockRead->int64(0), std::move(row));
        }
        m_blockRead->reset();
        m_block.start = start;
        auto inOrder = std::make_shared<std::vector<Row>>();
        inOrder->reserve(size_t(end - start));
        for (int p = start; p < end; ++p) {
            auto it = rows.find(m_keys[size_t(p)]);
            m_block.found.push_back(it != rows.end());
            inOrder->push_back(it != rows.end() ? std::move(it->second) : Row());
        }
        m_block.rows = std::move(inOrder);
        m_block.readScope = m_connection->readScope();
        m_block.writeSerial = m_connection->writeSerial();
        if (m_block.readScope != 0)
            m_connection->detailPrefetch().noteBlock(m_table, m_block.rows, m_block.readScope, m_block.writeSerial);
    });
}

std::unique_ptr<Recordset> Recordset::OpenRecordset(int type, int options)
{
    return guard([&] {
        ensureOpen();
        Criteria criteria = m_criteria;
        if (!m_filterForChildren.trimmed().isEmpty())
            criteria.extraConditions << m_filterForChildren;
        if (!m_conditionForChildren.isEmpty())
            criteria.recordConditions.push_back(m_conditionForChildren);
        if (!m_sortForChildren.trimmed().isEmpty())
            criteria.sort = m_sortForChildren;
        if (m_firstKeysForChildren != 0)
            criteria.firstKeys = m_firstKeysForChildren;
        return std::make_unique<Recordset>(m_connection, m_errors, m_table, criteria, type, options);
    });
}

void Recordset::MoveFirst()
{
    ensureOpen();
    if (m_keys.empty())
        fail(msg::noCurrentRecord);
    land(0);
}

void Recordset::MoveLast()
{
    ensureOpen();
    completeKeys();
    if (m_keys.empty())
        fail(msg::noCurrentRecord);
    land(int(m_keys.size()) - 1);
}

void Recordset::MoveNext()
{
    ensureOpen();
    if (m_onDeleted) {
        // The deleted row left the keyset: its successor now stands at the same place.
        land(m_pos);
        return;
    }
    if (IsEOF())
        fail(msg::noCurrentRecord);
    land(m_pos + 1);
}

void Recordset::MovePrevious()
{
    ensureOpen();
    if (m_type == dbOpenForwardOnly)
        fail(errOperationNotSupported, QStringLiteral("Operazione non supportata per questo tipo di oggetto."));
    if (!m_onDeleted && BOF())
        fail(msg::noCurrentRecord);
    land(m_pos - 1);
}

void Recordset::Move(int rows)
{
    ensureOpen();
    if (rows == 0) {
        if (m_onDeleted || BOF() || IsEOF())
            fail(msg::noCurrentRecord);
        land(m_pos);
        return;
    }
    if (m_keys.empty() || (!m_onDeleted && (BOF() || IsEOF())))
        fail(msg::noCurrentRecord);
    const int base = m_onDeleted && rows > 0 ? m_pos - 1 : m_pos;
    land(base + rows);
}

int Recordset::AbsolutePosition() const
{
    if (m_closed || m_onDeleted || BOF() || IsEOF())
        return -1;
    return m_pos;
}

void Recordset::setAbsolutePosition(int position)
{
    ensureOpen();
    if (position >= int(m_keys.size()))
        completeKeys();
    if (position < 0 || position >= int(m_keys.size()))
        fail(msg::invalidArgument);
    land(position);
}

QByteArray Recordset::bookmarkOf(qint64 key)
{
    const qint32 k = qint32(key);
    return QByteArray(reinterpret_cast<const char *>(&k), sizeof k);
}

qint64 Recordset::keyOf(const QByteArray &bookmark)
{
    qint32 k = 0;
    std::memcpy(&k, bookmark.constData(), sizeof k);
    return k;
}

QByteArray Recordset::Bookmark() const
{
    ensureCurrent();
    return bookmarkOf(m_keys[size_t(m_pos)]);
}

// A row of a search's first screen (a memo the grid paints goes back to its row by its
// bookmark) is found among the first keys: only a key not among them needs the rest.
int Recordset::positionOf(qint64 key)
{
    const auto find = [&] {
        if (m_positions.empty() && !m_keys.empty()) {
            m_positions.reserve(m_keys.size());
            for (size_t i = 0; i < m_keys.size(); ++i)
                m_positions.emplace(m_keys[i], int(i));
        }
        const auto it = m_positions.find(key);
        return it == m_positions.end() ? -1 : it->second;
    };
    const int position = find();
    if (position >= 0 || m_keysComplete)
        return position;
    completeKeys();
    return find();
}

int Recordset::BookmarkPosition(const QByteArray &bookmark)
{
    ensureOpen();
    return bookmark.size() < 4 ? -1 : positionOf(keyOf(bookmark));
}

void Recordset::setBookmark(const QByteArray &bookmark)
{
    ensureOpen();
    const int position = bookmark.size() < 4 ? -1 : positionOf(keyOf(bookmark));
    if (position < 0)
        fail(errInvalidBookmark, QStringLiteral("Segnalibro non valido."));
    land(position);
    if (m_currentMissing)
        fail(msg::deletedByOther);
}

QByteArray Recordset::LastModified() const
{
    ensureOpen();
    if (m_lastModified == 0)
        fail(errNoCurrentRecord, QStringLiteral("Nessun record modificato."));
    return bookmarkOf(m_lastModified);
}

int Recordset::fieldCount() const
{
    return int(m_fields.size());
}

Field &Recordset::field(int index)
{
    if (index < 0 || index >= int(m_fields.size()))
        fail(msg::itemNotFound);
    return *m_fields[size_t(index)];
}

Field &Recordset::field(const QString &name)
{
    const int index = m_table->indexOf(name);
    if (index < 0)
        fail(msg::namedItemNotFound, name);
    return *m_fields[size_t(index)];
}

const Value &Recordset::currentValueRef(int column) const
{
    if (column < 0 || column >= int(m_table->columns.size()))
        fail(msg::itemNotFound);
    if (m_editMode != dbEditNone)
        return m_editValues[size_t(column)];
    ensureCurrent();
    if (!m_row || size_t(column) >= m_row->size())
        fail(msg::noCurrentRecord);
    return (*m_row)[size_t(column)];
}

void Recordset::setEditValue(int column, const Value &value)
{
    ensureOpen();
    if (m_editMode == dbEditNone)
        fail(msg::updateWithoutEdit);
    const ColumnInfo &info = m_table->columns.at(size_t(column));
    if (info.autoIncrement)
        fail(msg::fieldNotUpdatable, info.name);
    m_editValues[size_t(column)] = guard([&] { return coerceForColumn(info, value); });
    m_editDirty[size_t(column)] = true;
}

quint64 Recordset::RowVersion() const
{
    size_t seed = 0;
    if (!m_row)
        return quint64(seed);
    for (const Value &value : *m_row) {
        const size_t kind = value.storage().index();
        const size_t content = std::visit(
            [](const auto &v) -> size_t {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::monostate>)
                    return 0;
                else if constexpr (std::is_same_v<T, Date>)
                    return qHash(Value(v).asDouble());
                else
                    return qHash(v);
            },
            value.storage());
        seed = qHashMulti(seed, kind, content);
    }
    return quint64(seed);
}

void Recordset::Edit()
{
    guard([&] {
        ensureCurrent();
        if (!Updatable())
            fail(msg::readOnly);
        // An edit always starts from what the archive holds now.
        readCurrent();
        if (m_currentMissing)
            fail(msg::deletedByOther);
        m_editValues = *m_row;
        m_rowAtEdit = *m_row;
        m_editDirty.assign(m_row->size(), false);
        m_editKey = m_keys[size_t(m_pos)];
        m_editMode = dbEditInProgress;
    });
}

void Recordset::AddNew()
{
    guard([&] {
        ensureOpen();
        if (!Updatable())
            fail(msg::readOnly);
        m_editValues.clear();
        for (const ColumnInfo &c : m_table->columns)
            m_editValues.push_back(c.defaultValue);
        m_editDirty.assign(m_editValues.size(), false);
        m_editMode = dbEditAdd;
    });
}

void Recordset::Update()
{
    guard([&] {
        ensureOpen();
        if (m_editMode == dbEditNone)
            fail(msg::updateWithoutEdit);
        for (size_t i = 0; i < m_table->columns.size(); ++i) {
            const ColumnInfo &c = m_table->columns[i];
            const Value &v = m_editValues[i];
            if (c.required && v.isNull() && !c.autoIncrement)
                fail(errFieldRequired, QStringLiteral("Il campo '%1' non può contenere un valore Null.").arg(c.name));
            if (c.type == dbText && v.isText() && v.asText().size() > c.size)
                fail(msg::namedFieldTooSmall, c.name);
        }
        Connection::WriteTransaction transaction(*m_connection);
        const QString table = quoteIdentifier(m_table->name);
        QStringList names;
        std::vector<Value> params;
        for (size_t i = 0; i < m_table->columns.size(); ++i) {
            if (m_editDirty[i]) {
                names << quoteIdentifier(m_table->columns[i].name);
                params.push_back(m_editValues[i]);
            }
        }
        if (m_editMode == dbEditAdd) {
            QStringList marks;
            for (qsizetype i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            const qint64 key = m_connection->insert(
                names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(table, names.join(QLatin1String(", ")), marks.join(QLatin1String(", "))),
                params, *m_table);
            transaction.commit();
            completeKeys();   // a new row joins the end of the whole keyset
            m_keys.push_back(key);
            if (!m_positions.empty())
                m_positions.emplace(key, int(m_keys.size()) - 1);
            m_lastModified = key;
            m_editMode = dbEditNone;
            return;
        }
        // Optimistic locking: the row must still be what it was when the edit began.
        const std::unique_ptr<Query> check = m_connection->prepare(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?%4")
                .arg(m_table->selectList(), table, m_table->rowid, m_connection->rowLockClause()));
        check->bindAll({Value(m_editKey)});
        if (!check->step())
            fail(msg::deletedByOther);
        for (size_t i = 0; i < m_table->columns.size(); ++i) {
            if (!(typedFromStorage(m_table->columns[i], check->raw(int(i))) == m_rowAtEdit[i]))
                failChanged();
        }
        check->reset();
        if (!names.isEmpty()) {
            QStringList sets;
            for (const QString &n : names)
                sets << n + QLatin1String(" = ?");
            params.push_back(Value(m_editKey));
            m_connection->execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?").arg(table, sets.join(QLatin1String(", ")), m_table->rowid),
                                  params);
        }
        transaction.commit();
        m_lastModified = m_editKey;
        m_editMode = dbEditNone;
        if (m_pos >= 0 && m_pos < int(m_keys.size()) && m_keys[size_t(m_pos)] == m_editKey)
            readCurrent();
    });
}

void Recordset::CancelUpdate()
{
    ensureOpen();
    if (m_editMode == dbEditNone)
        fail(msg::updateWithoutEdit);
    m_editMode = dbEditNone;
    m_editValues.clear();
    m_editDirty.clear();
}

void Recordset::Delete()
{
    guard([&] {
        ensureCurrent();
        if (!Updatable())
            fail(msg::readOnly);
        m_editMode = dbEditNone;
        Connection::WriteTransaction transaction(*m_connection);
        const bool gone = m_connection->execute(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                                                    .arg(quoteIdentifier(m_table->name), m_table->rowid),
                                                {Value(m_keys[size_t(m_pos)])})
                          == 0;
        transaction.commit();
        if (gone) {
            m_currentMissing = true;
            fail(errRecordDeleted, QStringLiteral("Il record è già stato eliminato da un altro utente."));
        }
        m_keys.erase(m_keys.begin() + m_pos);
        m_positions.clear();
        m_block = Block();
        m_row.reset();
        m_onDeleted = true;
    });
}

void Recordset::Requery()
{
    capture();
    land(m_keys.empty() ? -1 : 0);
}

void Recordset::Rebind(const QString &condition)
{
    ensureOpen();
    const QString previous = m_criteria.condition;
    m_criteria.condition = condition;
    try {
        capture();
    } catch (...) {
        m_criteria.condition = previous;
        throw;
    }
    m_editMode = dbEditNone;
    m_editValues.clear();
    m_editDirty.clear();
    m_lastModified = 0;
    m_noMatch = true;
    m_blockRows = 0;
    m_sortForChildren.clear();
    m_filterForChildren.clear();
    m_conditionForChildren = RecordCondition();
    m_firstKeysForChildren = 0;
    m_pos = -1;
    m_row.reset();
    land(m_keys.empty() ? -1 : 0);
}

std::unique_ptr<Recordset> Recordset::Clone() const
{
    ensureOpen();
    completeKeys();
    return std::unique_ptr<Recordset>(new Recordset(*this, CloneTag{}));
}

void Recordset::FindFirst(const QString &condition)
{
    guard([&] {
        ensureOpen();
        const jet::SqlFragment f = m_connection->dialect().condition(condition, m_table->dialectColumns);
        const std::unique_ptr<Query> st = m_connection->prepare(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(m_table->rowid, quoteIdentifier(m_table->name), f.sql));
        st->bindAll(f.params);
        std::unordered_set<qint64> matches;
        while (st->step())
            matches.insert(st->int64(0));
        completeKeys();
        m_noMatch = true;
        for (size_t i = 0; i < m_keys.size(); ++i) {
            if (matches.count(m_keys[i])) {
                m_noMatch = false;
                land(int(i));
                return;
            }
        }
    });
}

void Recordset::Close()
{
    m_closed = true;
    m_read.reset();
    m_blockRead.reset();
    m_block = Block();
    m_keys.clear();
    m_positions.clear();
}

} // namespace dao
