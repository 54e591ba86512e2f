#pragma once
// One record as the dataset holds it: every field value as its value text (empty for
// null, "True"/"False" for Booleans, "days milliseconds" for dates and times, the length
// for memos not fetched), each with a modified mark; the header naming the record; and the
// area of calculated values.

#include "db/DbTypes.h"

#include <QString>
#include <optional>
#include <vector>

struct TRecordBuffer {
    std::vector<QString> values;      // indexed by field definition order
    std::vector<bool> modified;
    int position = -1;                // ordinal of the record when fetched; -1 in a new record
    TBookmarkFlag flag = TBookmarkFlag::bfCurrent;
    qint32 bookmark = 0;              // 0 when none
    quint64 version = 0;              // the storage's fingerprint of the values fetched; 0: none
    std::vector<std::optional<QString>> calculated;   // indexed by calculated-field slot

    void reset(size_t valueCount, size_t calculatedCount)
    {
        values.assign(valueCount, QString());
        modified.assign(valueCount, false);
        calculated.assign(calculatedCount, std::nullopt);
        position = -1;
        flag = TBookmarkFlag::bfCurrent;
        bookmark = 0;
        version = 0;
    }
};
