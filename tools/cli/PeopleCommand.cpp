#include "tools/cli/PeopleCommand.h"

#include "archive/CliError.h"
#include "archive/LocationFailures.h"
#include "engine/ArchiveLocation.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"

#include <QRegularExpression>
#include <QTextStream>

namespace cli {

namespace {

const QStringList kActions{QStringLiteral("elenca"), QStringLiteral("aggiungi"), QStringLiteral("disattiva"),
                           QStringLiteral("riattiva"), QStringLiteral("password")};

QString roleName(dao::PersonRole role)
{
    return role == dao::PersonRole::Responsabile ? QStringLiteral("responsabile") : QStringLiteral("operatore");
}

void act(const PeopleRequest &request, dao::ArchivePeople &people, QTextStream &out)
{
    if (request.action == QLatin1String("elenca")) {
        for (const dao::Person &p : people.list())
            out << p.name << '\t' << roleName(p.role) << '\t'
                << (p.enabled ? QStringLiteral("attivo") : QStringLiteral("disattivato")) << '\n';
    } else if (request.action == QLatin1String("aggiungi")) {
        people.add(request.person, request.role, request.newPassword);
        out << QStringLiteral("Persona aggiunta: %1 (%2).\n").arg(request.person, roleName(request.role));
    } else if (request.action == QLatin1String("password")) {
        people.setPassword(request.person, request.newPassword);
        out << QStringLiteral("Password cambiata per %1.\n").arg(request.person);
    } else {
        const bool enable = request.action == QLatin1String("riattiva");
        people.setEnabled(request.person, enable);
        out << QStringLiteral("%1: %2.\n").arg(request.person, enable ? QStringLiteral("riattivato")
                                                                       : QStringLiteral("disattivato"));
    }
    out.flush();
}

} // namespace

PeopleRequest parsePeople(const QStringList &args)
{
    const auto usage = [](const QString &reason) { return CliError(ExitCode::Usage, reason); };
    static const QRegularExpression name(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    PeopleRequest r;
    QStringList words;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--password-stdin")) {
            r.passwordStdin = true;
        } else if (arg == QLatin1String("--ruolo")) {
            if (++i == args.size())
                throw usage(QStringLiteral("--ruolo richiede operatore o responsabile."));
            if (args[i] == QLatin1String("responsabile"))
                r.role = dao::PersonRole::Responsabile;
            else if (args[i] != QLatin1String("operatore"))
                throw usage(QStringLiteral("ruolo sconosciuto \"%1\": operatore o responsabile.").arg(args[i]));
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            throw cli::unknownOption(arg);
        } else {
            words << arg;
        }
    }
    if (words.size() < 2)
        throw usage(QStringLiteral("servono l'INDIRIZZO dell'archivio e l'azione."));
    r.archive = words[0];
    r.action = words[1];
    if (!kActions.contains(r.action))
        throw usage(QStringLiteral("azione sconosciuta \"%1\" (%2).").arg(r.action, kActions.join(QStringLiteral(", "))));
    const bool listing = r.action == QLatin1String("elenca");
    if (words.size() != (listing ? 2 : 3))
        throw usage(listing ? QStringLiteral("elenca non vuole altri nomi.")
                            : QStringLiteral("%1 vuole il NOME di una persona.").arg(r.action));
    if (!listing) {
        r.person = words[2];
        if (!name.match(r.person).hasMatch())
            throw usage(QStringLiteral("nome non valido \"%1\": lettere minuscole, cifre e _.").arg(r.person));
    }
    if (r.needsNewPassword() && !r.passwordStdin)
        throw usage(QStringLiteral("la nuova password arriva con --password-stdin."));
    return r;
}

int runPeople(const PeopleRequest &request, QTextStream &out, QTextStream &err)
{
    try {
        if (dao::ArchiveLocation(request.archive).isFile())
            throw CliError(ExitCode::Usage, QStringLiteral("le persone esistono solo per un archivio su un server; un file "
                                                           "ha la sola password dell'archivio."));
        if (request.needsNewPassword() && request.newPassword.isEmpty())
            throw CliError(ExitCode::Usage, QStringLiteral("la nuova password non può essere vuota."));
        dao::DBEngine engine;
        auto workspace = engine.CreateWorkspace(QStringLiteral("DaoWorkspace"), QStringLiteral("Admin"), QString(),
                                                dao::dbUseJet);
        auto db = workspace->OpenDatabase(dao::ArchiveLocation(request.archive).normalized(), false, false,
                                          QStringLiteral(";UID=Admin;PWD=%1;").arg(request.password));
        dao::ArchivePeople people(*db);
        act(request, people, out);
        db->Close();
        return int(ExitCode::Ok);
    } catch (const CliError &e) {
        err << QStringLiteral("tavorio-cli: ") << e.message() << Qt::endl;
        return int(e.code());
    } catch (const dao::EngineError &e) {
        const CliError failure = openedArchiveFailure(request.archive, e, QStringLiteral("Password errata o mancante."),
                                                      CliError(ExitCode::Refused, QStringLiteral("Persone non cambiate: ") + e.description()));
        err << QStringLiteral("tavorio-cli: ") << failure.message() << Qt::endl;
        return int(failure.code());
    }
}

} // namespace cli
