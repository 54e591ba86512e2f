#pragma once
// Which folder the program works in. From a build tree the program keeps to the folder it
// was started in. An installed program cannot write beside its executable, so its folder is,
// in this order: the command-line option "--cartella CARTELLA", the environment variable
// TAVORIO_CARTELLA, the folder chosen at an earlier start (while it still holds an
// archive), else the first-start window asks.

#include <QString>
#include <QStringList>

namespace app {

inline const QString kFolderOption = QStringLiteral("--cartella");
inline const QString kFolderVariable = QStringLiteral("TAVORIO_CARTELLA");

enum class FolderSource { WorkingFolder, Option, Environment, Remembered, FirstStart };

struct FolderRequest {
    QString option;        // the option's value; empty when not given
    QString environment;   // the variable's value; empty when unset
    QString remembered;    // the folder of an earlier first start; empty when none
    bool installed = false;
};

struct FolderChoice {
    FolderSource source = FolderSource::WorkingFolder;
    QString folder;        // empty for WorkingFolder and FirstStart
    QString unreachable;   // FirstStart: the remembered folder that holds no archive now
};

// The value of --cartella in the program's arguments (the program name first, Qt's own
// options already taken out); empty when absent. Throws std::invalid_argument with an
// Italian reason for anything else on the command line.
QString folderOption(const QStringList &arguments);

FolderChoice chooseApplicationFolder(const FolderRequest &request);

// The folder holds the archive file, or a tavorio.ini naming the archive's server. A
// remembered folder that lost both (a share not mounted, a folder moved) is asked for again
// rather than opened empty.
bool holdsArchive(const QString &folder);

// The folder chosen at the first start, kept in the user's configuration folder
// (tavorio/avvio.ini).
QString rememberedFolder();
void rememberFolder(const QString &folder);

} // namespace app
