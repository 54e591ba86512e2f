// The card list's search on an archive of 100 000 cards: counting the cards the search
// accepts (its criteria evaluated by the engine, as the list page hands them) for a rare
// term (about 1% of the cards), against the plain SQLite client scanning the same file for
// the same text (every field upper-cased, joined with blanks, substring test); and fetching
// the first 30 accepted cards for a common term, as the list does after each key typed in
// the search box.

#include "BenchSupport.h"

#include "db/RecordText.h"
#include "store/Schema.h"
#include "store/TArcDatabase.h"
#include "store/TArcTable.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

namespace {

const QString kRareTerm = QStringLiteral("HUAM");     // accepted by about 1% of the cards
const QString kCommonTerm = QStringLiteral("VIA");    // accepted by most cards

// The client's scan: the card's every field, upper-cased, each after one blank.
QString clientScan(const QString &term)
{
    QStringList parts;
    for (const dao::TableSpec &table : schema::archiveTables()) {
        if (table.name != QLatin1String("Anagrafica"))
            continue;
        for (const dao::FieldSpec &field : table.fields)
            parts << QStringLiteral("' ' || coalesce(\"%1\", '')").arg(field.name);
    }
    return QStringLiteral("SELECT count(*) FROM Anagrafica WHERE instr(upper(%1), '%2') > 0;")
        .arg(parts.join(QLatin1String(" || ")), term);
}

} // namespace

int main()
{
    constexpr int kRuns = 5;
    const QString archive = bench::cachedArchive(100000);

    TArcDatabase database;
    database.setDatabase(archive);
    database.Open();
    TArcTable cards;
    cards.setName(QStringLiteral("Anagrafica"));
    cards.setDatabase(&database);
    cards.setTableName(QStringLiteral("Anagrafica"));
    cards.setOpenOptions(TArcOpenOption::dbSeeChanges);
    QString term;
    cards.setOnFilterRecord([&term](TDataSet &dataSet, bool &accept) {
        accept = term.isEmpty() || recordText(dataSet).contains(term);
    });
    // As the list page does: the same criteria as data, which the engine evaluates itself.
    cards.FilterCriteria = [&term] {
        TFilterCriteria criteria;
        criteria.recordTextContains = term;
        return std::make_optional(criteria);
    };
    cards.setFiltered(true);

    int accepted = 0;
    term = kRareTerm;
    const double oursMs = bench::medianMs(kRuns, [&] { cards.close(); }, [&] {
        cards.open();
        accepted = cards.recordCount();
    });

    int clientCount = -1;
    const QString scan = clientScan(kRareTerm);
    const double clientMs = bench::medianMs(kRuns, [] {}, [&] {
        QProcess client;
        client.start(QStringLiteral("sqlite3"), {archive, scan});
        if (!client.waitForFinished(-1) || client.exitCode() != 0)
            qFatal("sqlite3 failed: %s", client.readAllStandardError().constData());
        clientCount = client.readAllStandardOutput().trimmed().toInt();
    });

    term = kCommonTerm;
    const double first30Ms = bench::medianMs(kRuns, [&] { cards.close(); }, [&] {
        cards.open();
        for (int i = 1; i < 30 && !cards.eof(); ++i)
            cards.next();
    });

    bench::report("search_count_vs_sqlite_ratio", oursMs / clientMs, "x");
    bench::report("search_count_ms", oursMs, "ms");
    bench::report("search_count_sqlite_ms", clientMs, "ms");
    bench::report("search_count_cards", accepted, "cards");
    bench::report("search_count_sqlite_cards", clientCount, "cards");
    bench::report("search_first30_ms", first30Ms, "ms");
    return 0;
}
