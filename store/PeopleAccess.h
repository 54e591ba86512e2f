#pragma once
// What the windows ask of the archive's people: who is signed in and with which role, the
// people of a server archive and their management, and the removal of old history. Each
// call goes to the connected archive; failures arrive as the engine's errors.

#include "engine/People.h"

#include <QDate>
#include <vector>

class TArcDatabase;

namespace store {

using dao::Person;
using dao::PersonRole;

bool hasPeople(TArcDatabase &database);
QString currentUser(TArcDatabase &database);
PersonRole currentRole(TArcDatabase &database);
std::vector<Person> people(TArcDatabase &database);
void addPerson(TArcDatabase &database, const QString &name, PersonRole role, const QString &password);
void setPersonEnabled(TArcDatabase &database, const QString &name, bool enabled);
void setPersonPassword(TArcDatabase &database, const QString &name, const QString &password);
qint64 purgeHistory(TArcDatabase &database, const QDate &before);

// Why a window's command is disabled for an Operatore (the tool tip); empty for a Responsabile.
QString operatorRefusal(TArcDatabase &database);

} // namespace store
