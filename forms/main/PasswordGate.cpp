#include "forms/main/PasswordGate.h"

#include "engine/EngineError.h"
#include "session/ProcessValues.h"
#include "store/TArcDatabase.h"

namespace {

constexpr int kAttempts = 3;

void disconnectQuietly(TArcDatabase &database)
{
    try {
        database.setConnected(false);
    } catch (...) {
    }
}

enum class Attempt { Opened, WrongPassword, Failed };

// Only the engine's word that the password is wrong is worth another question: a missing,
// empty, foreign or damaged archive does not open with any password.
Attempt tryPassword(TArcDatabase &database, const QString &password, QString *failure)
{
    try {
        database.setDatabasePassword(password);
        database.setConnected(true);
        database.setConnected(false);
        return Attempt::Opened;
    } catch (const dao::EngineError &error) {
        disconnectQuietly(database);
        if (error.number() == dao::errNotValidPassword)
            return Attempt::WrongPassword;
        if (failure)
            *failure = error.description();
        return Attempt::Failed;
    } catch (const std::exception &error) {
        disconnectQuietly(database);
        if (failure)
            *failure = QString::fromUtf8(error.what());
        return Attempt::Failed;
    }
}

} // namespace

PasswordGateOutcome runPasswordGate(TArcDatabase &database, const PasswordPromptFactory &makePrompt,
                                    QString *failure)
{
    ProcessValues::setPrintFilterMode(false);
    switch (tryPassword(database, ProcessValues::archivePassword(), failure)) {
    case Attempt::Opened:
        return PasswordGateOutcome::Opened;
    case Attempt::Failed:
        return PasswordGateOutcome::Failed;
    case Attempt::WrongPassword:
        break;
    }

    const PasswordPrompt prompt = makePrompt();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::optional<QString> typed = prompt();
        if (!typed)
            return PasswordGateOutcome::Cancelled;
        ProcessValues::setArchivePassword(*typed);
        switch (tryPassword(database, *typed, failure)) {
        case Attempt::Opened:
            return PasswordGateOutcome::Opened;
        case Attempt::Failed:
            return PasswordGateOutcome::Failed;
        case Attempt::WrongPassword:
            break;
        }
    }
    return PasswordGateOutcome::Refused;
}
