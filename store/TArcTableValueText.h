#pragma once
// Value texts of the table dataset: how an engine value is held in a record buffer and
// turned back into an engine value when a post writes it. Dates are held as two decimal
// integers, "D M": D counts days with 1 January 0001 as day 1, M the milliseconds since
// midnight.

#include "db/DbTypes.h"
#include "engine/Value.h"

#include <QDate>
#include <QString>
#include <optional>

namespace arctable {

// The day number D of 30 December 1899, the engine's day zero.
inline constexpr qint64 kEngineEpochDay = 693594;

// The text of a non-memo value for a field of the given type; null gives an empty text.
QString valueText(const dao::Value &value, TFieldType type);

// Date texts and engine dates; nullopt when the text is no date text.
QString dateValueText(dao::Date date);
std::optional<dao::Date> engineDate(const QString &valueText);
// The calendar date and the milliseconds of a date text.
std::optional<std::pair<QDate, int>> calendarOf(const QString &valueText);

// What a post writes for a value text: null for an empty text, a date for date fields
// (nullopt when the text is no date: nothing is written), the text itself otherwise, for
// the engine to convert.
std::optional<dao::Value> engineValue(const QString &text, TFieldType type);

// The field type of an engine field (type, attributes, its "Format" property).
TFieldType fieldTypeOf(int engineType, int attributes, const std::optional<QString> &format);
// The size a field definition keeps: text sizes (0 becomes 255) and binary/memo sizes only.
int definitionSize(int engineType, int size);

// The default the program shows in a new record, from the engine's DefaultValue text.
QString defaultValueText(const QString &engineDefault, TFieldType type);

} // namespace arctable
