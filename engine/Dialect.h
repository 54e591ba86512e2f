#pragma once
// How one storage writes the Jet texts of the data layer (conditions, sorts, record
// conditions): each storage has its own translation, with the same meaning and the same
// rows in the same order. Results carry "?" placeholders and the values to bind.

#include "engine/RecordCondition.h"
#include "engine/jet/JetDialect.h"

#include <QString>

namespace dao {

class Dialect {
public:
    virtual ~Dialect() = default;
    virtual jet::SqlFragment condition(const QString &text, const jet::Columns &columns) const = 0;
    virtual jet::SqlFragment recordCondition(const RecordCondition &condition, const jet::Columns &columns) const = 0;
    // An ORDER BY list without the keywords; empty for an empty sort text.
    virtual QString sort(const QString &text, const jet::Columns &columns) const = 0;
    // A quoted text column equal to one "?" value under the engine's text order.
    virtual QString textEquals(const QString &quotedColumn) const = 0;
};

} // namespace dao
