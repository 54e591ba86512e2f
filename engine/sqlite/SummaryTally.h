#pragma once
// The file's grouped count: its storage library groups by sorting every row, which over a
// few hundred thousand rows costs far more than counting them; this aggregate function
// counts the groups in a hash in one pass instead. summary_tally(n, t1..tn, y1..ym) counts
// the rows of each distinct (t1..tn) and, per group, the rows whose y values are non-zero
// numbers; summary_tally(-1, k) counts, per number of rows a k has, the k's that have it.
// Its result is a blob that decodeTally() reads.

#include "engine/Summary.h"

#include <QByteArray>

struct sqlite3;

namespace dao {

inline constexpr const char *kTallyFunction = "summary_tally";

// Registers summary_tally on a handle of the file.
void registerSummaryTally(sqlite3 *db);

// The groups of a summary_tally result over `terms` terms; terms as the file stored them.
std::vector<SummaryGroup> decodeTally(const QByteArray &tally, size_t terms);

} // namespace dao
