#include "output/word/Document.h"

#include "output/word/AutomationError.h"
#include "output/word/DocumentWindow.h"

#include <QDir>

namespace word {

Document::Document(DocumentPackage package, QString name) : m_package(std::move(package)), m_name(std::move(name)) {}

Document::~Document() = default;

DocumentPackage &Document::package()
{
    if (m_closed)
        throw AutomationError(QStringLiteral("Il documento \"%1\" è chiuso.").arg(m_name));
    return m_package;
}

QByteArray Document::bytes() const
{
    return m_savedVersion.isEmpty() ? m_package.toBytes() : m_savedVersion;
}

void Document::SaveAs(const QString &fileName) const
{
    if (m_closed)
        throw AutomationError(QStringLiteral("Il documento \"%1\" è chiuso.").arg(m_name));
    writePrivateFile(QDir::current().absoluteFilePath(fileName), bytes());
}

void Document::Close(int saveChanges)
{
    if (m_closed)
        return;
    if (saveChanges == wdSaveChanges && m_window)
        writePrivateFile(m_window->path(), bytes());
    m_closed = true;
}

void Document::takeSavedVersion(const QByteArray &bytes)
{
    m_savedVersion = bytes;
    m_closed = false;
}

void Document::setWindow(std::unique_ptr<DocumentWindow> window) { m_window = std::move(window); }

} // namespace word
