#include "engine/pg/PgSchema.h"

#include "engine/Constants.h"
#include "engine/EngineError.h"
#include "engine/jet/Names.h"
#include "engine/pg/PgHistory.h"
#include "engine/pg/PgSession.h"

#include <algorithm>

namespace dao::pg {

namespace {

using jet::quoteIdentifier;

struct StoredType {
    QString word;      // the archive file's declaration word, kept in the column's COMMENT
    QString serverType;
};

// The same words the file writes (a type the file has no word for is a memo there, and so
// here), with the server's column type of pg-design: numbers and dates as double precision
// holding what the file holds, Yes/No as a smallint holding -1/0.
StoredType storedType(const FieldSpec &f)
{
    const QString dbl = QStringLiteral("double precision");
    switch (f.type) {
    case dbBoolean: return {QStringLiteral("BIT"), QStringLiteral("smallint")};
    case dbByte: return {QStringLiteral("BYTE"), QStringLiteral("smallint")};
    case dbInteger: return {QStringLiteral("SHORT"), QStringLiteral("smallint")};
    case dbLong: return {QStringLiteral("LONG"), QStringLiteral("integer")};
    case dbBigInt: return {QStringLiteral("BIGINT"), QStringLiteral("bigint")};
    case dbCurrency: return {QStringLiteral("CURRENCY"), dbl};
    case dbSingle: return {QStringLiteral("SINGLE"), dbl};
    case dbDouble: return {QStringLiteral("DOUBLE"), dbl};
    case dbDate:
        return {f.format == QLatin1String("Short Date") ? QStringLiteral("DATE")
                : f.format == QLatin1String("Short Time") ? QStringLiteral("TIME") : QStringLiteral("DATETIME"), dbl};
    case dbText:
        return f.size > 0 ? StoredType{QStringLiteral("TEXT(%1)").arg(f.size), QStringLiteral("varchar(%1)").arg(f.size)}
                          : StoredType{QStringLiteral("TEXT"), QStringLiteral("varchar(255)")};
    case dbBinary:
        return {f.size > 0 ? QStringLiteral("BINARY(%1)").arg(f.size) : QStringLiteral("BINARY"), QStringLiteral("bytea")};
    case dbLongBinary: return {QStringLiteral("LONGBINARY"), QStringLiteral("bytea")};
    case dbGUID: return {QStringLiteral("GUID"), QStringLiteral("bytea")};
    default: return {QStringLiteral("LONGTEXT"), QStringLiteral("text")};
    }
}

// A column the program did not create (no COMMENT): the nearest declaration word.
QString wordForServerType(const QString &serverType)
{
    static const std::pair<const char *, const char *> words[] = {
        {"smallint", "SHORT"}, {"integer", "LONG"}, {"bigint", "BIGINT"}, {"double precision", "DOUBLE"},
        {"real", "SINGLE"}, {"bytea", "LONGBINARY"}, {"boolean", "BIT"}, {"text", "LONGTEXT"},
    };
    for (const auto &[type, word] : words)
        if (serverType == QLatin1String(type))
            return QLatin1String(word);
    if (serverType.startsWith(QLatin1String("character varying(")))
        return QStringLiteral("TEXT(%1)").arg(serverType.section(QLatin1Char('('), 1).chopped(1));
    return QStringLiteral("LONGTEXT");
}

QString commentOrTextLiteral(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

// The server shows a default as an expression ('abc'::character varying, '-1'::smallint,
// 0): back to the literal the file's declaration holds ('abc', -1, 0).
QString defaultFromServer(const QString &expression, bool text)
{
    QString s = expression.trimmed();
    while (s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')')))
        s = s.mid(1, s.size() - 2).trimmed();
    if (s.startsWith(QLatin1Char('\''))) {
        qsizetype end = 1;
        while (end < s.size()) {
            if (s[end] == QLatin1Char('\'')) {
                if (end + 1 < s.size() && s[end + 1] == QLatin1Char('\'')) {
                    end += 2;
                    continue;
                }
                break;
            }
            ++end;
        }
        s.truncate(end + 1);
        return text ? s : s.mid(1, s.size() - 2);
    }
    if (const qsizetype cast = s.indexOf(QLatin1String("::")); cast >= 0)
        s.truncate(cast);
    return s;
}

QString sequenceOf(PgSession &session, const QString &table)
{
    const PgResult r = session.exec(QStringLiteral(
        "SELECT pg_get_serial_sequence(quote_ident(n.nspname) || '.' || quote_ident(c.relname), a.attname) "
        "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace JOIN pg_attribute a ON a.attrelid = c.oid "
        "WHERE n.nspname = 'public' AND c.relkind IN ('r', 'p') AND lower(c.relname) = lower(?::text) "
        "AND a.attnum > 0 AND NOT a.attisdropped AND a.attidentity <> '' ORDER BY a.attnum LIMIT 1"), {table});
    if (r.rowCount() == 0 || r.value(0, 0).isNull())
        throw EngineError(errTableNotFound, QStringLiteral("DAO.Database"),
                          QStringLiteral("Impossibile trovare la tabella '%1' nell'archivio sul server.").arg(table));
    return r.value(0, 0).asText();
}

} // namespace

