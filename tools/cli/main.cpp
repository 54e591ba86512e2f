// tavorio-cli: the companion command of the program. Only the command line is read here;
// the work is done by the commands of the library.

#include "tools/cli/CliError.h"
#include "tools/cli/Commands.h"
#include "tools/cli/DocumentCommand.h"
#include "tools/cli/HouseholdGenerator.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <iostream>
#include <string>

namespace {

struct CommandLine {
    QString command;
    QString file;
    bool demo = false;
    int households = -1;   // --schede N; -1 when absent
    bool passwordStdin = false;
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
    if (cl.command != QLatin1String("crea-archivio") && cl.command != QLatin1String("verifica"))
        throw usage(QStringLiteral("comando sconosciuto \"%1\".").arg(cl.command));
    const bool creating = cl.command == QLatin1String("crea-archivio");

    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--password-stdin")) {
            cl.passwordStdin = true;
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
            throw usage(QStringLiteral("opzione sconosciuta \"%1\".").arg(arg));
        } else if (cl.file.isEmpty()) {
            cl.file = arg;
        } else {
            throw usage(QStringLiteral("un solo FILE, per favore (\"%1\" è di troppo).").arg(arg));
        }
    }
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        out << cli::usageText();
        return 0;
    }
    if (!args.isEmpty() && args.front() == QLatin1String("documento")) {
        cli::DocumentRequest request;
        try {
            request = cli::parseDocumentCommand(args.mid(1));
        } catch (const cli::CliError &e) {
            err << QStringLiteral("tavorio-cli: ") << e.message() << "\n\n" << cli::usageText();
            err.flush();
            return int(e.code());
        }
        if (request.passwordStdin)
            request.password = readPassword();
        return cli::runDocument(request, out, err);
    }
    CommandLine cl;
    try {
        cl = parse(args);
    } catch (const cli::CliError &e) {
        err << QStringLiteral("tavorio-cli: ") << e.message() << "\n\n" << cli::usageText();
        err.flush();
        return int(e.code());
    }
    const QString password = cl.passwordStdin ? readPassword() : QString();
    if (cl.command == QLatin1String("verifica"))
        return cli::runCheck(cl.file, password, out, err);

    cli::ArchiveContents contents = cli::ArchiveContents::standardRowsOnly();
    if (cl.demo)
        contents = cli::ArchiveContents::demo();
    else if (cl.households >= 0)
        contents = cli::ArchiveContents::generated(cl.households);
    return cli::runCreate(cl.file, password, contents, out, err);
}
