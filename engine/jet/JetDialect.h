#pragma once
// The texts the data layer sends to the engine (sort texts, filter and search conditions,
// "Select * From [T] Where ... Order By ... ;") are a small Jet dialect. They are parsed
// here; each storage's dialect (engine/Dialect.h) spells what was read in its own SQL, in
// which every literal is a bound parameter, so a typed value can never change the
// statement. Anything outside the dialect is refused with an engine error, never passed on.

#include "engine/EngineError.h"
#include "engine/RecordCondition.h"
#include "engine/Value.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace dao::jet {

// A column of the table a text is evaluated against: its name as stored and its engine
// field type (dbText 10, dbMemo 12, dbLong 4, dbBoolean 1, dbDate 8, ...).
struct Column {
    QString name;
    int type = 0;
};
using Columns = std::vector<Column>;

// SQL text with "?" placeholders and the values to bind to them, in order.
struct SqlFragment {
    QString sql;
    std::vector<Value> params;
};

// The parts of "Select * From [T] Where <condition> [Order By <sort>] [;]".
struct SelectText {
    QString table;      // as written, without brackets
    QString condition;  // empty when there is no Where
    QString sort;       // empty when there is no Order By
};

// Splits a select text of the one form the data layer sends. Keywords in any letter case.
SelectText parseSelect(const QString &text);

// The engine's text order: letter case ignored, an accented letter right after its base
// letter (a < à < b), accents deciding only between otherwise equal texts.
int compareText(QStringView a, QStringView b);

// Jet LIKE: * any run, ? one character, # one digit, [abc] [a-z] [!a-z] a set; case ignored.
bool likeMatch(QStringView value, QStringView pattern);

// Parses the inside of a #...# date literal: m/d/yyyy, m/d/yyyy h:n:s, h:n:s.
// Throws EngineError(errUnsupportedText) when it is no valid date.
Date parseDateLiteral(QStringView text);

} // namespace dao::jet
