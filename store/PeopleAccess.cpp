#include "store/PeopleAccess.h"

#include "engine/EngineError.h"
#include "store/TArcDatabase.h"

namespace store {

namespace {

dao::ArchivePeople of(TArcDatabase &database)
{
    if (!database.database())
        throw dao::EngineError(dao::errObjectClosed, QStringLiteral("DAO.Database"), QStringLiteral("Archivio non collegato."));
    return dao::ArchivePeople(*database.database());
}

} // namespace

bool hasPeople(TArcDatabase &database) { return database.database() && of(database).hasPeople(); }
QString currentUser(TArcDatabase &database) { return of(database).currentUser(); }
PersonRole currentRole(TArcDatabase &database) { return of(database).currentRole(); }
std::vector<Person> people(TArcDatabase &database) { return of(database).list(); }

void addPerson(TArcDatabase &database, const QString &name, PersonRole role, const QString &password)
{
    of(database).add(name, role, password);
}

void setPersonEnabled(TArcDatabase &database, const QString &name, bool enabled)
{
    of(database).setEnabled(name, enabled);
}

void setPersonPassword(TArcDatabase &database, const QString &name, const QString &password)
{
    of(database).setPassword(name, password);
}

qint64 purgeHistory(TArcDatabase &database, const QDate &before)
{
    return of(database).purgeHistory(before);
}

QString operatorRefusal(TArcDatabase &database)
{
    if (!database.database() || currentRole(database) == PersonRole::Responsabile)
        return {};
    return QStringLiteral("Riservato al Responsabile: %1 entra come Operatore.").arg(currentUser(database));
}

} // namespace store
