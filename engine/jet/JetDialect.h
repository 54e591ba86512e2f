#pragma once
// The texts the data layer sends to the engine (sort texts, filter and search conditions,
// "Select * From [T] Where ... Order By ... ;") are a small Jet dialect. They are parsed
// here and translated into SQLite text in which every literal is a bound parameter, so a
// typed value can never change the statement. Anything outside the dialect is refused with
// an engine error, never passed on.

#include "engine/EngineError.h"
#include "engine/RecordCondition.h"
#include "engine/Value.h"

#include <QString>
#include <QStringView>
#include <vector>

struct sqlite3;

namespace dao::jet {

// The name under which the engine's text collation is registered on every connection.
inline constexpr const char *kCollation = "JET";

// A column of the table a text is evaluated against: its name as stored and its engine
// field type (dbText 10, dbMemo 12, dbLong 4, dbBoolean 1, dbDate 8, ...).
struct Column {
    QString name;
    int type = 0;
};
using Columns = std::vector<Column>;

// SQLite text with "?" placeholders and the values to bind to them, in order.
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

// Translates a condition (comparisons of field names with numbers, "texts", #dates#,
// True/False/Null, IS [NOT] NULL, [NOT] LIKE with * ? # [..] wildcards, LCASE/UCASE,
// AND/OR/NOT and parentheses) into a SQLite expression over the table's columns.
SqlFragment translateCondition(const QString &condition, const Columns &columns);

// Translates a record condition into a SQLite expression over the table's columns: texts
// compared byte for byte, record texts made and searched by jet_record_contains. Empty sql
// when the condition has no terms. Throws EngineError for a column the table lacks.
SqlFragment translateRecordCondition(const RecordCondition &condition, const Columns &columns);

// Translates a sort text ("Fascia, Capofamiglia ", "[Ordine] ASC ") into an ORDER BY list
// (without the keywords) that compares texts with the engine's collation.
QString translateSort(const QString &sort, const Columns &columns);

// Registers on a connection the collation kCollation and the functions the translated
// texts call (jet_like, jet_lcase, jet_ucase, jet_text, jet_record_contains).
void registerFunctions(sqlite3 *db);

// The engine's text order: letter case ignored, an accented letter right after its base
// letter (a < à < b), accents deciding only between otherwise equal texts.
int compareText(QStringView a, QStringView b);

// Jet LIKE: * any run, ? one character, # one digit, [abc] [a-z] [!a-z] a set; case ignored.
bool likeMatch(QStringView value, QStringView pattern);

// Parses the inside of a #...# date literal: m/d/yyyy, m/d/yyyy h:n:s, h:n:s.
// Throws EngineError(errUnsupportedText) when it is no valid date.
Date parseDateLiteral(QStringView text);

} // namespace dao::jet
