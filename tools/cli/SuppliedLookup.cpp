#include "tools/cli/SuppliedLookup.h"

#include "platform/FileOps.h"
#include "platform/SuppliedFiles.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

namespace {

QString besideArchive(const QString &archive, const QString &folder)
{
    return QFileInfo(archive).absoluteDir().filePath(folder) + QLatin1Char('/');
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
