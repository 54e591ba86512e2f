#include "AccessFileWriter.h"

#include "AccessPages.h"
#include "AccessRows.h"

#include <QFile>

#include <algorithm>
#include <numeric>

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace testsupport::jet {
namespace {

constexpr int kCatalogPage = 2;
constexpr quint32 kLongValueOwner = 0x4c41564c; // the bytes "LVAL"
constexpr quint32 kSystemFlags = 0x80000002;
// When the file was made; the password's mask comes from it (see headerPage).
const double kCreationDate = 43904.4375; // 2020-03-14 10:30

const QDate kEpoch(1899, 12, 30);

// The catalogue: one row per table, the system's own included, naming the table and the page
// of its definition.
AccessTable catalogueTable(const std::vector<std::pair<QString, int>> &tables)
{
    AccessTable catalogue{QStringLiteral("MSysObjects"),
                          {{QStringLiteral("Id"), JetType::Long},
                           {QStringLiteral("ParentId"), JetType::Long},
                           {QStringLiteral("Name"), JetType::Text, 128},
                           {QStringLiteral("Type"), JetType::Integer},
                           {QStringLiteral("Flags"), JetType::Long},
                           {QStringLiteral("LvProp"), JetType::OleObject}},
                          {}};
    catalogue.rows.push_back({{kCatalogPage, 0x0f000001, QStringLiteral("MSysObjects"), 1, qint32(kSystemFlags)}});
    for (const auto &[name, page] : tables)
        catalogue.rows.push_back({{page, 0x0f000001, name, 1, 0}});
    return catalogue;
}

// A page usage map of type 0: its first page, then one bit per page from there.
QByteArray usageMap(const std::vector<int> &pages, int fromPage, int toPage)
{
    QByteArray map(5 + (toPage - fromPage + 8) / 8, '\0');
    put32(map, 1, quint32(fromPage));
    for (int page : pages)
        map[5 + (page - fromPage) / 8] = char(map[5 + (page - fromPage) / 8] | (1 << ((page - fromPage) % 8)));
    return map;
}

qint64 nextCounterValue(const AccessTable &table)
{
    if (table.nextCounter > 0)
        return table.nextCounter;
    qint64 largest = 0;
    for (size_t c = 0; c < table.columns.size(); ++c) {
        if (table.columns[c].type != JetType::Counter)
            continue;
        for (const AccessRow &row : table.rows)
            if (qsizetype(c) < row.values.size() && !row.values[qsizetype(c)].isNull())
                largest = std::max(largest, row.values[qsizetype(c)].toLongLong());
    }
    return largest + 1;
}

void appendName(QByteArray &out, const QString &name)
{
    const QByteArray text = jetText(name, false);
    append16(out, quint16(text.size()));
    out.append(text);
}

struct TableFacts {
    int liveRows = 0;
    qint64 nextCounter = 0;
    quint32 usedPages = 0; // where the usage map row is
    quint32 freePages = 0;
    bool system = false;
};

// The table definition page: a 63-byte block, 25 bytes per column, the column names; no
// indexes. At kAccessCounterSeedOffset, the counter's next value (0 without a counter).
QByteArray definitionPage(const AccessTable &table, const TableLayout &layout, const TableFacts &facts)
{
    const auto &columns = layout.columns();
    const bool hasCounter = std::any_of(table.columns.begin(), table.columns.end(),
                                        [](const AccessColumn &c) { return c.type == JetType::Counter; });
    QByteArray page(63, '\0');
    page[0] = 0x02;
    page[1] = 0x01;
    put32(page, 16, quint32(facts.liveRows));
    put32(page, kAccessCounterSeedOffset, hasCounter ? quint32(facts.nextCounter) : 0);
    page[24] = hasCounter ? 0x01 : 0x00;
    page[40] = facts.system ? 0x53 : 0x4e;
    put16(page, 41, quint16(columns.size()));
    put16(page, 43, quint16(layout.varCount()));
    put16(page, 45, quint16(columns.size()));
    put32(page, 55, facts.usedPages);
    put32(page, 59, facts.freePages);
    for (size_t i = 0; i < columns.size(); ++i) {
        const ColumnLayout &column = columns[i];
        QByteArray entry(25, '\0');
        entry[0] = char(column.typeCode);
        put16(entry, 5, quint16(i));
        put16(entry, 7, quint16(column.varIndex));
        put16(entry, 9, quint16(i));
        const bool text = table.columns[i].type == JetType::Text || table.columns[i].type == JetType::Memo;
        if (text)
            put16(entry, 11, 0x0409); // general sort order
        entry[15] = char(column.flags);
        entry[16] = char(text && layout.compressed() ? 0x01 : 0x00);
        put16(entry, 21, quint16(column.fixedOffset));
        put16(entry, 23, quint16(column.length));
        page.append(entry);
    }
    for (const AccessColumn &column : table.columns)
        appendName(page, column.name);
    append16(page, 0xffff); // no long-value usage maps per column
    if (page.size() > kPageSize)
        throw std::invalid_argument(QStringLiteral("%1: too many columns for one page").arg(table.name).toStdString());
    put32(page, 8, quint32(page.size()));
    put16(page, 2, quint16(kPageSize - page.size() - 8));
    page.resize(kPageSize, '\0');
    return page;
}

// RC4, the cipher that hides part of the database header.
void rc4(QByteArray &bytes, int from, int length, const QByteArray &key)
{
    quint8 state[256];
    for (int i = 0; i < 256; ++i)
        state[i] = quint8(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + state[i] + quint8(key[i % key.size()])) & 0xff;
        std::swap(state[i], state[j]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xff;
        j = (j + state[i]) & 0xff;
        std::swap(state[i], state[j]);
        bytes[from + n] = char(quint8(bytes[from + n]) ^ state[(state[i] + state[j]) & 0xff]);
    }
}

// The database header (page 0), laid out as AccessFileOptions describes: the password masked
// with the creation date, then the region from 0x18 encrypted as every Jet 4 header is.
QByteArray headerPage(const QString &password)
{
    QByteArray page(kPageSize, '\0');
    page[1] = 0x01;
    std::memcpy(page.data() + 4, "Standard Jet DB", 16);
    put32(page, 0x14, 1);
    put16(page, 0x3c, 1252);
    put32(page, 0x3e, 0);
    put16(page, 0x6e, 0x0409);
    quint64 dateBits;
    std::memcpy(&dateBits, &kCreationDate, sizeof dateBits);
    put32(page, 0x72, quint32(dateBits));
    put32(page, 0x76, quint32(dateBits >> 32));
    QByteArray mask;
    append32(mask, quint32(qint32(kCreationDate)));
    const QByteArray secret = jetText(password, false).leftJustified(40, '\0');
    for (int i = 0; i < 40; ++i)
        page[0x42 + i] = char(secret[i] ^ mask[i % 4]);
    rc4(page, 0x18, 128, QByteArray("\xc7\xda\x39\x6b", 4));
    return page;
}

} // namespace
} // namespace testsupport::jet

