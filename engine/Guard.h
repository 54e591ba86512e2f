#pragma once
// Runs an engine call so that its failure lands in the Errors collection before it
// reaches the caller, and storage failures arrive as engine errors.

#include "engine/sqlite/SqliteConnection.h"
#include "engine/Errors.h"

namespace dao {

template <typename F>
auto guarded(Errors &errors, const QString &source, F &&call) -> decltype(call())
{
    try {
        return call();
    } catch (const EngineError &error) {
        errors.record(error);
        throw;
    } catch (const sqlite::StorageFailure &failure) {
        throw EngineError(errors.record(sqlite::SqliteConnection::translate(failure, source)));
    }
}

} // namespace dao
