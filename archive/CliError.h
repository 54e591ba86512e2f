#pragma once
// The companion's failures: an exit status the shell can test and an Italian message for
// the person who typed the command.

#include <QString>
#include <stdexcept>

namespace cli {

enum class ExitCode : int {
    Ok = 0,
    Refused = 1,        // the archive was not created (existing file, write failure)
    BadPassword = 2,    // the archive is encrypted with another password, or none was given
    NotAnArchive = 3,   // missing, unreadable or foreign file; a database the server does not have
    NotBuilt = 4,       // a list's pages could not be built, or the engine refused its order
    Damaged = 5,        // an archive that fails the integrity check
    Unreachable = 6,    // the archive's server could not be reached, or the connection dropped
    Usage = 64,         // the command line itself is wrong (EX_USAGE)
};

class CliError : public std::runtime_error {
public:
    CliError(ExitCode code, const QString &message)
        : std::runtime_error(message.toStdString()), m_code(code), m_message(message) {}

    ExitCode code() const { return m_code; }
    const QString &message() const { return m_message; }

private:
    ExitCode m_code;
    QString m_message;
};

// What several commands say in the same words.
inline QString fileNotFoundText(const QString &path) { return QStringLiteral("File non trovato: \"%1\".").arg(path); }
inline QString wrongPasswordText() { return QStringLiteral("Password dell'archivio errata o mancante."); }
inline QString existingFileKeptText() { return QStringLiteral("il file esiste già e non viene sovrascritto."); }
inline CliError unknownOption(const QString &option)
{
    return CliError(ExitCode::Usage, QStringLiteral("opzione sconosciuta \"%1\".").arg(option));
}
inline CliError missingValue(const QString &option, const QString &what)
{
    return CliError(ExitCode::Usage, QStringLiteral("%1 richiede %2.").arg(option, what));
}
inline CliError badCardNumber(const QString &text)
{
    return CliError(ExitCode::Usage, QStringLiteral("numero di scheda non valido \"%1\".").arg(text));
}
inline CliError badDate(const QString &text)
{
    return CliError(ExitCode::Usage, QStringLiteral("data non valida \"%1\" (GG/MM/AAAA).").arg(text));
}

} // namespace cli
