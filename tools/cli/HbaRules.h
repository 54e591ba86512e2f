#pragma once
// The lines of the server's pg_hba.conf that let desks in: over TLS only, with a SCRAM
// password, from the office's network, to the archive's database, for the desk role and its
// members. They sit in a block of their own at the top of the file (the first matching line
// decides), which a new run replaces instead of adding a second.

#include <QStringList>

namespace cli {

bool hasOfficeRules(const QString &hba);
// `roles`: the desk role and the archive's people groups, each let in with its members.
QString withOfficeRules(const QString &hba, const QString &database, const QStringList &roles, const QString &network);

} // namespace cli
