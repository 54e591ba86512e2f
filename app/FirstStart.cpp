#include "app/FirstStart.h"

#include "app/AccessImportRun.h"
#include "app/ApplicationFolder.h"
#include "archive/ArchiveCreator.h"
#include "archive/CliError.h"
#include "controls/TMessageBox.h"
#include "platform/SuppliedFiles.h"
#include "session/ProcessValues.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <stdexcept>

namespace app {

namespace {

const QString kArchive = QStringLiteral("tavorio.mdb");

std::runtime_error refusal(const QString &text) { return std::runtime_error(text.toStdString()); }

// "~/..." as a shell would read it: people type it in the folder box.
QString withSlash(const QString &folder)
{
    const QString expanded = folder == QLatin1String("~") || folder.startsWith(QLatin1String("~/"))
        ? QDir::homePath() + folder.mid(1)
        : folder;
    const QString absolute = QFileInfo(expanded).absoluteFilePath();
    return absolute.endsWith(QLatin1Char('/')) ? absolute : absolute + QLatin1Char('/');
}

void makeFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw refusal(QStringLiteral("Impossibile creare la cartella \"%1\".").arg(QDir::toNativeSeparators(folder)));
}

void createArchive(const QString &folder, const cli::ArchiveContents &contents)
{
    try {
        cli::ArchiveCreator(folder + kArchive, QString()).create(contents);
    } catch (const cli::CliError &error) {
        throw refusal(error.message());
    }
}

// Whatever way the folder was named (the option, the variable, an earlier start), it gets the
// supplied lists, templates and manual it lacks. A folder the user may not write (a share
// mounted read-only) still opens: the failure goes to the log.
void supplyFolder(const QString &supplied, const QString &folder)
{
    if (supplied.isEmpty())
        return;
    try {
        platform::copyMissingFiles(supplied, folder);
    } catch (const std::exception &error) {
        qWarning("%s", error.what());
    }
}

} // namespace

QString defaultNewArchiveFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("Tavorio"));
}

QString defaultDemoFolder()
{
    const QString chosen = qEnvironmentVariable("TAVORIO_DEMO_DIR");
    if (!chosen.isEmpty())
        return chosen;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("tavorio-demo"));
}

bool isDemoFolder(const QString &folder)
{
    const QString demo = QFileInfo(defaultDemoFolder()).canonicalFilePath();
    return !demo.isEmpty() && QFileInfo(folder).canonicalFilePath() == demo;
}

void markDemoArchive() { ProcessValues::setDemoArchive(isDemoFolder(QDir::currentPath())); }

QString carryOutFirstStart(const FirstStartChoice &choice, const FirstStartPlaces &places)
{
    QString folder;
    switch (choice.kind) {
    case FirstStartKind::NewArchive:
        folder = withSlash(choice.folder);
        if (QFileInfo::exists(folder + kArchive))
            throw refusal(QStringLiteral("Nella cartella \"%1\" c'è già un archivio: per usarlo scegliere "
                                         "\"Aprire un archivio esistente\".")
                              .arg(QDir::toNativeSeparators(choice.folder)));
        makeFolder(folder);
        createArchive(folder, cli::ArchiveContents::standardRowsOnly());
        break;
    case FirstStartKind::ExistingArchive:
        folder = withSlash(choice.folder);
        if (!holdsArchive(folder))
            throw refusal(QStringLiteral("Nella cartella \"%1\" non c'è l'archivio tavorio.mdb.")
                              .arg(QDir::toNativeSeparators(choice.folder)));
        break;
    case FirstStartKind::Retry:
        folder = withSlash(choice.folder);
        if (!holdsArchive(folder))
            throw refusal(QStringLiteral("La cartella \"%1\" non è ancora raggiungibile o non contiene l'archivio.")
                              .arg(QDir::toNativeSeparators(choice.folder)));
        break;
    case FirstStartKind::ImportAccess: {
        folder = withSlash(choice.folder);
        if (QFileInfo::exists(folder + kArchive))
            throw refusal(QStringLiteral("Nella cartella \"%1\" c'è già un archivio: per importare scegliere "
                                         "una cartella senza archivio.")
                              .arg(QDir::toNativeSeparators(choice.folder)));
        makeFolder(folder);
        const QString report = importAccessArchive(places.window, choice.accessFile, folder + kArchive, places.prompt);
        TMessageBox(places.window).notice(QStringLiteral("   %1   ").arg(report.trimmed()));
        break;
    }
    case FirstStartKind::Demo:
        folder = withSlash(places.demoFolder);
        makeFolder(folder);
        if (!QFileInfo::exists(folder + kArchive))
            createArchive(folder, cli::ArchiveContents::demo());
        break;
    }
    if (!places.suppliedFolder.isEmpty())
        platform::copyMissingFiles(places.suppliedFolder, folder);
    return folder;
}

std::optional<int> settleApplicationFolder(const QStringList &arguments)
{
    const TMessageBox messages;
    FolderRequest request;
    try {
        request.option = folderOption(arguments);
    } catch (const std::invalid_argument &error) {
        messages.notice(QStringLiteral("   %1   ").arg(QString::fromUtf8(error.what())));
        return 64;
    }
    request.environment = qEnvironmentVariable(kFolderVariable.toLatin1().constData());
    const QString supplied = platform::suppliedFolder();
    request.installed = !supplied.isEmpty();
    if (request.installed)
        request.remembered = rememberedFolder();

    FolderChoice choice = chooseApplicationFolder(request);
    switch (choice.source) {
    case FolderSource::WorkingFolder:
        markDemoArchive();
        return std::nullopt;
    case FolderSource::FirstStart: {
        FirstStartPlaces places{supplied, defaultDemoFolder()};
        Tfrm_avvio window(
            defaultNewArchiveFolder(),
            [&places](const FirstStartChoice &chosen) { return carryOutFirstStart(chosen, places); }, nullptr,
            choice.unreachable);
        places.window = &window;
        choice.folder = window.ask();
        if (choice.folder.isEmpty())
            return 0;
        rememberFolder(choice.folder);
        break;
    }
    case FolderSource::Option:
    case FolderSource::Environment:
    case FolderSource::Remembered:
        break;
    }
    if (!QFileInfo(choice.folder).isDir() || !QDir::setCurrent(choice.folder)) {
        messages.notice(QStringLiteral("   La cartella \"%1\" non esiste o non si può aprire.   ")
                            .arg(QDir::toNativeSeparators(choice.folder)));
        return 1;
    }
    markDemoArchive();
    supplyFolder(supplied, choice.folder);
    return std::nullopt;
}

} // namespace app
