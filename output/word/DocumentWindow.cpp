#include "output/word/DocumentWindow.h"

#include "output/word/AutomationError.h"
#include "output/word/Document.h"
#include "output/word/ZipPackage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

namespace word {

namespace {

// Editors write a file in several steps; a save counts once the file has been still this long.
constexpr int kSettleMs = 300;

QString freeName(const QString &folder, const QString &name, const QString &extension)
{
    QString path = folder + QLatin1Char('/') + name + extension;
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = folder + QLatin1Char('/') + name + QStringLiteral(" (%1)").arg(copy) + extension;
    return path;
}

} // namespace

void makePrivateFolder(const QString &folder)
{
    if (!QDir().mkpath(folder)
        || !QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        throw AutomationError(QStringLiteral("Impossibile preparare la cartella privata \"%1\".").arg(folder));
}

DocumentWindow::DocumentWindow(Document &document, const QString &folder,
                               const std::function<void(const QString &)> &opener)
    : m_document(document)
{
    makePrivateFolder(folder);
    m_path = freeName(folder, document.Name(), document.extension());
    m_lastSeen = document.bytes();
    writePrivateFile(m_path, m_lastSeen);

    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &DocumentWindow::checkForSave);
    // Saving through a temporary file and a rename drops the watch on the file itself; the
    // folder's watch still sees it.
    m_watcher.addPath(folder);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_settle.start(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settle.start(); });
    watch();

    if (opener)
        opener(m_path);
    QTimer::singleShot(0, this, &DocumentWindow::raiseClose);
}

void DocumentWindow::watch()
{
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
}

void DocumentWindow::checkForSave()
{
    watch();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty() || bytes == m_lastSeen)
        return;
    try {
        ZipPackage::fromBytes(bytes, m_path);
    } catch (const AutomationError &) {
        return;   // still being written: the next change brings the rest
    }
    m_lastSeen = bytes;
    m_document.takeSavedVersion(bytes);
    raiseClose();
}

// The handler runs from the event loop: nothing may escape into it.
void DocumentWindow::raiseClose()
{
    if (!m_document.OnClose)
        return;
    try {
        m_document.OnClose();
    } catch (const std::exception &error) {
        qWarning("Chiusura del documento: %s", error.what());
    }
}

} // namespace word
