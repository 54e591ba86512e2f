#include "output/word/Application.h"

#include "output/word/AutomationError.h"
#include "output/word/DocConverter.h"
#include "output/word/DocumentWindow.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace word {

namespace {

ZipPackage readTemplate(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        throw AutomationError(QStringLiteral("Modello non trovato: \"%1\".").arg(path));
    if (info.suffix().compare(QLatin1String("doc"), Qt::CaseInsensitive) == 0)
        return ZipPackage::fromBytes(convertToDocx(path), path);
    return ZipPackage::read(path);
}

} // namespace

Document &DocumentsCollection::Add(const QString &templatePath)
{
    DocumentPackage package = DocumentPackage::fromTemplate(readTemplate(templatePath), templatePath);
    // Closed documents nobody shows are gone for good; a batch of fills keeps only its last.
    std::erase_if(m_documents, [](const std::unique_ptr<Document> &document) {
        return document->isClosed() && !document->window();
    });
    m_documents.push_back(
        std::make_unique<Document>(std::move(package), QStringLiteral("Documento%1").arg(++m_made)));
    m_application.setActive(m_documents.back().get());
    return *m_documents.back();
}

Application::Application() = default;
Application::~Application() = default;

Document *Application::ActiveDocument() const
{
    return m_active && !m_active->isClosed() ? m_active : nullptr;
}

QString Application::documentFolder() const
{
    if (!m_documentFolder.isEmpty())
        return m_documentFolder;
    // The run-time folder is the user's own (0700) and emptied at logout.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/tavorio-documenti");
}

void Application::setVisible(bool visible)
{
    m_visible = visible;
    if (!visible)
        return;
    for (int i = 0; i < m_documents.Count(); ++i) {
        Document &document = m_documents.Item(i);
        if (!document.isClosed() && !document.window())
            document.setWindow(std::make_unique<DocumentWindow>(document, documentFolder(), m_opener));
    }
}

} // namespace word
