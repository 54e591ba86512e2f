// The file's tally of rows per key (how many cards have how many members): a key's rows
// count together however they are spread over the table, and a key stored as a whole number
// stays apart from the same digits stored as text or as a fraction.

#include "engine/sqlite/SummaryTally.h"

#include <gtest/gtest.h>
#include <map>
#include <sqlite3.h>

namespace {

TEST(SummaryTally, RowsPerKeyCountEveryRowOfAKeyWhereverItComes)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    dao::registerSummaryTally(db);
    // Key 1 in three places, 7 once, '7' as text twice, 2.5 once, a null once.
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE m (k); INSERT INTO m VALUES (1), (1), (7), (1), ('7'), (2.5), ('7'), (NULL);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_stmt *st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT summary_tally(-1, k) FROM m", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    const QByteArray tally(static_cast<const char *>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(db);

    std::map<qint64, qint64> keysByRows;
    for (const dao::SummaryGroup &g : dao::decodeTally(tally, 1))
        keysByRows[g.terms[0].asInt()] += g.rows;
    // One row: 7, 2.5 and the null; two rows: '7'; three rows: 1.
    EXPECT_EQ(keysByRows, (std::map<qint64, qint64>{{1, 3}, {2, 1}, {3, 1}}));
}

} // namespace
