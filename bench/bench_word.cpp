// Word documents: filling the family sheet with one card (a new document from the template,
// one replace-all per field, saved), against unpacking and repacking the same template with
// libzip in the same run, the least any fill of a zipped document must do; and documento
// --tutte over 1 000 cards.

#include "BenchSupport.h"

#include "output/word/Application.h"
#include "output/word/CardPlaceholders.h"
#include "tools/cli/DocumentCommand.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <zip.h>

namespace {

const QString kSheet = QStringLiteral(TAVORIO_SOURCE_DIR "/data/word/Scheda famiglia.odt");

const QStringList kFields{"ID_SCHEDA", "Protocollo", "Fascia", "Referente", "Capofamiglia", "Indirizzo",
                          "Citta", "Telefono", "Cellulare", "Email", "Paese_di_origine", "Figli_in_patria",
                          "Scad_ISEE", "Nucleo", "Abitazione", "G1", "G2", "G3", "G4", "G5", "G6", "G6_altri",
                          "Inizio", "Necessita_alimentari", "Note", "Ascolto"};

std::vector<word::Placeholder> card()
{
    const QStringList values{"41", "41/24", "B", "Don Franco", "Haddad Karim", "Via dei Mille 7", "Brescia",
                             "030 445566", "333 1234567", "karim@example.org", "Marocco", "2", "31/03/2025",
                             "Haddad Karim - Capofamiglia\rSalma - Madre\rYoussef - Figlio\r", "Affitto",
                             "X", "", "X", "", "", "X", "Emporio solidale", "15/01/2024", "Pacchi senza glutine",
                             "Cerca lavoro come magazziniere\rHa la patente B", "Colloquio del 12/02"};
    std::vector<word::Placeholder> placeholders;
    for (qsizetype i = 0; i < kFields.size(); ++i)
        placeholders.push_back({QLatin1Char('[') + kFields[i] + QLatin1Char(']'), values[i]});
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

} // namespace

int main()
{
    constexpr int kRuns = 15;
    QTemporaryDir work;
    const QString saved = work.filePath(QStringLiteral("scheda.odt"));
    const std::vector<word::Placeholder> placeholders = card();

    const double fillMs = bench::medianMs(kRuns, [] {}, [&] {
        word::Application application;
        word::Document &document = application.Documents().Add(kSheet);
        word::replacePlaceholders(application, placeholders);
        document.SaveAs(saved);
    });
    const double rezipMs = bench::medianMs(kRuns, [] {}, [&] { rezip(kSheet, work.filePath(QStringLiteral("copia.odt"))); });

    cli::DocumentRequest request;
    request.archive = bench::cachedArchive(1000);
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
