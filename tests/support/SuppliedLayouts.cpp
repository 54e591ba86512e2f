#include "tests/support/SuppliedLayouts.h"

#include <QDir>
#include <QFile>

namespace testsupport {

QString suppliedLayoutFolder()
{
    return QStringLiteral(TAVORIO_SOURCE_DIR "/data/stampe");
}

bool copySuppliedLayouts(const QString &appFolder)
{
    const QDir supplied(suppliedLayoutFolder());
    const QDir target(appFolder + QStringLiteral("/stampe"));
    if (!QDir().mkpath(target.path()))
        return false;
    const QStringList names = supplied.entryList(QDir::Files);
    bool copied = !names.isEmpty();
    for (const QString &name : names)
        copied = QFile::copy(supplied.filePath(name), target.filePath(name)) && copied;
    return copied;
}

} // namespace testsupport
