#pragma once
// How one storage writes the Jet texts of the data layer (conditions, sorts, record
// conditions): the grammar is read once (engine/jet) and each storage spells what it read,
// with the same meaning and the same rows in the same order. Results carry "?" placeholders
// and the values to bind.

#include "engine/RecordCondition.h"
#include "engine/jet/ConditionSpelling.h"

#include <QString>

namespace dao {

class Dialect : public jet::ConditionSpelling {
public:
    jet::SqlFragment condition(const QString &text, const jet::Columns &columns) const
    {
        return jet::translateCondition(text, columns, *this);
    }
    // An ORDER BY list without the keywords; empty for an empty sort text.
    QString sort(const QString &text, const jet::Columns &columns) const { return jet::translateSort(text, columns, *this); }
    // Empty sql when the condition has no terms; throws EngineError for a column the table lacks.
    virtual jet::SqlFragment recordCondition(const RecordCondition &condition, const jet::Columns &columns) const = 0;
    // A quoted text column equal to one "?" value under the engine's text order.
    virtual QString textEquals(const QString &quotedColumn) const = 0;
    // The number a column holds, null where it holds anything else (a stored text).
    virtual QString storedNumber(const QString &quotedColumn) const = 0;
    // A number below 1e12 in magnitude as a whole number, truncated toward zero.
    virtual QString truncated(const QString &number) const = 0;
    // Ends a subquery so that it is computed as written, once a row, and not merged into the
    // query around it (which would copy its expressions into every use).
    virtual QString fence() const = 0;
    // An aggregate function that counts groups in one pass (engine/sqlite/SummaryTally.h), where
    // the storage would group rows by sorting them all; empty where GROUP BY is quicker.
    virtual QString tallyFunction() const { return {}; }
};

} // namespace dao
