#include "app/FirstStart.h"

#include "app/ApplicationFolder.h"
#include "controls/TMessageBox.h"
#include "platform/SuppliedFiles.h"
#include "tools/cli/ArchiveCreator.h"
#include "tools/cli/CliError.h"

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

} // namespace

QString defaultNewArchiveFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("Tavorio"));
}

QString defaultDemoFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("tavorio-demo"));
}

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
        return std::nullopt;
    case FolderSource::FirstStart: {
        const FirstStartPlaces places{supplied, defaultDemoFolder()};
        Tfrm_avvio window(defaultNewArchiveFolder(),
                          [&places](const FirstStartChoice &chosen) { return carryOutFirstStart(chosen, places); });
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
    return std::nullopt;
}

} // namespace app
