#include "forms/main/PasswordGate.h"

#include "forms/ProcessValues.h"
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

// Any failure of the connect counts as a refused password.
bool connects(TArcDatabase &database, const QString &password)
{
    database.setDatabasePassword(password);
    try {
        database.setConnected(true);
    } catch (...) {
        disconnectQuietly(database);
        return false;
    }
    disconnectQuietly(database);
    return true;
}

// The remembered password counts only when the disconnect succeeds as well.
bool rememberedPasswordOpens(TArcDatabase &database)
{
    try {
        database.setDatabasePassword(ProcessValues::archivePassword());
        database.setConnected(true);
        database.setConnected(false);
        return true;
    } catch (...) {
        disconnectQuietly(database);
        return false;
    }
}

} // namespace

PasswordGateOutcome runPasswordGate(TArcDatabase &database, const PasswordPromptFactory &makePrompt)
{
    ProcessValues::setPrintFilterMode(false);
    if (rememberedPasswordOpens(database))
        return PasswordGateOutcome::Opened;

    const PasswordPrompt prompt = makePrompt();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::optional<QString> typed = prompt();
        if (!typed)
            return PasswordGateOutcome::Cancelled;
        ProcessValues::setArchivePassword(*typed);
        if (connects(database, *typed))
            return PasswordGateOutcome::Opened;
    }
    return PasswordGateOutcome::Refused;
}
