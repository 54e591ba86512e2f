#pragma once
// The companion's commands in one table: each one's name, arguments, one-line description,
// further notes and the exit statuses it can end with. The usage text, --help, the dispatch
// of a command name and the checks of the manual page and README all read it.

#include "archive/CliError.h"

#include <QList>
#include <QString>
#include <span>

namespace cli {

struct CommandEntry {
    const char *name;         // "crea-archivio"
    const char *arguments;    // after the name; "\n" continues on an indented line
    const char *summary;      // one line
    const char *details;      // the rest of its usage paragraph, lines of at most 80 columns
    QList<ExitCode> exits;    // the statuses it can end with, Ok first
};

struct ExitEntry {
    ExitCode code;
    const char *meaning;      // Italian, as the usage text and the manual page say it
};

std::span<const CommandEntry> commandTable();
std::span<const ExitEntry> exitTable();
const CommandEntry *findCommand(const QString &name);

// "  tavorio-cli NAME ARGUMENTS" with its continuation lines, ending in "\n".
QString synopsisText(const CommandEntry &command);
// The list of exit statuses as the usage text ends with it.
QString exitCodesText();

} // namespace cli
