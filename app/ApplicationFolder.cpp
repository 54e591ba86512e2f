#include "app/ApplicationFolder.h"

#include "forms/main/ArchiveServerSetting.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <stdexcept>

namespace app {

namespace {

const QString kRememberedKey = QStringLiteral("cartella");

QSettings startSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tavorio"), QStringLiteral("avvio"));
}

} // namespace

bool holdsArchive(const QString &folder)
{
    const QDir dir(folder);
    return QFileInfo(dir.filePath(QStringLiteral("tavorio.mdb"))).isFile()
        || !readArchiveServerSetting(dir.filePath(QStringLiteral("tavorio.ini"))).address.isEmpty();
}

QString folderOption(const QStringList &arguments)
{
    QString folder;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == kFolderOption) {
            if (++i == arguments.size() || arguments[i].isEmpty())
                throw std::invalid_argument("--cartella richiede il nome della cartella.");
            folder = arguments[i];
        } else if (arg.startsWith(kFolderOption + QLatin1Char('='))) {
            folder = arg.mid(kFolderOption.size() + 1);
            if (folder.isEmpty())
                throw std::invalid_argument("--cartella richiede il nome della cartella.");
        } else {
            throw std::invalid_argument(
                QStringLiteral("opzione sconosciuta \"%1\" (uso: tavorio [--cartella CARTELLA]).").arg(arg).toStdString());
        }
    }
    return folder;
}

FolderChoice chooseApplicationFolder(const FolderRequest &request)
{
    if (!request.option.isEmpty())
        return {FolderSource::Option, request.option};
    if (!request.environment.isEmpty())
        return {FolderSource::Environment, request.environment};
    if (!request.installed)
        return {FolderSource::WorkingFolder, {}};
    if (request.remembered.isEmpty())
        return {FolderSource::FirstStart, {}};
    if (holdsArchive(request.remembered))
        return {FolderSource::Remembered, request.remembered};
    return {FolderSource::FirstStart, {}, request.remembered};
}

QString rememberedFolder() { return startSettings().value(kRememberedKey).toString(); }

void rememberFolder(const QString &folder)
{
    QSettings settings = startSettings();
    settings.setValue(kRememberedKey, QFileInfo(folder).absoluteFilePath());
    settings.sync();
}

} // namespace app
