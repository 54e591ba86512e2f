#include "output/report/ui/dialogs/TemplateFile.h"

#include "output/report/TqnReport.h"
#include "output/report/file/LayoutWriter.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

// A template file is:
//   4 bytes  "QNT1"
//   then, in QDataStream's Qt 6.0 encoding (big-endian):
//   QString     the description
//   QByteArray  the picture, as the image file's own bytes (empty: none)
//   QByteArray  the layout, exactly as a ".qnf" file holds it
// Anything after the layout is ignored, so that later versions may append.

namespace {

const QByteArray kMagic = QByteArrayLiteral("QNT1");
constexpr qint64 kMaxTemplateBytes = 64 * 1024 * 1024;

} // namespace

bool writeTemplate(const QString &path, const TqnTemplate &content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(kMagic);
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_0);
    out << content.description << content.picture << content.layout;
    return out.status() == QDataStream::Ok && file.commit();
}

std::optional<TqnTemplate> readTemplate(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTemplateBytes || file.read(4) != kMagic)
        return std::nullopt;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    TqnTemplate content;
    in >> content.description >> content.picture >> content.layout;
    if (in.status() != QDataStream::Ok || content.layout.isEmpty())
        return std::nullopt;
    return content;
}

QString templatePath(const TqnReport &report, const QString &name)
{
    const QString suffix = QFileInfo(name).suffix();
    QString path = name;
    if (suffix.compare(QStringLiteral("qnt"), Qt::CaseInsensitive) != 0)
        path = name.left(name.size() - (suffix.isEmpty() ? 0 : suffix.size() + 1)) + QStringLiteral(".qnt");
    if (!path.contains(QLatin1Char('/')) && !report.TemplateDir.isEmpty())
        path = QDir(report.TemplateDir).filePath(path);
    return path;
}

void useTemplate(TqnReport &report, const TqnTemplate &content)
{
    // Read exactly as a layout file is read; the new layout has no file name of its own.
    report.ResetLayout();
    report.loadFromMemory(content.layout);
    report.layout().FileName.clear();
}
