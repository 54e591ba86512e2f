// The list by head of household over an archive of 100 000 cards with a search text applied
// by the card table (its criteria evaluated by the engine, as the list page hands them): from the moment "Stampa" is pressed (the sort saved,
// the list's order set, the layout loaded, print-filter mode on) to the last page built, when
// the program shows the preview.
// Against it, the same layout built over an in-memory dataset that already holds the
// accepted cards in the list's order: what the archive, the sort and the filter cost. Times
// are the thread's processor time (the archive's file is in the page cache after the first
// run).

#include "BenchSupport.h"

#include "db/TField.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "session/ArchiveConnection.h"
#include "session/PrintedListRun.h"
#include "session/ProcessValues.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"
#include "tests/db/MemoryDataSet.h"

#include <QGuiApplication>
#include <algorithm>
#include <ctime>
#include <vector>

namespace {

const QString kWindow = QStringLiteral("frm_main");
const QString kSearch = QStringLiteral("ROMA");
const PrintedListEntry kList{QStringLiteral("Elenco per capofamiglia"), QStringLiteral("elenco_capofamiglia.qnf"),
                             QStringLiteral("Capofamiglia")};
const QString kLayoutFolder = QStringLiteral(TAVORIO_SOURCE_DIR "/data/stampe/");

// The accepted cards, in the order the table holds them now, as value texts.
std::unique_ptr<MemoryDataSet> copyAccepted(TDataSet &cards)
{
    std::vector<MemoryDataSet::Column> columns;
    for (const TField *field : cards.fields())
        columns.push_back({field->fieldName(), field->dataType(), field->size()});
    auto memory = std::make_unique<MemoryDataSet>(columns);
    for (cards.first(); !cards.eof(); cards.next()) {
        QStringList values;
        for (const TField *field : cards.fields())
            values << field->valueText();
        memory->addRow(values);
    }
    memory->setObjectName(QStringLiteral("Anagrafica"));
    return memory;
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

// As bench::medianMs, in this thread's processor time: the machine the figures come from is
// shared, and the wall clock there measures the other programs as much as this one.
double medianCpuMs(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const double start = threadCpuMs();
        work();
        times.push_back(threadCpuMs() - start);
    }
    return bench::median(std::move(times));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    constexpr int kRuns = 3;
    const QString archive = bench::cachedArchive(100000);

    TArcDatabase database;
    TMainData data(database);
    configureArchiveConnection(database);
    database.setDatabase(archive);
    database.setConnected(true);
    TArcTable &cards = data.Anagrafica();
    const CardCriteria criteria{QString(), QString(), kSearch};
    const CardCriteria *printing = nullptr;
    cards.OnFilterRecord = [&printing](TDataSet &dataSet, bool &accept) {
        if (ProcessValues::printFilterMode() && printing)
            accept = printing->accepts(dataSet);
    };
    // As the list page does: the same criteria as data, which the engine evaluates itself.
    cards.FilterCriteria = [&printing] {
        return ProcessValues::printFilterMode() && printing ? printing->filterCriteria() : TFilterCriteria();
    };
    cards.open();
    registerReportDataSets(kWindow, data);
    QObject window;
    window.setObjectName(kWindow);
    TqnReport report(&window);
    configureReport(report);

    int pages = 0;
    PrintedListRun run(cards, report, [&printing](const CardCriteria *c) { printing = c; });
    // The clock stops with the last page built: the program shows the preview there, and
    // gives the list page its cards back only when the preview closes.
    std::vector<double> archiveTimes;
    for (int i = 0; i < kRuns; ++i) {
        cards.SortedByList() = QStringList();
        cards.ReopenRecordset();
        const double start = threadCpuMs();
        run.run(kList, kLayoutFolder, criteria, [&](TqnReport &r) {
            r.BuildPages();
            archiveTimes.push_back(threadCpuMs() - start);
            pages = int(r.preparedPages().size());
        });
    }
    const double archiveMs = bench::median(std::move(archiveTimes));
    if (!report.preparationError().isEmpty())
        qFatal("building failed: %s", qPrintable(report.preparationError()));

    // The same cards, already chosen and sorted, in memory under the same component name.
    printing = &criteria;
    ProcessValues::setPrintFilterMode(true);
    cards.first();
    std::unique_ptr<MemoryDataSet> memory = copyAccepted(cards);
    ProcessValues::setPrintFilterMode(false);
    const int accepted = int(memory->rows().size());
    ComponentDirectory::instance().removeWindow(kWindow);
    ComponentDirectory::instance().add(kWindow, memory.get());
    memory->open();
    int memoryPages = 0;
    const double memoryMs = medianCpuMs(kRuns, [] {}, [&] {
        report.OpenLayout(kLayoutFolder + kList.tracciato);
        report.BuildPages();
        memoryPages = int(report.preparedPages().size());
    });
    if (memoryPages != pages)
        qFatal("the two runs built %d and %d pages", pages, memoryPages);

    bench::report("print_list_100k_s", archiveMs / 1000.0, "s");
    bench::report("print_list_vs_memory_ratio", archiveMs / memoryMs, "x");
    bench::report("print_list_memory_ms", memoryMs, "ms");
    bench::report("print_list_cards", accepted, "cards");
    bench::report("print_list_pages", pages, "pages");
    return 0;
}
