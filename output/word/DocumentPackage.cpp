#include "output/word/DocumentPackage.h"

#include "output/word/AutomationError.h"
#include "output/word/MacroFreePackage.h"

#include <QStringList>
#include <pugixml.hpp>

namespace word {

namespace {

const QByteArray kOdfText = "application/vnd.oasis.opendocument.text";
const QByteArray kOdfTemplate = "application/vnd.oasis.opendocument.text-template";
const QByteArray kOoxmlTemplate = "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";
const QByteArray kOoxmlDocument = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";

AutomationError notAText(const QString &templateName)
{
    return AutomationError(
        QStringLiteral("Il modello \"%1\" non è un documento di testo (.docx o .odt).").arg(templateName));
}

QString folderOf(const QString &entry)
{
    const qsizetype slash = entry.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : entry.left(slash + 1);
}

// The targets of the relationships of `rels` whose type ends with one of `types`.
QStringList relationshipTargets(const ZipPackage &package, const QString &rels, const QString &folder,
                                const QStringList &types)
{
    QStringList targets;
    const PackageEntry *entry = package.find(rels);
    if (!entry)
        return targets;
    pugi::xml_document xml;
    parseSafely(xml, entry->data, rels);
    for (const pugi::xml_node &relation : xml.document_element().children("Relationship")) {
        const QString type = QString::fromUtf8(relation.attribute("Type").value());
        if (relation.attribute("TargetMode").value() == std::string("External"))
            continue;
        for (const QString &wanted : types) {
            if (type.endsWith(QLatin1Char('/') + wanted))
                targets << resolvePartTarget(folder, QString::fromUtf8(relation.attribute("Target").value()));
        }
    }
    return targets;
}

} // namespace

DocumentPackage DocumentPackage::fromTemplate(ZipPackage package, const QString &templateName)
{
    if (PackageEntry *mimetype = package.find(QStringLiteral("mimetype"))) {
        if (!mimetype->data.trimmed().startsWith(kOdfText))
            throw notAText(templateName);
        // A document made from a template is a document, not another template.
        if (mimetype->data.trimmed() == kOdfTemplate)
            mimetype->data = kOdfText;
        if (PackageEntry *manifest = package.find(QStringLiteral("META-INF/manifest.xml")))
            manifest->data.replace("\"" + kOdfTemplate + "\"", "\"" + kOdfText + "\"");
        DocumentPackage document(std::move(package), Flavour::OpenDocument);
        document.readStories({QStringLiteral("content.xml"), QStringLiteral("styles.xml")}, templateName);
        return document;
    }

    // Made from a macro-enabled template, the document is a plain .docx without the macros.
    makeMacroFree(package);
    PackageEntry *types = package.find(QStringLiteral("[Content_Types].xml"));
    if (!types)
        throw notAText(templateName);
    types->data.replace(kOoxmlTemplate, kOoxmlDocument);
    const QStringList main =
        relationshipTargets(package, QStringLiteral("_rels/.rels"), QString(), {QStringLiteral("officeDocument")});
    if (main.size() != 1 || !package.find(main.front()))
        throw notAText(templateName);
    const QString folder = folderOf(main.front());
    const QString rels = folder + QStringLiteral("_rels/") + main.front().mid(folder.size()) + QStringLiteral(".rels");
    QStringList stories = main;
    stories << relationshipTargets(package, rels, folder,
                                   {QStringLiteral("header"), QStringLiteral("footer"), QStringLiteral("footnotes"),
                                    QStringLiteral("endnotes")});
    DocumentPackage document(std::move(package), Flavour::OfficeOpenXml);
    document.readStories(stories, templateName);
    return document;
}

void DocumentPackage::readStories(const QStringList &names, const QString &templateName)
{
    for (const QString &name : names) {
        const PackageEntry *entry = m_package.find(name);
        if (!entry) {
            if (name == names.front())
                throw notAText(templateName);
            continue;
        }
        m_stories.emplace_back(name, m_flavour, entry->data);
    }
}

QString DocumentPackage::extension() const
{
    return m_flavour == Flavour::OpenDocument ? QStringLiteral(".odt") : QStringLiteral(".docx");
}

QByteArray DocumentPackage::toBytes() const
{
    ZipPackage out = m_package;
    for (const StoryPart &story : m_stories) {
        if (story.modified())
            out.find(story.entryName())->data = story.toXml();
    }
    return out.toBytes();
}

} // namespace word
