#pragma once
// The password gate: finds the password that opens the archive, asking the user for it at
// most three times when the remembered one (empty at start) does not open it.

#include <QString>
#include <functional>
#include <optional>

class TArcDatabase;

// Failed: the archive does not open for a reason other than its password (missing, empty,
// foreign, damaged); nobody is asked for a password then.
enum class PasswordGateOutcome { Opened, Cancelled, Refused, Failed };

// One question to the user: the typed password, or nothing when the user pressed "Annulla".
using PasswordPrompt = std::function<std::optional<QString>()>;
// Makes the prompt the first time the gate needs to ask. The gate drops what it returns
// before it ends, whatever the outcome, so a prompt window it holds is released then.
using PasswordPromptFactory = std::function<PasswordPrompt()>;

// Leaves the connection disconnected in every case. The password that opened the archive
// becomes the process's archive password. After Failed, failure (when given) holds the
// error's own text.
PasswordGateOutcome runPasswordGate(TArcDatabase &database, const PasswordPromptFactory &makePrompt,
                                    QString *failure = nullptr);
