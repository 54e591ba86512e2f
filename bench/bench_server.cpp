// The archive on a PostgreSQL server (a server of its own, started with scripts/pg-test-server
// and stopped at the end), 100 000 generated cards:
// - server_search_vs_psql_ratio: count against count. The card list's search for a rare term
//   (about 1% of the cards) opens with its first screen only; its count is the engine's
//   select of the whole selection's keys. The count through the card dataset, as the list
//   page's search gets it (its criteria evaluated by the engine), against that very
//   statement, taken from the server's log and run by psql on the same database (psql's own
//   \timing: the query alone, not psql's start). server_search_first_screen_ms is the open
//   alone: the first keys and the rows of the first screen;
// - server_edit_post_ms: one card edited and posted through the dataset, as the card window
//   does, in milliseconds per edit, the change recorded in the history; and
//   server_edit_post_no_history_ms the same with the history's trigger switched off.

#include "BenchServer.h"
#include "BenchSupport.h"

#include "archive/ArchiveCreator.h"
#include "db/RecordText.h"
#include "db/TField.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"
#include "store/TArcTable.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr int kCards = 100000;
const QString kRareTerm = QStringLiteral("HUAM");   // accepted by about 1% of the cards

using bench::Server;
using bench::adminSql;
using bench::psqlArgs;
using bench::psqlProgram;
using bench::runOrDie;

