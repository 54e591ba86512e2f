#include "engine/pg/PgPeople.h"

#include "engine/ChangeHistory.h"
#include "engine/jet/Names.h"
#include "engine/pg/PgHistory.h"
#include "engine/pg/PgSchema.h"

namespace dao::pg {

namespace {

using jet::quoteIdentifier;

QString function(const char *name)
{
    return QLatin1String(kFunctionSchema) + u'.' + QLatin1String(name);
}

// The caller must be a Responsabile of this database; a person managed must belong to one
// of its groups, so that no other login of the server (the owner, another office's people)
// is touched.
QStringList managingFunctions(const QString &manager, const QString &operatorRole)
{
    const QString check = QStringLiteral(
        "IF NOT pg_has_role(session_user, %1, 'MEMBER') THEN "
        "RAISE EXCEPTION 'Solo un Responsabile può farlo.' USING ERRCODE = '42501'; END IF; ").arg(sqlTextLiteral(manager));
    const QString member = QStringLiteral(
        "IF NOT EXISTS (SELECT 1 FROM pg_auth_members m JOIN pg_roles g ON g.oid = m.roleid "
        "JOIN pg_roles r ON r.oid = m.member WHERE r.rolname = who AND g.rolname IN (%1, %2)) THEN "
        "RAISE EXCEPTION 'La persona % non è di questo archivio.', who USING ERRCODE = '42501'; END IF; ")
        .arg(sqlTextLiteral(manager), sqlTextLiteral(operatorRole));
    const QString definer = QStringLiteral("LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public");
    return {
        QStringLiteral("CREATE OR REPLACE FUNCTION %1(who text, manager boolean, verifier text) RETURNS void %2 AS $f$ "
                       "BEGIN %3 EXECUTE format('CREATE ROLE %I LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE PASSWORD %L IN ROLE %I', "
                       "who, verifier, CASE WHEN manager THEN %4 ELSE %5 END); END $f$")
            .arg(function("people_add"), definer, check, sqlTextLiteral(manager), sqlTextLiteral(operatorRole)),
        QStringLiteral("CREATE OR REPLACE FUNCTION %1(who text, enabled boolean) RETURNS void %2 AS $f$ "
                       "BEGIN %3 %4 IF who = session_user AND NOT enabled THEN "
                       "RAISE EXCEPTION 'Non potete disattivare voi stessi.' USING ERRCODE = '42501'; END IF; "
                       "EXECUTE format('ALTER ROLE %I %s', who, CASE WHEN enabled THEN 'LOGIN' ELSE 'NOLOGIN' END); END $f$")
            .arg(function("people_enable"), definer, check, member),
        QStringLiteral("CREATE OR REPLACE FUNCTION %1(who text, verifier text) RETURNS void %2 AS $f$ "
                       "BEGIN %3 %4 EXECUTE format('ALTER ROLE %I PASSWORD %L', who, verifier); END $f$")
            .arg(function("people_password"), definer, check, member),
        // The removal is itself recorded: who removed the history before which day, and how much.
        QStringLiteral("CREATE OR REPLACE FUNCTION %1(before float8, shown text) RETURNS bigint %2 AS $f$ "
                       "DECLARE removed bigint; BEGIN %3 DELETE FROM public.%4 WHERE \"Quando\" < before; "
                       "GET DIAGNOSTICS removed = ROW_COUNT; INSERT INTO public.%4 (%5) VALUES "
                       "(extract(epoch FROM localtimestamp)::float8 / 86400 + 25569, session_user, %6, 0, 0, %7, "
                       "'Quando', NULL, format('prima del %s: %s righe', shown, removed)); RETURN removed; END $f$")
            .arg(function("history_purge"), definer, check, quoteIdentifier(QLatin1String(kHistoryTable)),
                 historyInsertColumns(), sqlTextLiteral(QLatin1String(kHistoryTable)), sqlTextLiteral(QLatin1String(kActionPurge))),
    };
}

} // namespace

QStringList peopleStatements(const QString &database, const QStringList &tables, const QStringList &tracked)
{
    const QString operatorName = database + QLatin1String(kOperatorSuffix);
    const QString managerName = database + QLatin1String(kManagerSuffix);
    const QString op = quoteIdentifier(operatorName);
    const QString manager = quoteIdentifier(managerName);
    QStringList statements;
    for (const QString &role : {operatorName, managerName})
        statements << QStringLiteral("DO $r$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = %1) THEN "
                                     "CREATE ROLE %2 NOLOGIN; END IF; END $r$").arg(sqlTextLiteral(role), quoteIdentifier(role));
    statements << QStringLiteral("GRANT %1 TO %2").arg(op, manager)
               << QStringLiteral("GRANT CONNECT, TEMPORARY ON DATABASE %1 TO %2").arg(quoteIdentifier(database), op)
               << QStringLiteral("GRANT USAGE ON SCHEMA public, %1 TO %2").arg(QLatin1String(kFunctionSchema), op)
               << QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(op)
               << QStringLiteral("GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA public TO %1").arg(op)
               << QStringLiteral("GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA %1 TO %2").arg(QLatin1String(kFunctionSchema), op);
    for (const QString &table : tables) {
        if (table.compare(QLatin1String(kHistoryTable), Qt::CaseInsensitive) == 0)
            continue;
        const bool cards = tracked.contains(table, Qt::CaseInsensitive);
        statements << QStringLiteral("GRANT INSERT, UPDATE, DELETE ON public.%1 TO %2")
                          .arg(quoteIdentifier(table), cards ? op : manager);
    }
    // The catalogue of stored queries is the Responsabile's too.
    statements << QStringLiteral("DO $q$ BEGIN IF to_regclass('public.\"MSysQueries\"') IS NOT NULL THEN "
                                 "GRANT INSERT, UPDATE, DELETE ON public.\"MSysQueries\" TO %1; END IF; END $q$").arg(manager);
    statements << managingFunctions(managerName, operatorName);
    for (const char *name : {"people_add", "people_enable", "people_password", "history_purge"})
        statements << QStringLiteral("REVOKE ALL ON FUNCTION %1 FROM PUBLIC").arg(function(name))
                   << QStringLiteral("GRANT EXECUTE ON FUNCTION %1 TO %2").arg(function(name), op);
    statements << protectHistoryStatement();
    return statements;
}

} // namespace dao::pg
