// tavorio-cli: the companion command of the program. Only the command line is read here;
// the work is done by the commands of the library.

#include "archive/CliError.h"
#include "archive/HouseholdGenerator.h"
#include "archive/LocationFailures.h"
#include "db/RecordText.h"
#include "platform/Secrets.h"
#include "tools/cli/CommandTable.h"
#include "tools/cli/Commands.h"
#include "tools/cli/DocumentCommand.h"
#include "tools/cli/HistoryCommand.h"
#include "tools/cli/PeopleCommand.h"
#include "tools/cli/ServerPrepare.h"
#include "tools/print/ListCommands.h"
#include "tools/print/PrintCommand.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <iostream>
#include <memory>
#include <string>

namespace {

struct CommandLine {
    QString command;
    QString file;
    QString target;        // trasferisci: where the copy goes
    bool demo = false;
    int households = -1;   // --schede N; -1 when absent
    bool passwordStdin = false;
    cli::ImportOptions import;   // importa: --prova, --ignora-extra
};

// Parses the arguments after the program name; throws CliError(Usage) with the reason.
CommandLine parse(const QStringList &args)
{
    const auto usage = [](const QString &reason) {
        return cli::CliError(cli::ExitCode::Usage, reason);
    };
    if (args.isEmpty())
        throw usage(QStringLiteral("manca il comando."));
    CommandLine cl;
    cl.command = args.front();
    if (!cli::findCommand(cl.command))
        throw usage(QStringLiteral("comando sconosciuto \"%1\".").arg(cl.command));
    const bool creating = cl.command == QLatin1String("crea-archivio");
    const bool importing = cl.command == QLatin1String("importa");
    const bool transferring = cl.command == QLatin1String("trasferisci") || importing;

    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--password-stdin")) {
            cl.passwordStdin = true;
        } else if (importing && arg == QLatin1String("--prova")) {
            cl.import.trial = true;
        } else if (importing && arg == QLatin1String("--ignora-extra")) {
            cl.import.ignoreExtra = true;
        } else if (creating && arg == QLatin1String("--demo")) {
            cl.demo = true;
        } else if (creating && arg == QLatin1String("--schede")) {
            if (++i == args.size())
                throw usage(QStringLiteral("--schede richiede il numero di schede."));
            bool ok = false;
            cl.households = args[i].toInt(&ok);
            if (!ok || cl.households < 0 || cl.households > cli::HouseholdGenerator::kMaxHouseholds)
                throw usage(QStringLiteral("numero di schede non valido \"%1\" (da 0 a %2).")
                                .arg(args[i])
                                .arg(cli::HouseholdGenerator::kMaxHouseholds));
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            throw cli::unknownOption(arg);
        } else if (cl.file.isEmpty()) {
            cl.file = arg;
        } else if (transferring && cl.target.isEmpty()) {
            cl.target = arg;
        } else {
            throw usage(QStringLiteral("un solo FILE, per favore (\"%1\" è di troppo).").arg(arg));
        }
    }
    if (transferring && cl.target.isEmpty())
        throw usage(QStringLiteral("servono l'archivio DA copiare e il nuovo archivio A."));
    if (cl.file.isEmpty())
        throw usage(QStringLiteral("manca il nome del FILE dell'archivio."));
    if (cl.demo && cl.households >= 0)
        throw usage(QStringLiteral("--demo e --schede non possono stare insieme."));
    return cl;
}

// The first line of standard input, without its line end.
QString readPassword()
{
    std::string line;
    std::getline(std::cin, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return QString::fromStdString(line);
}

// A wrong command line: the reason, the usage text, the exit status.
int usageFailure(const cli::CliError &e, QTextStream &err)
{
    err << QStringLiteral("tavorio-cli: ") << e.message() << "\n\n" << cli::usageText();
    err.flush();
    return int(e.code());
}

struct PrintLine {
    cli::PrintRequest request;
    bool passwordStdin = false;
};

// stampa ARCHIVIO (TRACCIATO.qnf | --elenco NOME [--fascia F] [--paese P] [--cerca TESTO])
//        --pdf USCITA.pdf [--sovrascrivi] [--password-stdin]
PrintLine parsePrint(const QStringList &args)
{
    const auto usage = [](const QString &reason) { return cli::CliError(cli::ExitCode::Usage, reason); };
    PrintLine pl;
    cli::PrintRequest &request = pl.request;
    bool listForm = false;
    QStringList files;
    const auto valueOf = [&](qsizetype &i, const QString &what) {
        if (++i == args.size())
            throw cli::missingValue(args[i - 1], what);
        return args[i];
    };
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--password-stdin")) {
            pl.passwordStdin = true;
        } else if (arg == QLatin1String("--sovrascrivi")) {
            request.overwrite = true;
        } else if (arg == QLatin1String("--pdf")) {
            request.pdf = valueOf(i, QStringLiteral("il nome del file PDF"));
        } else if (arg == QLatin1String("--elenco")) {
            listForm = true;
            request.listName = valueOf(i, QStringLiteral("il nome dell'elenco"));
        } else if (arg == QLatin1String("--fascia")) {
            request.criteria.band = valueOf(i, QStringLiteral("la fascia"));
        } else if (arg == QLatin1String("--paese")) {
            request.criteria.country = valueOf(i, QStringLiteral("il paese d'origine"));
        } else if (arg == QLatin1String("--cerca")) {
            // Folded as the search box folds what is typed.
            request.criteria.searchText = upperAsciiLetters(valueOf(i, QStringLiteral("il testo da cercare")));
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            throw cli::unknownOption(arg);
        } else {
            files.append(arg);
        }
    }
    if (listForm) {
        if (files.size() != 1)
            throw usage(QStringLiteral("con --elenco serve solo l'ARCHIVIO."));
        if (request.listName.isEmpty())
            throw usage(QStringLiteral("--elenco richiede il nome dell'elenco."));
    } else {
        if (files.size() != 2)
            throw usage(QStringLiteral("servono l'ARCHIVIO e il TRACCIATO (oppure --elenco NOME)."));
        if (!request.criteria.acceptsAll())
            throw usage(QStringLiteral("--fascia, --paese e --cerca valgono solo con --elenco."));
        request.layout = files[1];
    }
    if (request.pdf.isEmpty())
        throw usage(QStringLiteral("manca --pdf USCITA.pdf."));
    request.archive = files[0];
    return pl;
}

} // namespace

