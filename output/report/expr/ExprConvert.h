#pragma once
// Texts read as numbers, dates and times the Italian way, and the text comparison of the
// expressions. Shared by the operators and the conversion functions.

#include <QString>
#include <optional>

namespace report {

// "1234,5", "-3", "1.234.567,89", "3.5" (a point followed by three digits groups thousands
// when no comma is present, otherwise it is a decimal point). None for anything else.
std::optional<double> parseItalianNumber(const QString &text);
// "dd/mm/yyyy" with "/", "." or "-", two-digit years as 19xx from 50 and 20xx below,
// "yyyy-mm-dd", optionally followed by a time; the serial day number. None when invalid.
std::optional<double> parseItalianDate(const QString &text);
// "hh:mm" or "hh:mm:ss" (points allowed too); the fraction of a day. None when invalid.
std::optional<double> parseItalianTime(const QString &text);
// Below, equal or above zero: case ignored, accented letters next to their own letter.
int compareTexts(const QString &a, const QString &b);
// A double as an int, clamped into range (NaN is 0): safe for counts and positions.
int clampToInt(double value);

} // namespace report