namespace testsupport {

QByteArray accessFileBytes(const AccessDatabase &database)
{
    using namespace jet;
    if (database.options.password.size() > 20)
        throw std::invalid_argument("an Access database password has at most 20 characters");
    const auto &tables = database.tables;
    PageFile file;
    file.allocate(); // header
    file.allocate(); // the file's own usage map
    std::vector<std::pair<QString, int>> definitionPages;
    for (int page = kCatalogPage; page < kCatalogPage + 1 + int(tables.size()); ++page)
        file.allocate();
    for (size_t t = 0; t < tables.size(); ++t)
        definitionPages.emplace_back(tables[t].name, kCatalogPage + 1 + int(t));

    // Every table's rows, the catalogue's first; then the usage maps of each.
    std::vector<const AccessTable *> all;
    const AccessTable catalogue = catalogueTable(definitionPages);
    all.push_back(&catalogue);
    for (const AccessTable &table : tables)
        all.push_back(&table);
    std::vector<TableLayout> layouts;
    std::vector<TableFacts> facts(all.size());
    std::vector<std::vector<int>> dataPages;
    RowPacker longValues(file, kLongValueOwner);
    for (size_t t = 0; t < all.size(); ++t) {
        const AccessTable &table = *all[t];
        layouts.emplace_back(table, t > 0 && database.options.compressText);
        RowPacker rows(file, quint32(kCatalogPage + t));
        const RowEncoder encoder(table, layouts.back(), longValues);
        for (const AccessRow &row : table.rows) {
            rows.add(encoder.encode(row), row.deleted);
            facts[t].liveRows += row.deleted ? 0 : 1;
        }
        facts[t].nextCounter = nextCounterValue(table);
        facts[t].system = t == 0;
        dataPages.push_back(rows.pages());
    }
    RowPacker maps(file, 0);
    for (size_t t = 0; t < all.size(); ++t) {
        const auto &pages = dataPages[t];
        const int from = pages.empty() ? 0 : pages.front();
        const int to = pages.empty() ? 0 : pages.back();
        facts[t].usedPages = maps.add(usageMap(pages, from, to));
        facts[t].freePages = maps.add(usageMap({}, from, to));
        file.page(kCatalogPage + int(t)) = definitionPage(*all[t], layouts[t], facts[t]);
    }
    std::vector<int> everyPage(size_t(file.count()));
    std::iota(everyPage.begin(), everyPage.end(), 0);
    RowPacker(file, 0).addOnPage(1, usageMap(everyPage, 0, file.count() - 1));
    file.page(0) = headerPage(database.options.password);
    return file.bytes();
}

bool writeAccessFile(const QString &path, const AccessDatabase &database)
{
    const QByteArray bytes = accessFileBytes(database);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

double accessDays(const QDateTime &dateTime)
{
    const qint64 days = jet::kEpoch.daysTo(dateTime.date());
    const double time = dateTime.time().msecsSinceStartOfDay() / 86400000.0;
    return days < 0 ? double(days) - time : double(days) + time;
}

QDateTime dateTimeOfAccessDays(double days)
{
    const double whole = std::trunc(days);
    const qint64 msecs = std::llround(std::fabs(days - whole) * 86400000.0);
    return QDateTime(jet::kEpoch.addDays(qint64(whole)), QTime(0, 0).addMSecs(int(msecs)), Qt::UTC);
}

} // namespace testsupport
