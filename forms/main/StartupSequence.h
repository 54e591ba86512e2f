#pragma once
// What the main window does while it is being created: fix the application folder, restore
// the layout, open the archive behind the password gate, refresh the backup copy and
// compact the archive when no one else has it open, connect and open the tables.

#include "forms/main/PasswordGate.h"

#include <QDate>
#include <QString>
#include <functional>

class TArcDatabase;

enum class StartupOutcome {
    Continue,          // the archive is open: show the main window
    Cancelled,         // the user pressed "Annulla" at the password prompt
    Refused,           // three wrong passwords
    ConnectionFailed,  // connecting or opening the tables failed, the user was told
};

// The program ends after every outcome but Continue.
inline bool endsProgram(StartupOutcome outcome) { return outcome != StartupOutcome::Continue; }

struct StartupSteps {
    // Given the layout file's path; restores the window placement from it.
    std::function<void(const QString &iniPath)> restoreLayout;
    PasswordPromptFactory makePasswordPrompt;
    // Runs connected: opens the tables, fills the pick lists and the check-box captions.
    std::function<void()> openTables;
    // Shows a message in the program's message box.
    std::function<void(const QString &text)> notice;
    // The day that names the daily backup copy; the system's date when not set.
    std::function<QDate()> today;
};

inline const QString kConnectionErrorMessage = QStringLiteral("   Errore di connessione al DB.   ");

// Errors of the repair and the compaction are not caught here: they end the sequence and
// reach the caller.
StartupOutcome runStartupSequence(TArcDatabase &database, const StartupSteps &steps);
