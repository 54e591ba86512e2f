#pragma once
// A statement's text and values as libpq takes them: "?" placeholders renumbered $1..$n (those
// inside quotes left alone), every value as text but bytes, which travel in binary as bytea.
// Booleans go as -1/0 and dates as their day number, as the archive file stores them;
// doubles with every digit that tells them apart.

#include "engine/Value.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace dao::pg {

// The text with its placeholders numbered; their count in *count.
QByteArray numberedPlaceholders(const QString &sql, int *count);

class PgParameters {
public:
    // Throws EngineError 3000 (source) for a text holding a zero character, which a text
    // parameter would silently cut short.
    PgParameters(const std::vector<Value> &params, const QString &source);

    int count() const { return int(m_values.size()); }
    const unsigned *types() const { return m_types.data(); }
    const char *const *values() const { return m_values.data(); }
    const int *lengths() const { return m_lengths.data(); }
    const int *formats() const { return m_formats.data(); }

private:
    std::vector<QByteArray> m_storage;
    std::vector<unsigned> m_types;
    std::vector<const char *> m_values;
    std::vector<int> m_lengths;
    std::vector<int> m_formats;
};

} // namespace dao::pg