QStringList createTableStatements(const TableSpec &definition)
{
    const QString table = quoteIdentifier(definition.name);
    QStringList columns;
    QStringList comments;
    bool counter = false;
    for (const FieldSpec &f : definition.fields) {
        QString col = quoteIdentifier(f.name) + QLatin1Char(' ');
        QString word;
        if (f.autoIncrement && !counter) {
            counter = true;
            col += QLatin1String("integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
            word = QStringLiteral("COUNTER");
        } else {
            const StoredType stored = storedType(f);
            word = stored.word;
            col += stored.serverType;
            if (f.required)
                col += QLatin1String(" NOT NULL");
            if (!f.defaultValue.isNull())
                col += QLatin1String(" DEFAULT ") + defaultLiteral(f.defaultValue);
        }
        columns << col;
        comments << QStringLiteral("COMMENT ON COLUMN %1.%2 IS %3").arg(table, quoteIdentifier(f.name), commentOrTextLiteral(word));
    }
    if (!counter)
        columns << quoteIdentifier(QLatin1String(kHiddenRowId)) + QLatin1String(" bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    return QStringList{QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns.join(QLatin1String(", ")))} + comments;
}

QStringList createArchiveStatements()
{
    // Up to PostgreSQL 14 every role may create objects in public: one that could would plant
    // there a function or table the archive's statements would find first.
    return {QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC"),
            QStringLiteral("CREATE TABLE engine_archive (version integer NOT NULL)"),
            QStringLiteral("INSERT INTO engine_archive (version) VALUES (1)")};
}

QStringList deskGrantStatements(const QString &deskRole)
{
    const QString role = quoteIdentifier(deskRole);
    const QString functions = QLatin1String(kFunctionSchema);
    return {QStringLiteral("GRANT USAGE ON SCHEMA public, %1 TO %2").arg(functions, role),
            QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO %1").arg(role),
            QStringLiteral("GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA public TO %1").arg(role),
            QStringLiteral("GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA %1 TO %2").arg(functions, role),
            QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO %1").arg(role),
            QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT USAGE, SELECT ON SEQUENCES TO %1").arg(role),
            QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA %1 GRANT EXECUTE ON FUNCTIONS TO %2").arg(functions, role),
            protectHistoryStatement()};
}

QString handOverStatement(const QString &owner)
{
    const QString role = commentOrTextLiteral(owner);
    return QStringLiteral(
               "DO $h$ DECLARE r record; BEGIN "
               "FOR r IN SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
               "WHERE n.nspname = 'public' AND c.relkind IN ('r', 'p') LOOP "
               "EXECUTE format('ALTER TABLE public.%I OWNER TO %I', r.relname, %1); END LOOP; "
               "FOR r IN SELECT p.oid::regprocedure AS f FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
               "WHERE n.nspname = '%2' LOOP "
               "EXECUTE format('ALTER FUNCTION %s OWNER TO %I', r.f, %1); END LOOP; "
               "EXECUTE format('ALTER SCHEMA %I OWNER TO %I', '%2', %1); END $h$")
        .arg(role, QLatin1String(kFunctionSchema));
}

bool isEmptyDatabase(PgSession &session)
{
    const PgResult r = session.exec(QStringLiteral(
        "SELECT (SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = 'public') "
        "+ (SELECT count(*) FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace WHERE n.nspname = 'public')"));
    return r.value(0, 0).asInt() == 0;
}

bool isArchive(PgSession &session)
{
    return session.exec(QStringLiteral("SELECT to_regclass('public.engine_archive') IS NOT NULL")).value(0, 0).asBool();
}

// Tables come in the order of their catalogue numbers, which the server hands out rising:
// the order of creation.
std::vector<TableInfo> readTables(PgSession &session)
{
    const PgResult r = session.exec(QStringLiteral(
        "SELECT c.relname, a.attname, col_description(c.oid, a.attnum), a.attnotnull, "
        "pg_get_expr(d.adbin, d.adrelid), a.attidentity <> '', format_type(a.atttypid, a.atttypmod) "
        "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped "
        "LEFT JOIN pg_attrdef d ON d.adrelid = c.oid AND d.adnum = a.attnum "
        "WHERE n.nspname = 'public' AND c.relkind IN ('r', 'p') AND c.relname <> 'engine_archive' "
        "ORDER BY c.oid, a.attnum"));
    std::vector<TableInfo> tables;
    for (int row = 0; row < r.rowCount(); ++row) {
        const QString table = r.value(row, 0).asText();
        if (tables.empty() || tables.back().name != table) {
            tables.emplace_back();
            tables.back().name = table;
        }
        TableInfo &info = tables.back();
        const QString name = r.value(row, 1).asText();
        const QString comment = r.value(row, 2).asText();
        const bool identity = r.value(row, 5).asBool();
        if (name == QLatin1String(kHiddenRowId) && identity && comment.isEmpty()) {
            info.rowid = quoteIdentifier(name);
            continue;
        }
        ColumnInfo column;
        if (comment == QLatin1String("COUNTER") || (comment.isEmpty() && identity)) {
            column = columnFromStorage(name, QStringLiteral("INTEGER"), false, {}, true);
            if (info.rowid.isEmpty())
                info.rowid = quoteIdentifier(name);
        } else {
            const QString word = comment.isEmpty() ? wordForServerType(r.value(row, 6).asText()) : comment;
            const bool text = word.startsWith(QLatin1String("TEXT")) || word == QLatin1String("LONGTEXT");
            column = columnFromStorage(name, word, r.value(row, 3).asBool(),
                                       defaultFromServer(r.value(row, 4).asText(), text), false);
        }
        info.columns.push_back(column);
        info.dialectColumns.push_back({column.name, column.type});
    }
    return tables;
}

qint64 keyCounter(PgSession &session, const QString &table)
{
    const QString sequence = sequenceOf(session, table);
    return session.exec(QStringLiteral("SELECT coalesce(pg_sequence_last_value(?::regclass), 0)"), {sequence})
        .value(0, 0).asInt();
}

void setKeyCounter(PgSession &session, const QString &table, qint64 value)
{
    const QString sequence = sequenceOf(session, table);
    // A sequence never stands at 0: "nothing handed out yet" is 1 not yet called.
    session.exec(QStringLiteral("SELECT setval(?::regclass, ?::bigint, ?::bigint > 0)"),
                 {sequence, Value(std::max<qint64>(value, 1)), Value(value)});
}

} // namespace dao::pg
