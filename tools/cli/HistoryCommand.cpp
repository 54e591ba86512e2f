#include "tools/cli/HistoryCommand.h"

#include "archive/CliError.h"
#include "archive/LocationFailures.h"
#include "engine/ArchiveLocation.h"
#include "engine/ChangeHistory.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "output/sheet/SheetTable.h"
#include "tools/cli/OutputClaim.h"

#include <QTextStream>
#include <cmath>

namespace cli {

namespace {

const QStringList kTitles{QStringLiteral("Quando"), QStringLiteral("Utente"), QStringLiteral("Azione"),
                          QStringLiteral("Tabella"), QStringLiteral("Record"), QStringLiteral("Scheda"),
                          QStringLiteral("Campo"), QStringLiteral("Prima"), QStringLiteral("Dopo")};

// The history's own Jet text: newest first, the card's rows (its members' included) from a day on.
QString selection(const HistoryRequest &request)
{
    QStringList conditions;
    if (request.card > 0)
        conditions << QStringLiteral("[ID_scheda] = %1").arg(request.card);
    if (request.since.isValid())
        conditions << QStringLiteral("[Quando] >= #%1#").arg(request.since.toString(QStringLiteral("M/d/yyyy")));
    return QStringLiteral("Select * From [%1]%2 Order By [ID] DESC;")
        .arg(QLatin1String(dao::kHistoryTable),
             conditions.isEmpty() ? QString() : QStringLiteral(" Where ") + conditions.join(QStringLiteral(" And ")));
}

std::vector<QStringList> readHistory(const HistoryRequest &request)
{
    dao::DBEngine engine;
    auto workspace = engine.CreateWorkspace(QStringLiteral("DaoWorkspace"), QStringLiteral("Admin"), QString(),
                                            dao::dbUseJet);
    auto db = workspace->OpenDatabase(dao::ArchiveLocation(request.archive).normalized(), false, true,
                                      QStringLiteral(";UID=Admin;PWD=%1;").arg(request.password));
    if (!db->connection()->table(QLatin1String(dao::kHistoryTable)))
        throw CliError(ExitCode::NotAnArchive, QStringLiteral("L'archivio \"%1\" non ha ancora una storia delle modifiche: "
                                                              "la inizia il programma alla prossima apertura.")
                                                   .arg(request.archive));
    std::vector<QStringList> rows;
    auto rs = db->OpenRecordset(selection(request));
    for (; !rs->IsEOF(); rs->MoveNext()) {
        const auto text = [&](const char *field) { return rs->field(QLatin1String(field)).value().asText(); };
        const dao::Value when = rs->field(QStringLiteral("Quando")).value();
        const QDateTime moment = QDateTime(dao::calendarDateOf(qint64(std::floor(when.asDouble()))), QTime(0, 0))
                                     .addSecs(qint64(std::round((when.asDouble() - std::floor(when.asDouble())) * 86400)));
        rows.push_back({moment.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), text("Utente"), text("Azione"),
                        text("Tabella"), text("ID_record"), text("ID_scheda"), text("Campo"), text("Prima"), text("Dopo")});
    }
    rs->Close();
    db->Close();
    return rows;
}

void print(const std::vector<QStringList> &rows, QTextStream &out)
{
    for (const QStringList &r : rows) {
        out << r[0] << "  " << r[1] << "  " << r[2] << "  " << r[3] << ' ' << r[4];
        if (r[5] != QLatin1String("0"))
            out << QStringLiteral(" (scheda %1)").arg(r[5]);
        out << "  " << r[6] << QStringLiteral(": \"%1\" -> \"%2\"").arg(r[7], r[8]) << '\n';
    }
    if (rows.empty())
        out << QStringLiteral("Nessuna modifica registrata.\n");
    out.flush();
}

QByteArray csv(const std::vector<QStringList> &rows)
{
    SheetTable table;
    table.titles = kTitles;
    for (const QStringList &r : rows) {
        std::vector<SheetCell> cells;
        for (const QString &text : r)
            cells.push_back(SheetCell::textCell(text));
        table.rows.push_back(std::move(cells));
    }
    return csvBytes(table);
}

} // namespace

HistoryRequest parseHistory(const QStringList &args)
{
    const auto usage = [](const QString &reason) { return CliError(ExitCode::Usage, reason); };
    HistoryRequest r;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const auto value = [&](const QString &what) {
            if (++i == args.size())
                throw missingValue(arg, what);
            return args[i];
        };
        if (arg == QLatin1String("--password-stdin")) {
            r.passwordStdin = true;
        } else if (arg == QLatin1String("--sovrascrivi")) {
            r.overwrite = true;
        } else if (arg == QLatin1String("--scheda")) {
            bool ok = false;
            const QString v = value(QStringLiteral("il numero della scheda"));
            r.card = v.toLongLong(&ok);
            if (!ok || r.card <= 0)
                throw badCardNumber(v);
        } else if (arg == QLatin1String("--dal")) {
            const QString v = value(QStringLiteral("la data GG/MM/AAAA"));
            r.since = QDate::fromString(v, QStringLiteral("dd/MM/yyyy"));
            if (!r.since.isValid())
                throw badDate(v);
        } else if (arg == QLatin1String("--csv")) {
            r.csv = value(QStringLiteral("il nome del file CSV"));
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            throw cli::unknownOption(arg);
        } else if (r.archive.isEmpty()) {
            r.archive = arg;
        } else {
            throw usage(QStringLiteral("un solo ARCHIVIO, per favore (\"%1\" è di troppo).").arg(arg));
        }
    }
    if (r.archive.isEmpty())
        throw usage(QStringLiteral("manca l'ARCHIVIO."));
    return r;
}

int runHistory(const HistoryRequest &request, QTextStream &out, QTextStream &err)
{
    try {
        if (!request.csv.isEmpty())
            claimOutputs(request.archive, request.overwrite, {request.csv});
        const std::vector<QStringList> rows = readHistory(request);
        if (request.csv.isEmpty()) {
            print(rows, out);
        } else {
            try {
                writeSheetFile(request.csv, csv(rows));
            } catch (const std::exception &e) {
                throw CliError(ExitCode::Refused, QString::fromUtf8(e.what()));
            }
            out << QStringLiteral("Storia scritta in %1 (%2 righe).").arg(request.csv).arg(rows.size()) << Qt::endl;
        }
        return int(ExitCode::Ok);
    } catch (const CliError &e) {
        err << QStringLiteral("tavorio-cli: ") << e.message() << Qt::endl;
        return int(e.code());
    } catch (const dao::EngineError &e) {
        const CliError failure = openedArchiveFailure(request.archive, e, wrongPasswordText(),
                                                      CliError(ExitCode::NotAnArchive, notAnArchiveText(request.archive, e.description())));
        err << QStringLiteral("tavorio-cli: ") << failure.message() << Qt::endl;
        return int(failure.code());
    }
}

} // namespace cli
