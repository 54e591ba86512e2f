#pragma once
// Shared by the fuzz targets: a file the run may overwrite, and calls whose refusal with the
// program's own error type is a fine answer to any input.

#include <QString>
#include <QTemporaryDir>

namespace fuzz {

// A path in a folder of this run's own, removed at exit.
inline QString scratchFile(const QString &name)
{
    static QTemporaryDir folder;
    return folder.filePath(name);
}

// Runs call; an Error it throws is an answer, anything else goes on to the fuzzer.
template <typename Error, typename Call>
void refusable(Call &&call)
{
    try {
        call();
    } catch (const Error &) {
    }
}

} // namespace fuzz
