#include "tools/print/ListCommands.h"

#include "archive/CliError.h"
#include "db/RecordText.h"
#include "output/report/TqnReport.h"
#include "output/sheet/DataBandExport.h"
#include "stats/ArchiveStatistics.h"
#include "tools/cli/OutputClaim.h"
#include "tools/print/ListSession.h"
#include "tools/print/PrintCommand.h"

#include <QTextStream>
#include <optional>

namespace cli {

namespace {

CliError usage(const QString &reason) { return CliError(ExitCode::Usage, reason); }

QDate parseDate(const QString &text)
{
    const QDate date = QDate::fromString(text, QStringLiteral("d/M/yyyy"));
    if (!date.isValid())
        throw badDate(text);
    return date;
}

// The figures with what they were counted on first: the reference date and the criteria, so
// that a sheet read months later still says what it counts.
SheetTable statisticsTable(const ArchiveStatistics &statistics, const CardCriteria &criteria)
{
    SheetTable table;
    table.titles = {QStringLiteral("Sezione"), QStringLiteral("Voce"), QStringLiteral("Valore")};
    const QString chosen = QStringLiteral("Selezione");
    const auto given = [](const QString &value, const char *none) {
        return SheetCell::textCell(value.isEmpty() ? QString::fromUtf8(none) : value);
    };
    SheetCell at;
    at.kind = SheetCell::Kind::Date;
    at.moment = statistics.referenceDate().startOfDay();
    at.text = statistics.referenceDate().toString(QStringLiteral("dd/MM/yyyy"));
    table.rows.push_back({SheetCell::textCell(chosen), SheetCell::textCell(QStringLiteral("Alla data del")), at});
    table.rows.push_back({SheetCell::textCell(chosen), SheetCell::textCell(QStringLiteral("Fascia")), given(criteria.band, "tutte")});
    table.rows.push_back({SheetCell::textCell(chosen), SheetCell::textCell(QStringLiteral("Paese d'origine")),
                          given(criteria.country, "tutti")});
    table.rows.push_back({SheetCell::textCell(chosen), SheetCell::textCell(QStringLiteral("Ricerca")),
                          given(criteria.searchText, "nessuna")});
    for (const StatisticsRow &row : statistics.rows()) {
        table.rows.push_back({SheetCell::textCell(row.section), SheetCell::textCell(row.item),
                              SheetCell::numberCell(row.value, QString::number(row.value))});
    }
    return table;
}

QString criteriaText(const CardCriteria &criteria)
{
    return criteria.acceptsAll() ? QString() : QStringLiteral(" (") + criteria.description() + QLatin1Char(')');
}

void printTable(const ArchiveStatistics &statistics, const CardCriteria &criteria, QTextStream &out)
{
    qsizetype width = 0;
    for (const StatisticsRow &row : statistics.rows())
        width = std::max(width, row.item.size());
    out << QStringLiteral("Statistiche al %1%2\n")
               .arg(statistics.referenceDate().toString(QStringLiteral("dd/MM/yyyy")), criteriaText(criteria));
    QString section;
    for (const StatisticsRow &row : statistics.rows()) {
        if (row.section != section) {
            section = row.section;
            out << '\n' << section << '\n';
        }
        out << QStringLiteral("  ") << row.item.leftJustified(width + 2, QLatin1Char(' '))
            << QString::number(row.value).rightJustified(7) << '\n';
    }
    out.flush();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    try {
        writeSheetFile(path, bytes);
    } catch (const std::exception &e) {
        throw CliError(ExitCode::Refused, QString::fromUtf8(e.what()));
    }
}

int statistics(const ListCommandRequest &request, ListSession &session, QTextStream &out)
{
    const QDate at = request.at.isValid() ? request.at
                                          : (request.clock ? request.clock() : QDateTime::currentDateTime()).date();
    std::optional<ArchiveStatistics> figures;
    session.withCriteria(request.criteria, [&] {
        figures = ArchiveStatistics::compute(session.data().Anagrafica(), session.database(), at);
    });
    printTable(*figures, request.criteria, out);
    if (!request.csv.isEmpty())
        writeFile(request.csv, csvBytes(statisticsTable(*figures, request.criteria)));
    return int(ExitCode::Ok);
}

int exportList(const ListCommandRequest &request, ListSession &session, QTextStream &out, QTextStream &err)
{
    SheetTable table;
    bool banded = true;
    session.runList(request.listName, request.criteria, [&](TqnReport &report) {
        const DataBandExport reading(report);
        banded = reading.hasDataBand();
        if (banded)
            report.BuildPages();
        table = reading.table();
    });
    if (session.damaged())
        return int(ExitCode::NotAnArchive);
    if (!banded) {
        err << QStringLiteral("Il tracciato dell'elenco \"%1\" non ha una banda dati principale da esportare.")
                   .arg(request.listName) << Qt::endl;
        return kPreparationFailed;
    }
    if (!session.report().preparationError().isEmpty()) {
        QString text = session.report().preparationError();
        err << text.replace(QChar(13), QChar(10)) << Qt::endl;
        return kPreparationFailed;
    }
    if (!request.csv.isEmpty())
        writeFile(request.csv, csvBytes(table));
    if (!request.ods.isEmpty())
        writeFile(request.ods, odsBytes(table, request.listName));
    out << QStringLiteral("Esportate %1 righe dell'elenco \"%2\".").arg(table.rows.size()).arg(request.listName)
        << Qt::endl;
    return int(ExitCode::Ok);
}

} // namespace

ListCommandRequest parseListCommand(const QString &command, const QStringList &args)
{
    ListCommandRequest request;
    request.command = command;
    const bool exporting = command == QLatin1String("esporta");
    QStringList files;
    const auto valueOf = [&](qsizetype &i, const QString &what) {
        if (++i == args.size())
            throw cli::missingValue(args[i - 1], what);
        return args[i];
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--password-stdin"))
            request.passwordStdin = true;
        else if (arg == QLatin1String("--sovrascrivi"))
            request.overwrite = true;
        else if (arg == QLatin1String("--csv"))
            request.csv = valueOf(i, QStringLiteral("il nome del file CSV"));
        else if (exporting && arg == QLatin1String("--ods"))
            request.ods = valueOf(i, QStringLiteral("il nome del file ODS"));
        else if (exporting && arg == QLatin1String("--elenco"))
            request.listName = valueOf(i, QStringLiteral("il nome dell'elenco"));
        else if (!exporting && arg == QLatin1String("--al"))
            request.at = parseDate(valueOf(i, QStringLiteral("la data GG/MM/AAAA")));
        else if (arg == QLatin1String("--fascia"))
            request.criteria.band = valueOf(i, QStringLiteral("la fascia"));
        else if (arg == QLatin1String("--paese"))
            request.criteria.country = valueOf(i, QStringLiteral("il paese d'origine"));
        else if (arg == QLatin1String("--cerca"))
            // Folded as the search box folds what is typed.
            request.criteria.searchText = upperAsciiLetters(valueOf(i, QStringLiteral("il testo da cercare")));
        else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1)
            throw cli::unknownOption(arg);
        else
            files << arg;
    }
    if (files.size() != 1)
        throw usage(QStringLiteral("serve solo l'ARCHIVIO."));
    request.archive = files.front();
    if (exporting && request.listName.isEmpty())
        throw usage(QStringLiteral("manca --elenco NOME."));
    if (exporting && request.csv.isEmpty() && request.ods.isEmpty())
        throw usage(QStringLiteral("manca --csv FILE oppure --ods FILE."));
    return request;
}

int runListCommand(const ListCommandRequest &request, QTextStream &out, QTextStream &err)
{
    ListSession session(err, request.clock);
    return ListSession::guarded(err, [&] {
        claimOutputs(request.archive, request.overwrite, {request.csv, request.ods});
        // An export builds the list's pages as a print does, so the members follow each card.
        const bool exporting = request.command == QLatin1String("esporta");
        session.open(request.archive, request.password,
                     exporting ? ListSession::Members::Open : ListSession::Members::Closed);
        return exporting ? exportList(request, session, out, err) : statistics(request, session, out);
    });
}

} // namespace cli
