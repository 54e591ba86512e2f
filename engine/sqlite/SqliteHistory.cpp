#include "engine/sqlite/SqliteHistory.h"

#include "engine/ChangeHistory.h"
#include "engine/sqlite/Sqlite.h"
#include "engine/jet/Names.h"

#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

namespace dao::sqlite {

namespace {

using jet::quoteIdentifier;

// Days since 1899-12-30, as the archive keeps dates, are that many after Julian day 2415018.5.
QString valueText(const ColumnInfo &column, const QString &row)
{
    if (row.isEmpty())
        return QStringLiteral("NULL");
    const QString v = row + u'.' + quoteIdentifier(column.name);
    switch (historyValueKind(column)) {
    case HistoryValueKind::Date:
        return QStringLiteral("strftime('%d/%m/%Y', %1 + 2415018.5)").arg(v);
    case HistoryValueKind::DateTime:
        return QStringLiteral("strftime('%d/%m/%Y %H:%M:%S', %1 + 2415018.5)").arg(v);
    case HistoryValueKind::Boolean:
        return QStringLiteral("CASE WHEN %1 IS NULL THEN NULL WHEN %1 <> 0 THEN 'Sì' ELSE 'No' END").arg(v);
    case HistoryValueKind::Bytes:
        return QStringLiteral("lower(hex(%1))").arg(v);
    case HistoryValueKind::Text:
        break;
    }
    return QStringLiteral("CAST(%1 AS TEXT)").arg(v);
}

QString trigger(const TableInfo &table, const QString &cardField, const char *event, const char *action,
                const QString &before, const QString &after)
{
    const QString row = after.isEmpty() ? before : after;
    QStringList values;
    for (const ColumnInfo *c : recordedColumns(table))
        values << QStringLiteral("SELECT %1 AS campo, %2 AS prima, %3 AS dopo")
                      .arg(sqlTextLiteral(c->name), valueText(*c, before), valueText(*c, after));
    const QString name = quoteIdentifier(QStringLiteral("engine_history_%1_%2").arg(table.name, QLatin1String(event)));
    return QStringLiteral(
               "CREATE TEMP TRIGGER %1 AFTER %2 ON main.%3 BEGIN "
               "INSERT INTO %4 (%5) SELECT julianday('now', 'localtime') - 2415018.5, engine_user(), %6, "
               "%7.%8, %7.%9, '%10', v.campo, v.prima, v.dopo FROM (%11) AS v "
               "WHERE v.prima IS NOT v.dopo; END")
        .arg(name, QLatin1String(event), quoteIdentifier(table.name), quoteIdentifier(QLatin1String(kHistoryTable)),
             historyInsertColumns(), sqlTextLiteral(table.name), row, table.rowid, quoteIdentifier(cardField),
             QLatin1String(action), values.join(QLatin1String(" UNION ALL ")));
}

void userFunction(sqlite3_context *context, int, sqlite3_value **)
{
    static const QByteArray name = deskUserName().toUtf8();
    sqlite3_result_text(context, name.constData(), int(name.size()), SQLITE_STATIC);
}

} // namespace

QStringList sqliteTrackingStatements(const TableInfo &table, const QString &cardField)
{
    QStringList statements;
    for (const char *event : {"INSERT", "UPDATE", "DELETE"})
        statements << QStringLiteral("DROP TRIGGER IF EXISTS temp.%1")
                          .arg(quoteIdentifier(QStringLiteral("engine_history_%1_%2").arg(table.name, QLatin1String(event))));
    const QString oldRow = QStringLiteral("old");
    const QString newRow = QStringLiteral("new");
    statements << trigger(table, cardField, "INSERT", kActionInsert, {}, newRow)
               << trigger(table, cardField, "UPDATE", kActionUpdate, oldRow, newRow)
               << trigger(table, cardField, "DELETE", kActionDelete, oldRow, {});
    return statements;
}

void registerHistoryUser(sqlite3 *db)
{
    sqlite3_create_function_v2(db, "engine_user", 0, SQLITE_UTF8, nullptr, &userFunction, nullptr, nullptr, nullptr);
}

QString deskUserName()
{
    if (const passwd *entry = ::getpwuid(::geteuid()); entry && entry->pw_name && *entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QStringLiteral("sconosciuto") : user;
}

} // namespace dao::sqlite
