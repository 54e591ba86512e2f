// Compacting the archive against copying its bytes, on an archive of 100 000 cards: the
// start-up backup is a copy, maintenance is a compaction, and the user waits for both.
// Both sides end with the data on disk and renamed into place, as the program does it.
// Each side's processor time is reported too (median of its runs): on a machine shared
// with other work the wall clock also counts the waits for a processor. The archive
// without a password gives the main figures; the same archive under a password, whose
// every page is decrypted and encrypted again, gives the "_encrypted" ones.

#include "BenchSupport.h"

#include "engine/DBEngine.h"
#include "engine/sqlite/SqliteConnection.h"
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
    double median() const { return bench::median(m_ms); }

private:
    std::vector<double> m_ms;
};

// The cached archive under a password, made once beside it by the engine's own copy.
QString encryptedArchive(const QString &plain, const QString &password)
{
    const QString path = QString(plain).replace(QStringLiteral(".mdb"), QStringLiteral("-cifrato.mdb"));
    if (QFile::exists(path))
        return path;
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    auto source = dao::sqlite::SqliteConnection::open({plain, QString(), true, false, false});
    source->exportTo(partial, password);
    source->close();
    if (!QFile::rename(partial, path))
        qFatal("cannot rename %s", qPrintable(partial));
    return path;
}

struct Figures {
    double copyMs, compactMs, copyCpuMs, compactCpuMs;
};

Figures measure(const QString &archive, const QString &password, const QTemporaryDir &scratch)
{
    constexpr int kRuns = 3;
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
    const QString passwordText = password.isEmpty() ? QString() : QStringLiteral(";pwd=") + password;
    const double compactMs = bench::medianMs(kRuns, clean, [&] {
        compactCpu.measure([&] {
            engine.CompactDatabase(archive, compacted, QString(), 0, passwordText);
            if (!platform::syncFile(compacted) || !platform::atomicReplace(compacted, replaced))
                qFatal("compaction result could not be put in place");
            platform::syncFolder(platform::folderOf(replaced));
        });
    });
    clean();
    return {copyMs, compactMs, copyCpu.median(), compactCpu.median()};
}

// kind: "" for the archive without a password, "_encrypted" for the one under a password.
void report(const Figures &f, const char *kind)
{
    const auto name = [&](const char *what, const char *rest) { return QByteArray(what) + kind + rest; };
    bench::report(name("compaction", "_vs_copy_ratio").constData(), f.compactMs / f.copyMs, "x");
    bench::report(name("compaction", "_ms").constData(), f.compactMs, "ms");
    bench::report(name("copy", "_ms").constData(), f.copyMs, "ms");
    bench::report(name("compaction", "_cpu_ms").constData(), f.compactCpuMs, "ms");
    bench::report(name("copy", "_cpu_ms").constData(), f.copyCpuMs, "ms");
}

} // namespace

int main()
{
    constexpr int kHouseholds = 100000;
    const QString archive = bench::cachedArchive(kHouseholds);
    const QString password = QStringLiteral("segreta");
    const QString encrypted = encryptedArchive(archive, password);

    // Beside the archive's folder would be fairer for rename, but a scratch folder on the
    // same file system does the same work and is always cleaned up.
    QTemporaryDir scratch(QStringLiteral(TAVORIO_BENCH_DATA_DIR "/run-XXXXXX"));
    report(measure(archive, QString(), scratch), "");
    report(measure(encrypted, password, scratch), "_encrypted");
    return 0;
}
