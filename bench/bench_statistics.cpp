// The office's figures and a list as a spreadsheet over an archive of 100 000 cards, through
// the same session the command line uses: the statistics counted over every card with its
// members (statistics_100k_ms, and the processor time it took, statistics_100k_cpu_ms), and "Elenco per capofamiglia" exported, from the list's sort
// to the CSV and ODS bytes, in rows a second (export_100k_rows_per_s).

#include "BenchSupport.h"

#include "output/sheet/DataBandExport.h"
#include "stats/ArchiveStatistics.h"
#include "tools/print/ListSession.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString archive = bench::cachedArchive(100000);
    bench::supplyLayouts(QFileInfo(archive).absolutePath());
    QString errors;
    QTextStream err(&errors);
    cli::ListSession session(err, [] { return QDateTime(QDate(2026, 3, 1), QTime(9, 0)); });
    session.open(archive, QString());

    int households = 0;
    std::vector<double> cpuMs;
    const double statisticsMs = bench::medianMs(3, [] {}, [&] {
        const double cpuBefore = bench::processorMs();
        const ArchiveStatistics figures =
            ArchiveStatistics::compute(session.data().Anagrafica(), session.database(), QDate(2026, 3, 1));
        households = figures.value(ArchiveStatistics::kTotals, QStringLiteral("Nuclei familiari"));
        cpuMs.push_back(bench::processorMs() - cpuBefore);
    });
    if (households != 100000)
        qFatal("the statistics counted %d households", households);

    size_t rows = 0;
    qsizetype bytes = 0;
    const double exportMs = bench::medianMs(1, [] {}, [&] {
        session.runList(QStringLiteral("Elenco per capofamiglia"), CardCriteria(), [&](TqnReport &report) {
            const DataBandExport reading(report);
            report.BuildPages();
            rows = reading.table().rows.size();
            bytes = csvBytes(reading.table()).size() + odsBytes(reading.table(), QStringLiteral("Elenco")).size();
        });
    });
    if (rows != 100000 || bytes == 0)
        qFatal("the export wrote %zu rows: %s", rows, qPrintable(errors + session.report().preparationError()));

    bench::report("statistics_100k_ms", statisticsMs, "ms");
    bench::report("statistics_100k_cpu_ms", bench::median(cpuMs), "ms");
    bench::report("export_100k_rows_per_s", double(rows) / (exportMs / 1000.0), "rows/s");
    return 0;
}
