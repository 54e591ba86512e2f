// Importing an office's Access archive of 5 000 cards with their members into a new archive
// file: reading the Access file, writing every row, and rereading both to compare every
// value, as tavorio-cli importa does it.

#include "BenchSupport.h"

#include "AccessTestFiles.h"
#include "archive/AccessImport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

int main()
{
    constexpr int kCards = 5000;
    constexpr int kRuns = 3;
    QDir().mkpath(QStringLiteral(TAVORIO_BENCH_DATA_DIR));
    QTemporaryDir scratch(QStringLiteral(TAVORIO_BENCH_DATA_DIR "/run-XXXXXX"));
    const QString access = scratch.filePath(QStringLiteral("tavorio.mdb"));
    const QString archive = scratch.filePath(QStringLiteral("importato.mdb"));
    if (!testsupport::writeAccessFile(access, testsupport::largeArchive(kCards)))
        qFatal("the Access file could not be written");

    const double ms = bench::medianMs(kRuns, [&] { QFile::remove(archive); }, [&] {
        cli::AccessImport(access, QString(), {archive, QString()}, cli::ImportOptions{}).run();
    });
    bench::report("import_5k_cards_s", ms / 1000.0, "s");
    return 0;
}
