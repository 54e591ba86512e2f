#pragma once
// Parsing of the texts users and code hand to fields: numbers with either decimal
// separator, and dates and times in the Italian short formats.

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

namespace ValueText {

std::optional<qint64> parseInteger(const QString &text);
std::optional<double> parseFloat(const QString &text);   // "." or ","; finite values only
QString floatText(double value);                          // shortest exact text, "." separator

// "d/M/yyyy", "d/M/yy", "h:mm[:ss]" or a date followed by a time; "/", "." or "-" between
// date parts. Two-digit years fall within fifty years of the current one.
struct TypedDateTime {
    std::optional<QDate> date;
    std::optional<QTime> time;
};
std::optional<TypedDateTime> parseTyped(const QString &text);

} // namespace ValueText