int main(int argc, char **argv)
{
    // Passwords of archives and roles pass through this process: no core file may keep them.
    secrets::forbidCoreDumps();
    // Printing measures text, which needs the GUI application; no display is needed.
    const bool printing = argc > 1 && std::string(argv[1]) == "stampa";
    const bool listing = argc > 1 && (std::string(argv[1]) == "statistiche" || std::string(argv[1]) == "esporta");
    if ((printing || listing) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (printing || listing)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        out << cli::usageText();
        return 0;
    }
    // Every message names its archive: a server address that is refused (one holding a
    // password above all) stops here, before any message could repeat it.
    try {
        cli::checkServerLocations(args);
    } catch (const cli::CliError &e) {
        err << QStringLiteral("tavorio-cli: ") << e.message() << "\n\n" << cli::addressText();
        err.flush();
        return int(e.code());
    }
    if (printing) {
        PrintLine pl;
        try {
            pl = parsePrint(args);
        } catch (const cli::CliError &e) {
            return usageFailure(e, err);
        }
        if (pl.passwordStdin)
            pl.request.password = readPassword();
        return cli::runPrint(pl.request, out, err);
    }
    if (listing) {
        cli::ListCommandRequest request;
        try {
            request = cli::parseListCommand(args.front(), args.mid(1));
        } catch (const cli::CliError &e) {
            return usageFailure(e, err);
        }
        if (request.passwordStdin)
            request.password = readPassword();
        return cli::runListCommand(request, out, err);
    }
    if (!args.isEmpty() && args.front() == QLatin1String("documento")) {
        cli::DocumentRequest request;
        try {
            request = cli::parseDocumentCommand(args.mid(1));
        } catch (const cli::CliError &e) {
            return usageFailure(e, err);
        }
        if (request.passwordStdin)
            request.password = readPassword();
        return cli::runDocument(request, out, err);
    }
    if (!args.isEmpty() && args.front() == QLatin1String("persone")) {
        cli::PeopleRequest request;
        try {
            request = cli::parsePeople(args.mid(1));
        } catch (const cli::CliError &e) {
            return usageFailure(e, err);
        }
        if (request.passwordStdin) {
            request.password = readPassword();
            if (request.needsNewPassword())
                request.newPassword = readPassword();
        }
        const int status = cli::runPeople(request, out, err);
        secrets::wipe(request.password);
        secrets::wipe(request.newPassword);
        return status;
    }
    if (!args.isEmpty() && args.front() == QLatin1String("storia")) {
        cli::HistoryRequest request;
        try {
            request = cli::parseHistory(args.mid(1));
        } catch (const cli::CliError &e) {
            return usageFailure(e, err);
        }
        if (request.passwordStdin)
            request.password = readPassword();
        return cli::runHistory(request, out, err);
    }
    if (!args.isEmpty() && args.front() == QLatin1String("server-prepara")) {
        cli::ServerPrepareRequest request;
        try {
            request = cli::parseServerPrepare(args.mid(1));
        } catch (const cli::CliError &e) {
            return usageFailure(e, err);
        }
        request.deskPassword = readPassword();
        const int status = cli::runServerPrepare(request, out, err);
        secrets::wipe(request.deskPassword);
        return status;
    }
    CommandLine cl;
    try {
        cl = parse(args);
    } catch (const cli::CliError &e) {
        return usageFailure(e, err);
    }
    const QString password = cl.passwordStdin ? readPassword() : QString();
    if (cl.command == QLatin1String("importa")) {
        // The Access file's password, then the new archive's (none read for a trial).
        const QString targetPassword = cl.passwordStdin && !cl.import.trial ? readPassword() : QString();
        return cli::runImport(cl.file, password, {cl.target, targetPassword}, cl.import, out, err);
    }
    if (cl.command == QLatin1String("trasferisci")) {
        // One line per side: the source's password, then the copy's.
        const QString targetPassword = cl.passwordStdin ? readPassword() : QString();
        return cli::runTransfer({cl.file, password}, {cl.target, targetPassword}, out, err);
    }
    if (cl.command == QLatin1String("verifica"))
        return cli::runCheck(cl.file, password, out, err);

    cli::ArchiveContents contents = cli::ArchiveContents::standardRowsOnly();
    if (cl.demo)
        contents = cli::ArchiveContents::demo();
    else if (cl.households >= 0)
        contents = cli::ArchiveContents::generated(cl.households);
    return cli::runCreate(cl.file, password, contents, out, err);
}
