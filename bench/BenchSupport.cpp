#include "BenchSupport.h"

#include "archive/ArchiveCreator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace bench {

void supplyLayouts(const QString &folder)
{
    const QDir supplied(QStringLiteral(TAVORIO_SOURCE_DIR "/data/stampe"));
    const QDir layouts(folder + QStringLiteral("/stampe"));
    QDir().mkpath(layouts.path());
    for (const QString &name : supplied.entryList(QDir::Files)) {
        QFile::remove(layouts.filePath(name));
        QFile::copy(supplied.filePath(name), layouts.filePath(name));
    }
}

double processorMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

QString cachedArchive(int households)
{
    const QString folder = QStringLiteral(TAVORIO_BENCH_DATA_DIR);
    QDir().mkpath(folder);
    // The version in the name changes whenever the generator's output does, so that an
    // old cached archive is never measured as if it were the current one.
    const QString path = QStringLiteral("%1/schede-%2-v1.mdb").arg(folder).arg(households);
    if (QFileInfo::exists(path))
        return path;

    // Made under another name and renamed when complete: an interrupted run leaves nothing
    // that a later run could take for a whole archive.
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    std::fprintf(stderr, "Creazione dell'archivio di prova con %d schede...\n", households);
    cli::ArchiveCreator(partial, {}).create(cli::ArchiveContents::generated(households));
    if (!QFile::rename(partial, path))
        qFatal("cannot rename %s", qPrintable(partial));
    return path;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(std::move(times));
}

void report(const char *name, double value, const char *unit)
{
    std::printf("%s %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace bench