// The slowest statement of the log on Anagrafica with the search term since `from` that
// selects the whole selection (no LIMIT: not the first keys of the first screen), its
// parameters written in as the literals the server received: the count's own select.
QString searchStatement(const Server &server, qint64 from)
{
    QFile log(server.logPath());
    if (!log.open(QIODevice::ReadOnly) || !log.seek(from))
        throw std::runtime_error("cannot read the server's log");
    const QString text = QString::fromUtf8(log.readAll());
    static const QRegularExpression entry(
        QStringLiteral("duration: ([0-9.]+) ms  (?:execute [^:]*|statement): (.*?)\\n(?:[^\\n]*DETAIL:  parameters: ([^\\n]*)\\n)?(?=\\S|$)"),
        QRegularExpression::DotMatchesEverythingOption);
    double slowest = -1;
    QString statement;
    for (auto it = entry.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        QString sql = m.captured(2);
        if (!sql.contains(QLatin1String("Anagrafica")) || sql.contains(QLatin1String(" LIMIT "))
            || m.captured(1).toDouble() <= slowest)
            continue;
        // "$1 = 'x', $2 = 'y'": written in from the last, so that $1 does not eat $10.
        static const QRegularExpression parameter(QStringLiteral("\\$(\\d+) = ('(?:[^']|'')*'|NULL)"));
        QList<std::pair<int, QString>> values;
        for (auto p = parameter.globalMatch(m.captured(3)); p.hasNext();) {
            const auto pm = p.next();
            values.append({pm.captured(1).toInt(), pm.captured(2)});
        }
        std::sort(values.begin(), values.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
        for (const auto &[n, literal] : values)
            sql.replace(QStringLiteral("$%1").arg(n), literal);
        if (!sql.contains(kRareTerm))
            continue;
        slowest = m.captured(1).toDouble();
        statement = sql.replace(QLatin1Char('\t'), QLatin1Char(' '));
    }
    if (statement.isEmpty())
        throw std::runtime_error("the search's statement is not in the server's log");
    return statement;
}

// psql running the statement, the query's time as psql's \timing reports it.
double psqlMs(const Server &server, const QString &database, const QString &statement, int *rows)
{
    QProcess psql;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGPASSWORD"), server.get("PG_PASSWORD"));
    // The search path every desk's session fixes, where the archive's functions are found.
    environment.insert(QStringLiteral("PGOPTIONS"), QStringLiteral("-c search_path=public,engine_functions"));
    psql.setProcessEnvironment(environment);
    psql.start(psqlProgram(server), psqlArgs(server, database, true)
                                        << QStringLiteral("-A") << QStringLiteral("-t") << QStringLiteral("-c")
                                        << QStringLiteral("\\timing on") << QStringLiteral("-c") << statement);
    if (!psql.waitForFinished(-1) || psql.exitCode() != 0)
        throw std::runtime_error("psql failed: " + psql.readAllStandardError().toStdString());
    const QStringList lines = QString::fromUtf8(psql.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    static const QRegularExpression timing(QStringLiteral("^Time: ([0-9.]+) ms"));
    double ms = -1;
    *rows = 0;
    for (const QString &line : lines) {
        const auto m = timing.match(line);
        if (m.hasMatch())
            ms = m.captured(1).toDouble();
        else
            ++*rows;
    }
    if (ms < 0)
        throw std::runtime_error("psql reported no time");
    return ms;
}

void measure(const Server &server)
{
    constexpr int kRuns = 5;
    constexpr int kEdits = 200;
    const QString database = QStringLiteral("schede_%1").arg(kCards);
    adminSql(server, QStringLiteral("postgres"),
             QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' TEMPLATE template0").arg(database, server.get("PG_ROLE")));
    const QString address = server.officeAddress(database);
    std::fprintf(stderr, "Creazione dell'archivio di prova con %d schede sul server...\n", kCards);
    cli::ArchiveCreator(address, server.get("PG_PASSWORD")).create(cli::ArchiveContents::generated(kCards));
    adminSql(server, database, QStringLiteral("VACUUM ANALYZE"));

    TArcDatabase connection;
    connection.setDatabase(address);
    connection.setDatabasePassword(server.get("PG_PASSWORD"));
    connection.Open();
    // The program's own datasets; the list page hands the search to the card dataset as data.
    TMainData data(connection);
    TArcTable &cards = data.Anagrafica();
    QString term = kRareTerm;
    cards.setOnFilterRecord([&term](TDataSet &dataSet, bool &accept) {
        accept = term.isEmpty() || recordText(dataSet).contains(term);
    });
    cards.FilterCriteria = [&term] {
        TFilterCriteria criteria;
        criteria.recordTextContains = term;
        return std::make_optional(criteria);
    };

    // One search with every statement logged, to take the search's own select from the log.
    adminSql(server, QStringLiteral("postgres"), QStringLiteral("ALTER SYSTEM SET log_min_duration_statement = 0"));
    adminSql(server, QStringLiteral("postgres"), QStringLiteral("SELECT pg_reload_conf()"));
    const qint64 logStart = QFile(server.logPath()).size();
    cards.open();
    cards.recordCount();
    cards.close();
    adminSql(server, QStringLiteral("postgres"), QStringLiteral("ALTER SYSTEM RESET log_min_duration_statement"));
    adminSql(server, QStringLiteral("postgres"), QStringLiteral("SELECT pg_reload_conf()"));
    const QString statement = searchStatement(server, logStart);

    int accepted = 0;
    const double firstScreenMs = bench::medianMs(kRuns, [&] { cards.close(); }, [&] { cards.open(); });
    const double oursMs = bench::medianMs(kRuns, [&] {
        cards.close();
        cards.open();
    }, [&] { accepted = cards.recordCount(); });
    std::vector<double> psqlTimes;
    int psqlRows = 0;
    for (int i = 0; i < kRuns; ++i)
        psqlTimes.push_back(psqlMs(server, database, statement, &psqlRows));
    std::sort(psqlTimes.begin(), psqlTimes.end());
    const double psqlTime = psqlTimes[psqlTimes.size() / 2];

    term.clear();
    cards.close();
    cards.open();
    const auto editsMs = [&](const QString &text) {
        return bench::medianMs(kRuns, [] {}, [&] {
            for (int i = 0; i < kEdits; ++i) {
                cards.edit();
                cards.fieldByName(QStringLiteral("Note"))->setAsString(text.arg(i));
                cards.post();
            }
        }) / kEdits;
    };
    // Each post also writes the changed field to the history, in the same transaction; the
    // same edits with the history's trigger switched off give the cost of recording.
    const double editMs = editsMs(QStringLiteral("Modifica %1"));
    adminSql(server, database, QStringLiteral("ALTER TABLE \"Anagrafica\" DISABLE TRIGGER engine_history"));
    const double unrecordedMs = editsMs(QStringLiteral("Senza storia %1"));
    adminSql(server, database, QStringLiteral("ALTER TABLE \"Anagrafica\" ENABLE TRIGGER engine_history"));
    cards.close();
    connection.Close();

    bench::report("server_search_vs_psql_ratio", oursMs / psqlTime, "x");
    bench::report("server_search_ms", oursMs, "ms");
    bench::report("server_search_first_screen_ms", firstScreenMs, "ms");
    bench::report("server_search_psql_ms", psqlTime, "ms");
    bench::report("server_search_cards", accepted, "cards");
    bench::report("server_search_psql_rows", psqlRows, "rows");
    bench::report("server_edit_post_ms", editMs, "ms");
    bench::report("server_edit_post_no_history_ms", unrecordedMs, "ms");
    bench::report("server_edit_post_history_ratio", editMs / unrecordedMs, "x");
    std::fprintf(stderr, "Istruzione della ricerca: %s\n", qPrintable(statement));
}

} // namespace

int main()
{
    // The server is stopped whatever happens, so that no failed run leaves one behind.
    int status = 0;
    try {
        const Server server = bench::startServer();
        try {
            measure(server);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "bench_server: %s\n", e.what());
            status = 1;
        }
        bench::stopServer(server);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_server: %s\n", e.what());
        status = 1;
    }
    return status;
}
