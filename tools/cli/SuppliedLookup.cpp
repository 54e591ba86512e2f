#include "tools/cli/SuppliedLookup.h"

#include "engine/ArchiveLocation.h"
#include "platform/FileOps.h"
#include "platform/SuppliedFiles.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

namespace {

// The folder beside an archive file; for a server's archive, in the folder the command runs
// in (an office's application folder, where the program keeps its own).
QString besideArchive(const QString &archive, const QString &folder)
{
    const QDir base = dao::ArchiveLocation(archive).isServer() ? QDir::current() : QFileInfo(archive).absoluteDir();
    return base.absoluteFilePath(folder) + QLatin1Char('/');
}

} // namespace

QString layoutFolderFor(const QString &archive, const QString &layoutFile)
{
    const QString own = besideArchive(archive, QStringLiteral("stampe"));
    if (QFileInfo::exists(own + layoutFile))
        return own;
    const QString supplied = platform::suppliedFile(QStringLiteral("stampe/") + layoutFile);
    return supplied.isEmpty() ? own : platform::folderOf(supplied);
}

QString templatePathFor(const QString &archive, const QString &templatePath)
{
    if (QFileInfo::exists(templatePath))
        return templatePath;
    // Only a bare name is looked for elsewhere: a path the user spelled out is theirs.
    if (templatePath.contains(QLatin1Char('/')))
        return templatePath;
    const QString own = besideArchive(archive, QStringLiteral("word")) + templatePath;
    if (QFileInfo::exists(own))
        return own;
    const QString supplied = platform::suppliedFile(QStringLiteral("word/") + templatePath);
    return supplied.isEmpty() ? templatePath : supplied;
}

} // namespace cli
