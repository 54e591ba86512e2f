// Compacting the archive against copying its bytes, on an archive of 100 000 cards: the
// start-up backup is a copy, maintenance is a compaction, and the user waits for both.
// Both sides end with the data on disk and renamed into place, as the program does it.
// Each side's processor time is reported too (median of its runs): on a machine shared
// with other work the wall clock also counts the waits for a processor.

#include "BenchSupport.h"

#include "engine/DBEngine.h"
#include "platform/FileOps.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace {

// The median processor time of the runs of `work`.
class ProcessorTimes {
public:
    void measure(const std::function<void()> &work)
    {
        const double before = bench::processorMs();
        work();
        m_ms.push_back(bench::processorMs() - before);
    }
    double median()
    {
        std::sort(m_ms.begin(), m_ms.end());
        return m_ms.empty() ? 0.0 : m_ms[m_ms.size() / 2];
    }

private:
    std::vector<double> m_ms;
};

} // namespace

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

    ProcessorTimes copyCpu, compactCpu;
    const double copyMs = bench::medianMs(kRuns, clean, [&] {
        copyCpu.measure([&] {
            if (!platform::copyFile(archive, copy))
                qFatal("copy failed");
        });
    });

    dao::DBEngine engine;
    const double compactMs = bench::medianMs(kRuns, clean, [&] {
        compactCpu.measure([&] {
            engine.CompactDatabase(archive, compacted, QString(), 0, QString());
            if (!platform::syncFile(compacted) || !platform::atomicReplace(compacted, replaced))
                qFatal("compaction result could not be put in place");
            platform::syncFolder(platform::folderOf(replaced));
        });
    });
    clean();

    bench::report("compaction_vs_copy_ratio", compactMs / copyMs, "x");
    bench::report("compaction_ms", compactMs, "ms");
    bench::report("copy_ms", copyMs, "ms");
    bench::report("compaction_cpu_ms", compactCpu.median(), "ms");
    bench::report("copy_cpu_ms", copyCpu.median(), "ms");
    return 0;
}
