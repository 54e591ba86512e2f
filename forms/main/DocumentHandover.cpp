#include "forms/main/DocumentHandover.h"

#include "controls/TMessageBox.h"
#include "platform/OutputFile.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <optional>

namespace {

constexpr int kQueryTimeoutMs = 5000;

// xdg-mime names the desktop file of the default application, or nothing when there is
// none; no answer at all when the question cannot be asked.
std::optional<QString> defaultApplicationFor(const QString &path)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return std::nullopt;
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(kQueryTimeoutMs) || query.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

} // namespace

bool openOnDesktop(const QString &path)
{
    // Without a default application xdg-open would fall back on a web browser, or on nothing.
    const std::optional<QString> application = defaultApplicationFor(path);
    if (application && application->isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString pickCopyPlace(QWidget *parent, const QString &suggested)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Salva una copia del documento"), suggested);
}

void offerDocumentCopy(QWidget &window, const TMessageBox &messages, const QString &path, const CopyPicker &picker)
{
    const QString place = QDir::toNativeSeparators(path);
    if (!messages.confirm(QStringLiteral("   Nessun programma ha aperto il documento.   \n"
                                         "   Il documento è in \"%1\".   \n\n"
                                         "   Salvarne una copia in un'altra cartella?   ")
                              .arg(place)))
        return;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString target = picker(&window, QDir(documents).filePath(QFileInfo(path).fileName()));
    if (target.isEmpty() || QFileInfo(target) == QFileInfo(path))
        return;
    // The chooser has already asked before replacing an existing file, which a failed copy
    // leaves as it was: the copy is written beside it and renamed, private as the document.
    QFile document(path);
    if (!document.open(QIODevice::ReadOnly) || !platform::writeOutputBytes(target, document.readAll()))
        messages.notice(QStringLiteral("   Impossibile salvare la copia in \"%1\".   ").arg(QDir::toNativeSeparators(target)));
}
