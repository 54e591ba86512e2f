#include "engine/People.h"

#include "engine/ChangeHistory.h"
#include "engine/Connection.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/jet/Names.h"
#include "engine/pg/PgConnection.h"
#include "engine/pg/PgPeople.h"
#include "engine/sqlite/SqliteHistory.h"

namespace dao {

namespace {

const QString kSource = QStringLiteral("DAO.Database");

pg::PgConnection *server(const Database &database)
{
    return dynamic_cast<pg::PgConnection *>(database.connection().get());
}

pg::PgSession &session(const Database &database)
{
    pg::PgConnection *connection = server(database);
    if (!connection)
        throw EngineError(errNotUpdatable, kSource,
                          QStringLiteral("Le persone si gestiscono solo per un archivio su un server."));
    connection->ensureOpen();
    return connection->session();
}

QString groupOf(const Database &database, PersonRole role)
{
    return session(database).address().database
        + QLatin1String(role == PersonRole::Responsabile ? pg::kManagerSuffix : pg::kOperatorSuffix);
}

// The session hands the verifier quoted for a statement's text; the functions take it as a
// value (a SCRAM verifier holds no quote or backslash).
QString verifierValue(pg::PgSession &session, const QString &role, const QString &password)
{
    const QString quoted = session.passwordVerifier(role, password);
    return quoted.size() >= 2 && quoted.startsWith(u'\'') && quoted.endsWith(u'\'') ? quoted.mid(1, quoted.size() - 2) : quoted;
}

double dayOf(const QDate &date)
{
    return double(engineDayOf(date));
}

} // namespace

ArchivePeople::ArchivePeople(Database &database) : m_database(database) {}

bool ArchivePeople::hasPeople() const
{
    return server(m_database) != nullptr;
}

QString ArchivePeople::currentUser() const
{
    if (!hasPeople())
        return sqlite::deskUserName();
    return session(m_database).exec(QStringLiteral("SELECT session_user::text")).value(0, 0).asText();
}

PersonRole ArchivePeople::currentRole() const
{
    if (!hasPeople())
        return PersonRole::Responsabile;
    // The archive's owner and the server's administrators may do what a Responsabile does.
    const bool manager = session(m_database)
                             .exec(QStringLiteral("SELECT pg_has_role(session_user, ?::text, 'MEMBER') "
                                                  "OR pg_has_role(session_user, (SELECT relowner FROM pg_class "
                                                  "WHERE oid = 'public.engine_archive'::regclass), 'MEMBER')"),
                                   {groupOf(m_database, PersonRole::Responsabile)})
                             .value(0, 0).asBool();
    return manager ? PersonRole::Responsabile : PersonRole::Operatore;
}

bool ArchivePeople::prepareRoles()
{
    pg::PgSession &s = session(m_database);
    if (!s.exec(QStringLiteral("SELECT rolcreaterole OR rolsuper FROM pg_roles WHERE rolname = current_user"))
             .value(0, 0).asBool())
        return false;
    QStringList tracked;
    for (const TrackedTable &t : m_database.TrackedTables())
        tracked << t.table;
    const QStringList tables = m_database.connection()->tableNames();
    // The groups, grants and functions land together, in the connection's transaction.
    Connection::WriteTransaction transaction(*m_database.connection(), kSource);
    for (const QString &statement : pg::peopleStatements(s.address().database, tables, tracked))
        s.exec(statement, {}, kSource);
    s.exec(QStringLiteral("GRANT %1 TO %2")
               .arg(jet::quoteIdentifier(groupOf(m_database, PersonRole::Responsabile)),
                    jet::quoteIdentifier(s.exec(QStringLiteral("SELECT session_user::text")).value(0, 0).asText())),
           {}, kSource);
    transaction.commit();
    return true;
}

std::vector<Person> ArchivePeople::list() const
{
    const pg::PgResult r = session(m_database).exec(
        QStringLiteral("SELECT r.rolname::text, g.rolname::text = ?::text, r.rolcanlogin FROM pg_auth_members m "
                       "JOIN pg_roles g ON g.oid = m.roleid JOIN pg_roles r ON r.oid = m.member "
                       "WHERE g.rolname IN (?::text, ?::text) "
                       "AND r.rolname <> ?::text ORDER BY lower(r.rolname::text)"),
        {groupOf(m_database, PersonRole::Responsabile), groupOf(m_database, PersonRole::Responsabile),
         groupOf(m_database, PersonRole::Operatore), groupOf(m_database, PersonRole::Responsabile)});
    std::vector<Person> people;
    for (int row = 0; row < r.rowCount(); ++row)
        people.push_back({r.value(row, 0).asText(),
                          r.value(row, 1).asBool() ? PersonRole::Responsabile : PersonRole::Operatore,
                          r.value(row, 2).asBool()});
    return people;
}

void ArchivePeople::add(const QString &name, PersonRole role, const QString &password)
{
    pg::PgSession &s = session(m_database);
    s.exec(QStringLiteral("SELECT engine_functions.people_add(?::text, ?::integer <> 0, ?::text)"),
           {name, role == PersonRole::Responsabile, verifierValue(s, name, password)}, kSource);
}

void ArchivePeople::setEnabled(const QString &name, bool enabled)
{
    session(m_database).exec(QStringLiteral("SELECT engine_functions.people_enable(?::text, ?::integer <> 0)"),
                             {name, enabled}, kSource);
}

void ArchivePeople::setPassword(const QString &name, const QString &password)
{
    pg::PgSession &s = session(m_database);
    s.exec(QStringLiteral("SELECT engine_functions.people_password(?::text, ?::text)"),
           {name, verifierValue(s, name, password)}, kSource);
}

qint64 ArchivePeople::purgeHistory(const QDate &before)
{
    const QString shown = before.toString(QStringLiteral("dd/MM/yyyy"));
    if (hasPeople())
        return session(m_database)
            .exec(QStringLiteral("SELECT engine_functions.history_purge(?::float8, ?::text)"), {dayOf(before), shown}, kSource)
            .value(0, 0).asInt();
    Connection &c = *m_database.connection();
    Connection::WriteTransaction transaction(c);
    const qint64 removed = c.execute(QStringLiteral("DELETE FROM \"%1\" WHERE \"Quando\" < ?").arg(QLatin1String(kHistoryTable)),
                                     {dayOf(before)});
    c.execute(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (julianday('now', 'localtime') - 2415018.5, engine_user(), "
                             "?, 0, 0, ?, 'Quando', NULL, ?)").arg(QLatin1String(kHistoryTable), historyInsertColumns()),
              {QString::fromLatin1(kHistoryTable), QString::fromLatin1(kActionPurge),
               QStringLiteral("prima del %1: %2 righe").arg(shown).arg(removed)});
    transaction.commit();
    return removed;
}

} // namespace dao
