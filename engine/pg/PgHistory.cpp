#include "engine/pg/PgHistory.h"

#include "engine/ChangeHistory.h"
#include "engine/jet/Names.h"
#include "engine/pg/PgSchema.h"

namespace dao::pg {

namespace {

using jet::quoteIdentifier;

// Dates are kept as days since 1899-12-30.
QString valueText(const ColumnInfo &column, const QString &row)
{
    const QString v = row + u'.' + quoteIdentifier(column.name);
    switch (historyValueKind(column)) {
    case HistoryValueKind::Date:
        return QStringLiteral("to_char(timestamp '1899-12-30' + %1 * interval '1 day', 'DD/MM/YYYY')").arg(v);
    case HistoryValueKind::DateTime:
        return QStringLiteral("to_char(timestamp '1899-12-30' + %1 * interval '1 day', 'DD/MM/YYYY HH24:MI:SS')").arg(v);
    case HistoryValueKind::Boolean:
        return QStringLiteral("CASE WHEN %1 IS NULL THEN NULL WHEN %1 <> 0 THEN 'Sì' ELSE 'No' END").arg(v);
    case HistoryValueKind::Bytes:
        return QStringLiteral("encode(%1, 'hex')").arg(v);
    case HistoryValueKind::Text:
        break;
    }
    return v + QLatin1String("::text");
}

QString functionName(const TableInfo &table)
{
    return QLatin1String(kFunctionSchema) + u'.' + quoteIdentifier(QStringLiteral("engine_history_%1").arg(table.name));
}

} // namespace

QStringList trackingStatements(const TableInfo &table, const QString &cardField)
{
    const QString quotedTable = QStringLiteral("public.") + quoteIdentifier(table.name);
    QStringList values;
    for (const ColumnInfo *c : recordedColumns(table))
        values << QStringLiteral("(%1, %2, %3)").arg(sqlTextLiteral(c->name), valueText(*c, QStringLiteral("o")),
                                                    valueText(*c, QStringLiteral("n")));
    const QString card = quoteIdentifier(cardField);
    // o and n stay null for the row an insert or a delete does not have, so every field of
    // an inserted or deleted row is recorded with one side empty.
    const QString function = QStringLiteral(
        "CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
        "SET search_path = pg_catalog, public AS $f$ DECLARE o %2; n %2; BEGIN "
        "IF TG_OP <> 'INSERT' THEN o := OLD; END IF; IF TG_OP <> 'DELETE' THEN n := NEW; END IF; "
        "INSERT INTO public.%3 (%4) SELECT extract(epoch FROM localtimestamp)::float8 / 86400 + 25569, session_user, "
        "%5, coalesce(n.%6, o.%6), coalesce(n.%7, o.%7), "
        "CASE TG_OP WHEN 'INSERT' THEN '%8' WHEN 'UPDATE' THEN '%9' ELSE '%10' END, v.campo, v.prima, v.dopo "
        "FROM (VALUES %11) AS v(campo, prima, dopo) WHERE v.prima IS DISTINCT FROM v.dopo; "
        "RETURN NULL; END $f$")
        .arg(functionName(table), quotedTable, quoteIdentifier(QLatin1String(kHistoryTable)), historyInsertColumns(),
             sqlTextLiteral(table.name), table.rowid, card, QLatin1String(kActionInsert), QLatin1String(kActionUpdate),
             QLatin1String(kActionDelete), values.join(QLatin1String(", ")));
    return {function,
            QStringLiteral("REVOKE ALL ON FUNCTION %1() FROM PUBLIC").arg(functionName(table)),
            QStringLiteral("DROP TRIGGER IF EXISTS engine_history ON %1").arg(quotedTable),
            QStringLiteral("CREATE TRIGGER engine_history AFTER INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW "
                           "EXECUTE FUNCTION %2()").arg(quotedTable, functionName(table)),
            QStringLiteral("CREATE INDEX IF NOT EXISTS engine_history_card ON public.%1 (\"ID_scheda\")")
                .arg(quoteIdentifier(QLatin1String(kHistoryTable))),
            protectHistoryStatement()};
}

QString protectHistoryStatement()
{
    return QStringLiteral(
               "DO $h$ DECLARE t text; r record; BEGIN FOREACH t IN ARRAY ARRAY[%1, %2] LOOP "
               "CONTINUE WHEN to_regclass(format('public.%I', t)) IS NULL; "
               "EXECUTE format('REVOKE INSERT, UPDATE, DELETE, TRUNCATE ON public.%I FROM PUBLIC', t); "
               "FOR r IN SELECT DISTINCT a.grantee::regrole::text AS g FROM pg_class c, aclexplode(c.relacl) a "
               "WHERE c.oid = format('public.%I', t)::regclass AND a.grantee <> c.relowner AND a.grantee <> 0 LOOP "
               "EXECUTE format('REVOKE INSERT, UPDATE, DELETE, TRUNCATE ON public.%I FROM %s', t, r.g); "
               "END LOOP; END LOOP; END $h$")
        .arg(sqlTextLiteral(QLatin1String(kHistoryTable)), sqlTextLiteral(QLatin1String(kHistoryRegistry)));
}

} // namespace dao::pg
