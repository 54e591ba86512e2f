#pragma once
// Dates and times through a picture of the kind office programs use (FORMATDATETIME),
// letters in either case:
//   d dd       day 1 / 01          ddd dddd   "lun" / "lunedì"
//   m mm       month 1 / 01        mmm mmmm   "gen" / "gennaio"
//              (right after h or hh, m and mm are minutes)
//   yy yyyy    year 26 / 2026
//   h hh       hour 0-23           n nn       minutes
//   s ss       seconds             z zzz      milliseconds
//   '...' or "..."  text as it stands; "/" and ":" and any other character print as they stand.
// "dd/mm/yyyy" of 9 December 2026 is "09/12/2026"; "dddd d mmmm yyyy" is "mercoledì 9 dicembre 2026".

#include <QDateTime>
#include <QString>

namespace report {

QString formatDateTime(const QString &picture, const QDateTime &value);

} // namespace report
