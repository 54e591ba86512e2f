#pragma once
// What the answers of the first-start window do, and the whole choice of the folder at
// start-up for an installed program.

#include "app/AccessImportRun.h"
#include "forms/avvio/Tfrm_avvio.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace app {

struct FirstStartPlaces {
    QString suppliedFolder;   // the supplied lists, templates and manual
    QString demoFolder;       // where the demo archive is kept
    QWidget *window = nullptr;        // the first-start window, parent of the import's windows
    AccessPasswordPrompt prompt;      // the Access file's password; empty: a dialog asks
};

// The default folder of a new archive: "Tavorio" in the user's documents.
QString defaultNewArchiveFolder();
// ~/.local/share/tavorio-demo (or $TAVORIO_DEMO_DIR), the folder scripts/run uses too.
QString defaultDemoFolder();
// The folder is the demo archive's; markDemoArchive() tells the windows whether the working
// folder is.
bool isDemoFolder(const QString &folder);
void markDemoArchive();

// Carries out a first-start choice: creates the empty archive in the folder (refusing a
// folder that already holds one), checks that an existing folder holds an archive, or
// creates the demo archive when it is missing, imports an Access archive into a new one
// (with a progress window and the report), or checks that the folder that could not be
// reached now holds its archive (Retry); then copies the supplied files the folder
// lacks. Returns the folder with a trailing "/"; throws std::runtime_error with an Italian
// reason, leaving whatever archive the user had untouched.
QString carryOutFirstStart(const FirstStartChoice &choice, const FirstStartPlaces &places);

// Settles the application folder before the main window exists and makes it the working
// folder. Returns the exit status when the program must end (a wrong command line, a
// missing folder, "Esci" in the first-start window); messages go to the message box.
std::optional<int> settleApplicationFolder(const QStringList &arguments);

} // namespace app
