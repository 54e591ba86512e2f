#include "engine/sqlite/SqlFunctions.h"

#include "engine/EngineError.h"
#include "engine/jet/LikePattern.h"
#include "engine/jet/TextOrder.h"
#include "engine/sqlite/RecordText.h"

#include <QByteArray>
#include <memory>
#include <new>
#include <sqlite3.h>

namespace dao::sqlite {

using jet::LikePattern;

namespace {

int collate(void *, int aSize, const void *a, int bSize, const void *b)
{
    return jet::compareUtf8(static_cast<const char *>(a), aSize, static_cast<const char *>(b), bSize);
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

const char *textOf(sqlite3_value *value, int &size)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    size = sqlite3_value_bytes(value);
    return text;
}

void deletePattern(void *pattern)
{
    delete static_cast<LikePattern *>(pattern);
}

// The pattern is usually a bound parameter, the same for every row, so its compiled form
// is kept on the statement as auxiliary data instead of being rebuilt per row.
void likeFunction(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(context);
        return;
    }
    try {
        std::unique_ptr<LikePattern> compiled;
        const auto *pattern = static_cast<const LikePattern *>(sqlite3_get_auxdata(context, 1));
        if (!pattern) {
            int size = 0;
            const char *text = textOf(argv[1], size);
            compiled = std::make_unique<LikePattern>(QString::fromUtf8(text, size));
            pattern = compiled.get();
        }
        thread_local std::u32string value;
        value.clear();
        int size = 0;
        const char *text = textOf(argv[0], size);
        LikePattern::appendLowered(value, text, size);
        sqlite3_result_int(context, pattern->matches(value) ? 1 : 0);
        // SQLite may destroy the data at once, so nothing may touch it after this call.
        if (compiled)
            sqlite3_set_auxdata(context, 1, compiled.release(), &deletePattern);
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(context);
    }
}

template <bool Upper>
void caseFunction(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(context);
        return;
    }
    try {
        int size = 0;
        const char *text = textOf(argv[0], size);
        const QString value = QString::fromUtf8(text, size);
        const QByteArray result = (Upper ? value.toUpper() : value.toLower()).toUtf8();
        sqlite3_result_text(context, result.constData(), int(result.size()), SQLITE_TRANSIENT);
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(context);
    }
}

void check(sqlite3 *db, int rc, const char *what)
{
    if (rc != SQLITE_OK)
        throw EngineError(errOperationNotSupported, QStringLiteral("DAO.Database"),
                          QStringLiteral("Impossibile registrare %1 sulla connessione: %2.")
                              .arg(QLatin1StringView(what), QString::fromUtf8(sqlite3_errmsg(db))));
}

} // namespace

void registerFunctions(sqlite3 *db)
{
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    check(db, sqlite3_create_collation_v2(db, kCollation, SQLITE_UTF8, nullptr, &collate, nullptr), kCollation);
    check(db, sqlite3_create_function_v2(db, "jet_like", 2, flags, nullptr, &likeFunction, nullptr, nullptr, nullptr),
          "jet_like");
    check(db, sqlite3_create_function_v2(db, "jet_lcase", 1, flags, nullptr, &caseFunction<false>, nullptr, nullptr,
                                         nullptr),
          "jet_lcase");
    check(db, sqlite3_create_function_v2(db, "jet_ucase", 1, flags, nullptr, &caseFunction<true>, nullptr, nullptr,
                                         nullptr),
          "jet_ucase");
    check(db, sqlite3_create_function_v2(db, "jet_text", 2, flags, nullptr, &textFunction, nullptr, nullptr, nullptr),
          "jet_text");
    check(db, sqlite3_create_function_v2(db, "jet_record_contains", -1, flags, nullptr, &recordContainsFunction,
                                         nullptr, nullptr, nullptr),
          "jet_record_contains");
}

} // namespace dao::sqlite
