#include "tools/cli/Commands.h"

#include "archive/CliError.h"
#include "engine/ArchiveLocation.h"
#include "store/NetworkFolderWarning.h"
#include "tools/cli/ArchiveCheck.h"
#include "tools/cli/CommandTable.h"
#include "tools/cli/HistoryCommand.h"
#include "tools/cli/PeopleCommand.h"
#include "tools/cli/ServerPrepare.h"

#include <QTextStream>

namespace cli {

namespace {

// Each line of a command's notes under its synopsis.
QString indented(const QString &lines)
{
    QString text;
    for (const QString &line : lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        text += QStringLiteral("      ") + line + QLatin1Char('\n');
    return text;
}

int fail(const CliError &e, QTextStream &err)
{
    err << e.message() << Qt::endl;
    return int(e.code());
}

} // namespace

int runCreate(const QString &path, const QString &password, const ArchiveContents &contents,
              QTextStream &out, QTextStream &err)
{
    try {
        ArchiveCreator(path, password).create(contents);
    } catch (const CliError &e) {
        return fail(e, err);
    }
    out << QStringLiteral("Archivio creato: %1 (%2 schede%3).")
               // In one pass, as an address may hold "%2F"; on a server the password is the
               // office role's, not the archive's own.
               .arg(path, QString::number(contents.households),
                    password.isEmpty() || dao::ArchiveLocation(path).isServer() ? QString() : QStringLiteral(", protetto da password"))
        << Qt::endl;
    return int(ExitCode::Ok);
}

int runCheck(const QString &path, const QString &password, QTextStream &out, QTextStream &err)
{
    // A warning, not a failure: the check runs all the same.
    if (const std::optional<QString> warning = store::networkFolderWarning(path))
        err << QStringLiteral("Attenzione: ") << *warning << Qt::endl;
    CheckReport report;
    try {
        report = ArchiveCheck(path, password).run();
    } catch (const CliError &e) {
        return fail(e, err);
    }
    for (const TableCount &count : report.counts)
        out << count.table << ' ' << count.rows << '\n';
    out.flush();
    if (report.problems.isEmpty())
        return int(ExitCode::Ok);
    return fail(CliError(ExitCode::Damaged, damagedText(path, report.problems)), err);
}

int runTransfer(const TransferSide &from, const TransferSide &to, QTextStream &out, QTextStream &err)
{
    Comparison copied;
    try {
        copied = ArchiveTransfer(from, to).run();
    } catch (const CliError &e) {
        return fail(e, err);
    }
    out << QStringLiteral("Archivio trasferito: %1 -> %2 (%3 tabelle, %4 righe confrontate una per una).")
               // In one pass: an address may hold "%2F" and the like, which a later arg() would fill.
               .arg(from.location, to.location, QString::number(copied.tables), QString::number(copied.rows))
        << Qt::endl;
    return int(ExitCode::Ok);
}

int runImport(const QString &accessFile, const QString &accessPassword, const TransferSide &to,
              const ImportOptions &options, QTextStream &out, QTextStream &err)
{
    try {
        out << importReportText(AccessImport(accessFile, accessPassword, to, options).run());
    } catch (const CliError &e) {
        return fail(e, err);
    }
    out.flush();
    return int(ExitCode::Ok);
}

QString usageText()
{
    QString text = QStringLiteral("Uso:\n");
    for (const CommandEntry &command : commandTable())
        text += synopsisText(command) + QStringLiteral("      ") + QString::fromUtf8(command.summary) + QLatin1Char('\n')
            + indented(QString::fromUtf8(command.details));
    return text + QLatin1Char('\n') + addressText()
        + QStringLiteral("Con --password-stdin la password è la prima riga dello standard input\n"
                         "(una riga vuota: nessuna password).\n")
        + exitCodesText();
}

QString addressText()
{
    return QStringLiteral(
        "Un INDIRIZZO nomina un database di un server PostgreSQL:\n"
        "  postgresql://RUOLO@HOST[:PORTA]/DATABASE[?sslmode=MODO&sslrootcert=FILE]\n"
        "e non contiene mai la password, che è quella del RUOLO e arriva come quella di un file.\n"
        "Il server deve dimostrare la sua identità (di norma sslmode=verify-full e\n"
        "channel_binding=require): il certificato dell'autorità (CA) del server si mette in\n"
        "~/.postgresql/root.crt dell'utente che esegue il comando, o lo indica sslrootcert.\n"
        "sslmode=disable e channel_binding=disable valgono solo per un server su questo computer.\n");
}

} // namespace cli
