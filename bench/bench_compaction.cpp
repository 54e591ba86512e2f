// Compacting the archive against copying its bytes, on an archive of 100 000 cards: the
// start-up backup is a copy, maintenance is a compaction, and the user waits for both.
// Both sides end with the data on disk and renamed into place, as the program does it.

#include "BenchSupport.h"

#include "engine/DBEngine.h"
#include "platform/FileOps.h"

#include <QFile>
#include <QTemporaryDir>

int main()
{
    constexpr int kHouseholds = 100000;
    constexpr int kRuns = 3;
    const QString archive = bench::cachedArchive(kHouseholds);

    // Beside the archive's folder would be fairer for rename, but a scratch folder on the
    // same file system does the same work and is always cleaned up.
    QTemporaryDir scratch(QStringLiteral(TAVORIO_BENCH_DATA_DIR "/run-XXXXXX"));
    const QString copy = scratch.filePath(QStringLiteral("copia.mdb"));
    const QString compacted = scratch.filePath(QStringLiteral("compattato.tmp"));
    const QString replaced = scratch.filePath(QStringLiteral("compattato.mdb"));
    const auto clean = [&] {
        QFile::remove(copy);
        QFile::remove(compacted);
        QFile::remove(replaced);
    };

    const double copyMs = bench::medianMs(kRuns, clean, [&] {
        if (!platform::copyFile(archive, copy))
            qFatal("copy failed");
    });

    dao::DBEngine engine;
    const double compactMs = bench::medianMs(kRuns, clean, [&] {
        engine.CompactDatabase(archive, compacted, QString(), 0, QString());
        if (!platform::syncFile(compacted) || !platform::atomicReplace(compacted, replaced))
            qFatal("compaction result could not be put in place");
        platform::syncFolder(platform::folderOf(replaced));
    });
    clean();

    bench::report("compaction_vs_copy_ratio", compactMs / copyMs, "x");
    bench::report("compaction_ms", compactMs, "ms");
    bench::report("copy_ms", copyMs, "ms");
    return 0;
}
