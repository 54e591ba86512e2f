#pragma once
// The people of an archive and what their role lets them do. On a server each person signs
// in with a login of their own, a member of the archive's Operatore or Responsabile group
// (PgPeople.h); on a file there is the one archive password, and whoever opens the archive
// may do everything. The removal of old history is here too, since only a Responsabile may
// do it and the removal is itself recorded.

#include <QDate>
#include <QString>
#include <vector>

namespace dao {

class Database;

enum class PersonRole { Operatore, Responsabile };

struct Person {
    QString name;
    PersonRole role = PersonRole::Operatore;
    bool enabled = true;
};

class ArchivePeople {
public:
    explicit ArchivePeople(Database &database);

    bool hasPeople() const;          // a server archive
    QString currentUser() const;     // the login on a server, the computer's user on a file
    PersonRole currentRole() const;

    // On a server, makes the archive's groups with their grants and functions and the
    // connected login a Responsabile; false (nothing done) when the login may not create
    // roles. Running it again is harmless.
    bool prepareRoles();

    // Each of these throws EngineError; the server refuses them to an Operatore.
    std::vector<Person> list() const;
    void add(const QString &name, PersonRole role, const QString &password);
    void setEnabled(const QString &name, bool enabled);
    void setPassword(const QString &name, const QString &password);

    // Removes the history recorded before `before` and records the removal; returns how
    // many rows went.
    qint64 purgeHistory(const QDate &before);

private:
    Database &m_database;
};

} // namespace dao
