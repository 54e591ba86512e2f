#pragma once
// Numbers through a picture of the kind office programs use (FORMATFLOAT):
//   0     a digit, always shown          #     a digit, shown when significant
//   .     where the decimal comma goes    ,     anywhere before it: group thousands with "."
//   '...' or "..."  text printed as it stands; any other character is printed as it stands
//   ;     separates the pictures for positive, negative and zero values ("#,##0.00;(#,##0.00);-")
// The text before the first digit placeholder is printed before the number, the rest after
// it. Values are rounded half away from zero to the decimals shown (at most 18). With a
// single picture a negative value gets a leading "-". An empty picture prints the number
// plainly. "#,##0.00" of 1234.5 is "1.234,50". Scientific pictures (E+00) are not read:
// their letters print as text.

#include <QString>

namespace report {

QString formatFloat(const QString &picture, double value);

} // namespace report
