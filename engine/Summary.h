#pragma once
// Figures over many rows counted by the storage itself, where the rows are: the rows of a
// recordset's selection, or the rows of another table that belong to them, counted in
// groups by a few terms, with one statement instead of a visit to every row.
// Dates are read as the record texts show them, by their calendar day: a date's days from
// a reference day, or the whole years of age a birth date gives at it as the card counts
// them (days / 365.25, truncated; none for the empty date 30/12/1899).

#include "engine/Value.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace dao {

class Dialect;

struct SummaryTerm {
    enum class Measure {
        Stored,     // the column's value, typed as its field
        DaysFrom,   // a date's day less the reference day
        Age,        // whole years from a birth date to the reference day
    };
    Measure measure = Measure::Stored;
    QString column;
    // Ascending bounds for a measure of days or years: the term is then the number of the
    // first bound the measure does not exceed (bounds.size() past the last one). Without
    // bounds, the measure itself. Null where the column holds no date.
    std::vector<int> bounds;
};

struct Summary {
    QDate reference;
    std::vector<SummaryTerm> terms;
    // Yes/No columns: each group also counts its rows holding Yes in each.
    QStringList yesCounts;
    // Date columns of the selection: a selected row whose date falls after the reference
    // day is left out (one without a date stays).
    QStringList selectionNotAfter;
    // When set, the rows counted are those of `table` whose `link` column holds the `key` of
    // a selected row, less those whose `notAfter` dates fall after the reference day.
    // alsoPerSelectedRow also counts, over the same rows, the selected rows by how many such
    // rows each has: groups marked perSelectedRow, whose one term is that number (selected
    // rows that have none are not counted).
    struct Details {
        QString table;
        QString link;
        QString key;
        QStringList notAfter;
        bool alsoPerSelectedRow = false;
    };
    std::optional<Details> details;
};

struct SummaryGroup {
    std::vector<Value> terms;
    qint64 rows = 0;
    std::vector<qint64> yes;   // one per yesCounts column
    bool perSelectedRow = false;
};

namespace summary {

// The calendar day (days from 30/12/1899) the record text shows for a date held as `number`
// (the dialect's storedNumber of its column); null for none. And the whole years of age at
// `referenceDay` of a birth on `day` (such a calendar day): the card's own rule, written once
// for every storage in the dialect's spelling.
QString dayOf(const Dialect &dialect, const QString &number);
QString ageAt(const Dialect &dialect, const QString &day, qint64 referenceDay);

} // namespace summary

} // namespace dao
