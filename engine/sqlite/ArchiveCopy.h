#pragma once
// Writes a compacted copy of an open archive to a new file and checks it before anyone may
// use it in the archive's place (a compaction, a change of password).

#include "engine/Value.h"

#include <QString>

struct sqlite3;

namespace dao::sqlite {

// Writes a compacted copy of the archive open on handle (its file at archivePath) to
// destination, an empty file: under key (NULL: the archive's own key as already derived;
// empty text: no encryption), with the cipher settings when encrypted, and synced. Then
// checks it: read back page by page against what was written, and opened again on its own
// to show the archive's figures (CopyFigures) and as many pages as its file holds. On any
// failure the copy is deleted; throws StorageFailure for the library's failures and
// EngineError for a copy that does not check out.
void writeCheckedCopy(sqlite3 *handle, const QString &archivePath, const QString &destination, const Value &key,
                      bool encrypted);

} // namespace dao::sqlite
