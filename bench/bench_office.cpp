// An office of 5 000 households as it meets the companion end to end: `tavorio-cli` run as a
// separate program on a generated archive, from its file and from a PostgreSQL server of the
// benchmark's own reached through a latency proxy that holds every packet 1 ms each way
// (2 ms round trips, an ordinary office Wi-Fi). Wall-clock seconds, each command once:
// - print_supplied_5k_file_s: the slowest of the catalogue's supplied lists printed to PDF
//   from the file (each list's own time is printed as a comment line);
// - print_supplied_5k_server_rtt2ms_s and its ratio to the file's;
// - statistics_5k_file_s, statistics_5k_server_rtt2ms_s: `statistiche`;
// - transfer_5k_server_rtt2ms_s: `trasferisci` from the file to an empty server database;
// - list_keystroke_server_rtt2ms_ms: in this process, the card list over the server's copy,
//   a term typed letter by letter, from each keystroke to the repainted list (median); and
//   list_count_server_rtt2ms_ms, from the term typed to its count known, counted between
//   keystrokes, with the longest turn of the event loop meanwhile.
// BENCH_OFFICE_LISTS="name;name" limits the lists printed (for a quick look);
// BENCH_OFFICE_CLI names another companion to measure (an earlier build).

#include "BenchServer.h"
#include "BenchSupport.h"
#include "LatencyProxy.h"

#include "ListTyping.h"


#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr int kHouseholds = 5000;
const QString kCli = qEnvironmentVariable("BENCH_OFFICE_CLI", QStringLiteral(TAVORIO_CLI_PATH));
// The companion runs here, the supplied layouts in its "stampe" folder: beside the file
// archive, and in the folder a server's archive is printed from.
QString g_office;

struct Outcome {
    int exitCode = -1;
    QString errors;
    double seconds = 0;
    double cpuSeconds = 0;   // the companion's own processor time, user and system
};

