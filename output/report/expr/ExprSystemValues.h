#pragma once
// The system variables an expression may name, with the labels under which the designer
// offers them, and the values of one moment of a run that the engine keeps up to date.

#include "output/report/expr/ExprValue.h"

#include <QDateTime>
#include <QList>
#include <optional>

namespace report {

struct ExprSystemVariable {
    QString name;     // "PAGE#"
    QString label;    // "N° pagina"
};

// In the designer's order: PAGE#, DATE, TIME, LINE#, LINETHROUGH#, COLUMN#, CURRENT#, TOTALPAGES.
const QList<ExprSystemVariable> &exprSystemVariables();

struct ExprSystemValues {
    int page = 1;               // PAGE#
    int totalPages = 0;         // TOTALPAGES (right in two-pass layouts)
    int line = 0;               // LINE#: record number within the current data band
    int lineThrough = 0;        // LINETHROUGH#: record number across the whole run
    int column = 1;             // COLUMN#
    int current = 0;            // CURRENT#: record number of the band's record source
    QDateTime started;          // DATE and TIME: fixed when building starts

    // The value of a system variable named in upper case; none for any other name.
    std::optional<ExprValue> lookup(const QString &upperName) const;
};

} // namespace report
