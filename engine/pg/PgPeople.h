#pragma once
// People of an archive on a server: each person is a login of the server belonging to one
// of the archive's two group roles, "<database>_operatore" (cards and members; the rest read
// only) and "<database>_responsabile" (every table but the history, and people). The
// groups' rights are grants of the server, so the server refuses what a role may not do
// whatever program the login uses. People and the history's removal are managed through
// functions that run as the archive's owner (who needs CREATEROLE) and first check that the
// caller is a Responsabile.

#include <QStringList>

namespace dao::pg {

inline constexpr char kOperatorSuffix[] = "_operatore";
inline constexpr char kManagerSuffix[] = "_responsabile";

// The groups, their grants and the managing functions, run by the archive's owner; made
// where missing, so running them again (a table added since) is harmless. `tables` are
// every table of the archive, `tracked` those an Operatore may write.
QStringList peopleStatements(const QString &database, const QStringList &tables, const QStringList &tracked);

} // namespace dao::pg
