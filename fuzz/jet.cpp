// Fuzz target of the engine's Jet texts. The input, as UTF-8, is read in turn as a whole
// select text, a condition, a sort text, a date literal and (split at its first line end)
// a value and a LIKE pattern. A text the dialect refuses is a fine answer; a text it accepts
// must become SQLite that prepares and runs over a small table with the engine's collation
// and functions. A crash, a hang, another exception or an accepted text SQLite cannot
// prepare is a fault.

#include "FuzzSupport.h"
#include "engine/EngineError.h"
#include "engine/jet/JetDialect.h"
#include "engine/sqlite/Bind.h"
#include "engine/sqlite/SqlFunctions.h"
#include "engine/sqlite/SqliteDialect.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace {

const dao::jet::Columns &columns()
{
    static const dao::jet::Columns table = {
        {QStringLiteral("ID"), 4},      {QStringLiteral("Capofamiglia"), 10}, {QStringLiteral("Note"), 12},
        {QStringLiteral("Caritas"), 1}, {QStringLiteral("Scadenza"), 8},      {QStringLiteral("Importo"), 7},
        {QStringLiteral("Via e n°"), 10},
    };
    return table;
}

// One connection for the whole run, as the engine keeps one per archive.
sqlite3 *database()
{
    static sqlite3 *db = [] {
        sqlite3 *handle = nullptr;
        sqlite3_open(":memory:", &handle);
        dao::sqlite::registerFunctions(handle);
        sqlite3_exec(handle,
                     "CREATE TABLE T (ID INTEGER, Capofamiglia TEXT, Note TEXT, Caritas INTEGER, Scadenza REAL,"
                     " Importo REAL, \"Via e n°\" TEXT);"
                     "INSERT INTO T VALUES (1, 'ROSSI MARIO', 'nota', -1, 46000.5, 12.5, 'Via Roma 1');"
                     "INSERT INTO T VALUES (2, 'ÀLVARO NUÑEZ', NULL, 0, NULL, NULL, NULL);"
                     "INSERT INTO T VALUES (3, '', 'ÈÉ àé [*?#]', 0, -1.0, -0.0, 'x');",
                     nullptr, nullptr, nullptr);
        return handle;
    }();
    return db;
}

// Runs "SELECT * FROM T [WHERE condition] [ORDER BY sort]" to its last row.
void run(const dao::jet::SqlFragment &condition, const QString &sort)
{
    QString sql = QStringLiteral("SELECT * FROM T");
    if (!condition.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition.sql;
    if (!sort.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + sort;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(database(), text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "accepted text SQLite refuses: %s\n%.300s\n", sqlite3_errmsg(database()), text.constData());
        std::abort();
    }
    try {
        dao::sqlite::bindParams(statement, condition.params);
        while (sqlite3_step(statement) == SQLITE_ROW) {
        }
    } catch (const dao::EngineError &) {
    }
    sqlite3_finalize(statement);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    fuzz::refusable<dao::EngineError>([&] {
        const dao::jet::SelectText select = dao::jet::parseSelect(text);
        dao::jet::SqlFragment condition;
        if (!select.condition.isEmpty())
            condition = dao::sqlite::dialect().condition(select.condition, columns());
        const QString sort = select.sort.isEmpty() ? QString() : dao::sqlite::dialect().sort(select.sort, columns());
        run(condition, sort);
    });
    fuzz::refusable<dao::EngineError>([&] { run(dao::sqlite::dialect().condition(text, columns()), {}); });
    fuzz::refusable<dao::EngineError>([&] { run({}, dao::sqlite::dialect().sort(text, columns())); });
    fuzz::refusable<dao::EngineError>([&] { dao::jet::parseDateLiteral(text); });
    const qsizetype lineEnd = text.indexOf(u'\n');
    if (lineEnd >= 0)
        dao::jet::likeMatch(QStringView(text).left(lineEnd), QStringView(text).mid(lineEnd + 1));
    else
        dao::jet::likeMatch(text, text);
    return 0;
}
