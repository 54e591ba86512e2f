#include "engine/sqlite/SummaryTally.h"

#include <cstring>
#include <new>
#include <sqlite3.h>
#include <string>
#include <unordered_map>

namespace dao {

namespace {

// A group's terms as bytes: per term a kind, then 8 bytes of number or a length and bytes.
enum Kind : char { Null, Integer, Real, Text, Bytes };
struct Tallies {
    std::unordered_map<std::string, std::vector<qint64>> groups;
    std::string key;   // the row's key, its buffer kept from row to row
    bool histogram = false;
    // A histogram's whole-number keys (a card's key) are counted apart, without a key text:
    // rows per key, and the run of rows of the last key (a card's members usually follow
    // one another), added to its count when another key comes.
    std::unordered_map<qint64, qint64> rowsPerNumber;
    qint64 lastNumber = 0;
    qint64 lastRun = 0;

    void endRun()
    {
        if (lastRun > 0)
            rowsPerNumber[lastNumber] += lastRun;
        lastRun = 0;
    }
};

template <typename T>
void put(std::string &out, const T &value)
{
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

template <typename T>
bool take(const char *&at, const char *end, T &value)
{
    if (end - at < qsizetype(sizeof value))
        return false;
    std::memcpy(&value, at, sizeof value);
    at += sizeof value;
    return true;
}

void appendTerm(std::string &key, sqlite3_value *value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        key += char(Integer);
        put(key, qint64(sqlite3_value_int64(value)));
        break;
    case SQLITE_FLOAT:
        key += char(Real);
        put(key, sqlite3_value_double(value));
        break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const bool text = sqlite3_value_type(value) == SQLITE_TEXT;
        const void *bytes = text ? static_cast<const void *>(sqlite3_value_text(value)) : sqlite3_value_blob(value);
        const quint32 size = quint32(sqlite3_value_bytes(value));
        key += char(text ? Text : Bytes);
        put(key, size);
        key.append(static_cast<const char *>(bytes), size);
        break;
    }
    default:
        key += char(Null);
    }
}

bool isYes(sqlite3_value *value)
{
    const int type = sqlite3_value_type(value);
    return (type == SQLITE_INTEGER || type == SQLITE_FLOAT) && sqlite3_value_double(value) != 0.0;
}

Tallies *talliesOf(sqlite3_context *context, bool create)
{
    auto **slot = static_cast<Tallies **>(sqlite3_aggregate_context(context, create ? sizeof(Tallies *) : 0));
    if (!slot)
        return nullptr;
    if (!*slot && create)
        *slot = new Tallies;
    return *slot;
}

void step(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    const qint64 first = argc > 0 ? sqlite3_value_int64(argv[0]) : 0;
    const bool histogram = first == -1;
    const qint64 terms = histogram ? 1 : first;
    if (terms < 0 || terms >= argc || (histogram && argc != 2)) {
        sqlite3_result_error(context, "summary_tally: wrong arguments", -1);
        return;
    }
    try {
        Tallies *tallies = talliesOf(context, true);
        if (!tallies) {
            sqlite3_result_error_nomem(context);
            return;
        }
        tallies->histogram = histogram;
        if (histogram && sqlite3_value_type(argv[1]) == SQLITE_INTEGER) {
            const qint64 number = sqlite3_value_int64(argv[1]);
            if (tallies->lastRun == 0 || number != tallies->lastNumber) {
                tallies->endRun();
                tallies->lastNumber = number;
            }
            ++tallies->lastRun;
            return;
        }
        std::string &key = tallies->key;
        key.clear();
        for (int i = 1; i <= terms; ++i)
            appendTerm(key, argv[i]);
        std::vector<qint64> &counts = tallies->groups[key];
        counts.resize(size_t(argc - terms), 0);
        ++counts[0];
        for (int i = int(terms) + 1; i < argc; ++i)
            counts[size_t(i - terms)] += isYes(argv[i]) ? 1 : 0;
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(context);
    }
}

void finish(sqlite3_context *context)
{
    Tallies *tallies = talliesOf(context, false);
    std::string out;
    try {
        if (tallies && tallies->histogram) {
            // Per number of rows a key has, how many keys have it.
            std::unordered_map<qint64, qint64> keysByRows;
            for (const auto &[key, counts] : tallies->groups)
                ++keysByRows[counts[0]];
            tallies->endRun();
            for (const auto &[number, rows] : tallies->rowsPerNumber)
                ++keysByRows[rows];
            std::string key;
            for (const auto &[rows, keys] : keysByRows) {
                key.clear();
                key += char(Integer);
                put(key, rows);
                put(out, quint32(key.size()));
                out += key;
                put(out, quint32(1));
                put(out, keys);
            }
        } else if (tallies) {
            for (const auto &[key, counts] : tallies->groups) {
                put(out, quint32(key.size()));
                out += key;
                put(out, quint32(counts.size()));
                for (qint64 count : counts)
                    put(out, count);
            }
        }
        sqlite3_result_blob(context, out.data(), int(out.size()), SQLITE_TRANSIENT);
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(context);
    }
    delete tallies;
}

Value termOf(const char *&at, const char *end)
{
    char kind = Null;
    if (!take(at, end, kind))
        return {};
    switch (kind) {
    case Integer: {
        qint64 v = 0;
        return take(at, end, v) ? Value(v) : Value();
    }
    case Real: {
        double v = 0;
        return take(at, end, v) ? Value(v) : Value();
    }
    case Text:
    case Bytes: {
        quint32 size = 0;
        if (!take(at, end, size) || end - at < qsizetype(size))
            return {};
        const QByteArray bytes(at, qsizetype(size));
        at += size;
        return kind == Text ? Value(QString::fromUtf8(bytes)) : Value(bytes);
    }
    default:
        return {};
    }
}

} // namespace

void registerSummaryTally(sqlite3 *db)
{
    sqlite3_create_function(db, kTallyFunction, -1, SQLITE_UTF8, nullptr, nullptr, step, finish);
}

std::vector<SummaryGroup> decodeTally(const QByteArray &tally, size_t terms)
{
    std::vector<SummaryGroup> groups;
    const char *at = tally.constData();
    const char *end = at + tally.size();
    quint32 keySize = 0;
    while (take(at, end, keySize)) {
        const char *keyEnd = at + std::min<qsizetype>(keySize, end - at);
        SummaryGroup group;
        for (size_t i = 0; i < terms; ++i)
            group.terms.push_back(termOf(at, keyEnd));
        at = keyEnd;
        quint32 counts = 0;
        if (!take(at, end, counts) || counts == 0)
            break;
        qint64 rows = 0;
        take(at, end, rows);
        group.rows = rows;
        for (quint32 i = 1; i < counts; ++i) {
            qint64 yes = 0;
            take(at, end, yes);
            group.yes.push_back(yes);
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

} // namespace dao
