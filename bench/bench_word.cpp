// Word documents: filling the family sheet with one card (a new document from the template,
// one replace-all per field, saved), against unpacking and repacking the same template with
// libzip in the same run, the least any fill of a zipped document must do; and documento
// --tutte over 1 000 cards.

#include "BenchSupport.h"

#include "output/word/Application.h"
#include "output/word/CardPlaceholders.h"
#include "store/TArcDatabase.h"
#include "store/TArcTable.h"
#include "tools/cli/DocumentCommand.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <zip.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace {

const QString kSheet = QStringLiteral(TAVORIO_SOURCE_DIR "/data/word/Scheda famiglia.odt");

// The first card of the benchmark archive, as the button would take it.
std::vector<word::Placeholder> firstCard(const QString &archive)
{
    TArcDatabase database;
    database.setDatabase(archive);
    database.setReadOnly(true);
    database.Open();
    TArcTable cards;
    cards.setDatabase(&database);
    cards.setTableName(QStringLiteral("Anagrafica"));
    cards.open();
    std::vector<word::Placeholder> placeholders = word::cardPlaceholders(cards, cards.BoundFieldNames());
    cards.close();
    return placeholders;
}

// Every entry read and inflated, then written again deflated to a new file.
void rezip(const QString &from, const QString &to)
{
    int error = 0;
    zip_t *source = zip_open(QFile::encodeName(from).constData(), ZIP_RDONLY, &error);
    zip_t *target = zip_open(QFile::encodeName(to).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!source || !target)
        qFatal("zip_open failed");
    std::vector<QByteArray> contents;
    const zip_int64_t count = zip_get_num_entries(source, 0);
    contents.reserve(size_t(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(source, zip_uint64_t(i), 0, &stat);
        QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
        zip_file_t *file = zip_fopen_index(source, zip_uint64_t(i), 0);
        zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        contents.push_back(data);
        zip_source_t *buffer = zip_source_buffer(target, contents.back().constData(), stat.size, 0);
        zip_file_add(target, stat.name, buffer, ZIP_FL_ENC_UTF_8);
    }
    zip_close(target);
    zip_discard(source);
}

// The median of `runs` timings in the CPU time of this thread: the machine the figures
// come from is shared, and the ratio must not follow the load of the moment.
double medianCpuMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        timespec start {}, end {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        work();
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        times.push_back((end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    constexpr int kRuns = 31;
    QTemporaryDir work;
    const QString saved = work.filePath(QStringLiteral("scheda.odt"));
    const QString archive = bench::cachedArchive(1000);
    const std::vector<word::Placeholder> placeholders = firstCard(archive);

    const double fillMs = medianCpuMs(kRuns, [&] {
        word::Application application;
        word::Document &document = application.Documents().Add(kSheet);
        word::replacePlaceholders(application, placeholders);
        document.SaveAs(saved);
    });
    const double rezipMs = medianCpuMs(kRuns, [&] { rezip(kSheet, work.filePath(QStringLiteral("copia.odt"))); });

    cli::DocumentRequest request;
    request.archive = archive;
    request.templatePath = kSheet;
    request.outputFolder = work.filePath(QStringLiteral("documenti"));
    QString output;
    QTextStream out(&output);
    QTextStream err(&output);
    QElapsedTimer timer;
    timer.start();
    if (cli::runDocument(request, out, err) != 0)
        qFatal("documento failed: %s", qPrintable(output));
    const double batchSeconds = timer.nsecsElapsed() / 1e9;
    const int documents = int(QDir(request.outputFolder).entryList(QDir::Files).size());

    bench::report("word_fill_ms", fillMs, "ms");
    bench::report("word_rezip_ms", rezipMs, "ms");
    bench::report("word_fill_vs_rezip_ratio", fillMs / rezipMs, "x");
    bench::report("word_batch_docs", documents, "documents");
    bench::report("word_batch_docs_per_s", documents / batchSeconds, "docs/s");
    return 0;
}
