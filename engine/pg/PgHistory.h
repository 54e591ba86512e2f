#pragma once
// The server's change history: one trigger per tracked table calling a function of the
// archive's schema of functions that runs as its owner (SECURITY DEFINER) and writes the
// history with the login of the session as who. The history and its registry are closed
// to every role but the owner for writing, so no desk login changes or deletes a record.

#include "engine/TableInfo.h"

#include <QStringList>

namespace dao::pg {

// The function, the trigger and its index, to run as the archive's owner in one transaction.
QStringList trackingStatements(const TableInfo &table, const QString &cardField);

// Takes INSERT, UPDATE, DELETE and TRUNCATE on the history and its registry from every role
// but their owner (grants to a desk's role given before included); nothing when they are absent.
QString protectHistoryStatement();

} // namespace dao::pg
