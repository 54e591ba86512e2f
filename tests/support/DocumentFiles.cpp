#include "DocumentFiles.h"

#include "output/word/DocumentPackage.h"

#include <QFile>
#include <QStringList>
#include <sys/stat.h>

namespace testsupport {

QString documentText(const QByteArray &package)
{
    const word::DocumentPackage document = word::DocumentPackage::fromTemplate(
        word::ZipPackage::fromBytes(package, QStringLiteral("prova")), QStringLiteral("prova"));
    QStringList texts;
    for (const word::StoryPart &story : document.stories()) {
        if (const QString text = story.plainText(); !text.isEmpty())
            texts << text;
    }
    return texts.join(QLatin1Char('\n'));
}

int modeOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 0777);
}

} // namespace testsupport
