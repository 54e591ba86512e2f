#pragma once
// The lines of the server's pg_hba.conf that let desks in: over TLS only, with a SCRAM
// password, from the office's network, to the archive's database, for the desk role and its
// members. They sit in a block of their own at the top of the file (the first matching line
// decides), which a new run replaces instead of adding a second.

#include <QString>

namespace cli {

bool hasOfficeRules(const QString &hba);
QString withOfficeRules(const QString &hba, const QString &database, const QString &deskRole, const QString &network);

} // namespace cli
