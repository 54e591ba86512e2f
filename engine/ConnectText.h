#pragma once
// The password inside a connect text (";UID=Admin;PWD=secret;") or a compaction's password
// text (";pwd=secret;"). A password may hold ";", "=" and even "PWD=", so it starts after
// the first "PWD=" and runs to the last ";" of the text; a text without a closing ";" ends
// it at its end. Writers therefore always close the password with ";".

#include <QString>

namespace dao {

QString passwordInConnectText(const QString &text);

} // namespace dao