// The processor time of the children waited for so far: on a machine shared with other
// work the wall clock counts their time too, so each figure also gives its own.
double childrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One run of the companion, the passwords on its standard input.
Outcome runCli(const QStringList &args, const QStringList &passwords = {})
{
    QProcess process;
    QStringList arguments = args;
    if (!passwords.isEmpty())
        arguments << QStringLiteral("--password-stdin");
    process.setWorkingDirectory(g_office);
    const double cpuBefore = childrenCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    process.start(kCli, arguments);
    if (!passwords.isEmpty())
        process.write((passwords.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(30 * 60 * 1000))
        throw std::runtime_error("tavorio-cli did not finish in half an hour");
    Outcome outcome;
    outcome.seconds = double(timer.nsecsElapsed()) / 1e9;
    outcome.cpuSeconds = childrenCpuSeconds() - cpuBefore;
    outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.errors = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

double checkedSeconds(const char *what, const QStringList &args, const QStringList &passwords = {})
{
    const Outcome outcome = runCli(args, passwords);
    if (outcome.exitCode != 0)
        throw std::runtime_error(std::string(what) + " failed: " + outcome.errors.toStdString());
    std::printf("# %s %s: %.2f s wall, %.2f s processor\n", what, qPrintable(args.value(1)), outcome.seconds,
                outcome.cpuSeconds);
    std::fflush(stdout);
    return outcome.seconds;
}

// The catalogue's names, as the companion lists them for a name it does not know.
QStringList listNames(const QString &archive, const QStringList &passwords, const QString &pdf)
{
    const Outcome outcome = runCli({QStringLiteral("stampa"), archive, QStringLiteral("--elenco"),
                                    QStringLiteral("?"), QStringLiteral("--pdf"), pdf, QStringLiteral("--sovrascrivi")},
                                   passwords);
    const QStringList lines = outcome.errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const qsizetype header =
        std::find_if(lines.begin(), lines.end(), [](const QString &l) { return l.endsWith(QLatin1String("Elenchi:")); })
        - lines.begin();
    if (outcome.exitCode != 64 || header >= lines.size())
        throw std::runtime_error("the catalogue's lists were not listed: " + outcome.errors.toStdString());
    QStringList names;
    for (const QString &line : lines.mid(header + 1))
        names << line.trimmed();
    const QString only = qEnvironmentVariable("BENCH_OFFICE_LISTS");
    if (!only.isEmpty()) {
        const QStringList wanted = only.split(QLatin1Char(';'));
        names.erase(std::remove_if(names.begin(), names.end(), [&](const QString &n) { return !wanted.contains(n); }),
                    names.end());
    }
    return names;
}

// The slowest list of the catalogue printed from `archive`, in seconds.
double slowestList(const char *where, const QString &archive, const QStringList &passwords, const QString &folder)
{
    const QString pdf = folder + QStringLiteral("/elenco.pdf");
    double slowest = 0;
    for (const QString &name : listNames(archive, passwords, pdf)) {
        const double s = checkedSeconds("stampa",
                                        {QStringLiteral("stampa"), archive, QStringLiteral("--elenco"), name,
                                         QStringLiteral("--pdf"), pdf, QStringLiteral("--sovrascrivi")},
                                        passwords);
        std::printf("# %s \"%s\" %.2f s\n", where, qPrintable(name), s);
        std::fflush(stdout);
        slowest = std::max(slowest, s);
    }
    return slowest;
}

void printLoad(const char *when)
{
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("# load %s: %s", when, load.readLine().constData());
}

struct ListTimings {
    double keystrokeMs = 0;
    bench::CountTiming count;
};

ListTimings listTimings(const QString &address, const QString &password)
{
    bench::ShownList list(address, password);
    ListTimings timings;
    timings.keystrokeMs = bench::keystrokeMs(list.page, QStringLiteral("VIA"), 5);
    timings.count = bench::countAfterKeystroke(list.page, QStringLiteral("VIA"), 5);
    return timings;
}

void measure(const bench::Server &server)
{
    const QString file = bench::cachedArchive(kHouseholds);
    g_office = QFileInfo(file).absolutePath();
    bench::supplyLayouts(g_office);
    QTemporaryDir folder;
    const QString database = QStringLiteral("ufficio_%1").arg(QApplication::applicationPid());
    bench::adminSql(server, QStringLiteral("postgres"),
                    QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' TEMPLATE template0")
                        .arg(database, server.get("PG_ROLE")));
    bench::LatencyProxy proxy(server.get("PG_PORT").toInt(), std::chrono::milliseconds(1), std::chrono::hours(2));
    const QString address = server.officeAddress(database, proxy.port());
    const QStringList serverPassword{server.get("PG_PASSWORD")};
    printLoad("before");

    const double transfer = checkedSeconds("trasferisci", {QStringLiteral("trasferisci"), file, address},
                                           {QString(), server.get("PG_PASSWORD")});
    bench::report("transfer_5k_server_rtt2ms_s", transfer, "s");
    bench::adminSql(server, database, QStringLiteral("VACUUM ANALYZE"));
    const ListTimings list = listTimings(address, server.get("PG_PASSWORD"));
    bench::report("list_keystroke_server_rtt2ms_ms", list.keystrokeMs, "ms");
    bench::report("list_count_server_rtt2ms_ms", list.count.countMs, "ms");
    bench::report("list_count_server_rtt2ms_longest_turn_ms", list.count.longestTurnMs, "ms");

    const double statisticsFile = checkedSeconds("statistiche", {QStringLiteral("statistiche"), file});
    const double statisticsServer = checkedSeconds("statistiche", {QStringLiteral("statistiche"), address}, serverPassword);
    bench::report("statistics_5k_file_s", statisticsFile, "s");
    bench::report("statistics_5k_server_rtt2ms_s", statisticsServer, "s");

    const double printFile = slowestList("file", file, {}, folder.path());
    bench::report("print_supplied_5k_file_s", printFile, "s");
    const double printServer = slowestList("server", address, serverPassword, folder.path());
    bench::report("print_supplied_5k_server_rtt2ms_s", printServer, "s");
    bench::report("print_supplied_5k_server_rtt2ms_vs_file_ratio", printServer / printFile, "x");
    printLoad("after");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The server is stopped whatever happens, so that no failed run leaves one behind.
    int status = 0;
    try {
        const bench::Server server = bench::startServer();
        try {
            measure(server);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "bench_office: %s\n", e.what());
            status = 1;
        }
        bench::stopServer(server);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_office: %s\n", e.what());
        status = 1;
    }
    return status;
}
