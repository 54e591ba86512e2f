#include "output/word/MacroFreePackage.h"

#include "output/word/StoryPart.h"

#include <QSet>
#include <QStringList>
#include <pugixml.hpp>
#include <sstream>

namespace word {

namespace {

const QString kContentTypes = QStringLiteral("[Content_Types].xml");
const char *const kPlainMain = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
const QStringList kMacroMains = {QStringLiteral("application/vnd.ms-word.document.macroEnabled.main+xml"),
                                 QStringLiteral("application/vnd.ms-word.template.macroEnabledTemplate.main+xml")};
// Parts that exist only for macros: the project, its data, key bindings and tool bars
// that call macros.
const QStringList kMacroParts = {QStringLiteral("application/vnd.ms-office.vbaProject"),
                                 QStringLiteral("application/vnd.ms-word.vbaData+xml"),
                                 QStringLiteral("application/vnd.ms-word.keyMapCustomizations+xml"),
                                 QStringLiteral("application/vnd.ms-word.attachedToolbars")};

QString attr(const pugi::xml_node &node, const char *name) { return QString::fromUtf8(node.attribute(name).value()); }

QByteArray toBytes(const pugi::xml_document &xml)
{
    std::ostringstream out;
    xml.save(out, "", pugi::format_raw);
    return QByteArray::fromStdString(out.str());
}

QString extensionOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

// The folder whose parts a relationships file speaks for: "word/_rels/document.xml.rels"
// speaks for parts in "word/".
QString sourceFolderOf(const QString &relsName)
{
    const qsizetype at = relsName.lastIndexOf(QStringLiteral("_rels/"));
    return relsName.left(at);
}

QSet<QString> macroPartNames(const ZipPackage &package, const pugi::xml_node &types)
{
    QHash<QString, QString> byExtension;
    QHash<QString, QString> byPart;
    for (const pugi::xml_node &node : types.children("Default"))
        byExtension.insert(attr(node, "Extension").toLower(), attr(node, "ContentType"));
    for (const pugi::xml_node &node : types.children("Override"))
        byPart.insert(resolvePartTarget(QString(), attr(node, "PartName")), attr(node, "ContentType"));
    QSet<QString> names;
    for (const PackageEntry &entry : package.entries()) {
        const QString type = byPart.value(entry.name, byExtension.value(extensionOf(entry.name)));
        if (kMacroParts.contains(type))
            names.insert(entry.name);
    }
    return names;
}

void dropRelationshipsTo(ZipPackage &package, const QSet<QString> &dropped)
{
    for (const PackageEntry &entry : std::vector<PackageEntry>(package.entries())) {
        if (!entry.name.endsWith(QLatin1String(".rels")))
            continue;
        pugi::xml_document xml;
        parseSafely(xml, entry.data, entry.name);
        const QString folder = sourceFolderOf(entry.name);
        std::vector<pugi::xml_node> gone;
        for (const pugi::xml_node &relation : xml.document_element().children("Relationship")) {
            if (attr(relation, "TargetMode") != QLatin1String("External")
                && dropped.contains(resolvePartTarget(folder, attr(relation, "Target"))))
                gone.push_back(relation);
        }
        for (const pugi::xml_node &relation : gone)
            xml.document_element().remove_child(relation);
        if (!gone.empty())
            package.find(entry.name)->data = toBytes(xml);
    }
}

} // namespace

bool makeMacroFree(ZipPackage &package)
{
    PackageEntry *typesEntry = package.find(kContentTypes);
    if (!typesEntry)
        return false;
    pugi::xml_document xml;
    parseSafely(xml, typesEntry->data, kContentTypes);
    pugi::xml_node types = xml.document_element();

    bool changed = false;
    for (pugi::xml_node node : types.children("Override")) {
        if (kMacroMains.contains(attr(node, "ContentType"))) {
            node.attribute("ContentType").set_value(kPlainMain);
            changed = true;
        }
    }
    QSet<QString> dropped = macroPartNames(package, types);
    // A dropped part's own relationships file goes with it.
    for (const QString &name : QSet<QString>(dropped)) {
        const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
        dropped.insert(name.left(slash + 1) + QStringLiteral("_rels/") + name.mid(slash + 1) + QStringLiteral(".rels"));
    }
    if (!changed && dropped.isEmpty())
        return false;

    std::vector<pugi::xml_node> gone;
    for (const pugi::xml_node &node : types.children("Override")) {
        if (dropped.contains(resolvePartTarget(QString(), attr(node, "PartName"))))
            gone.push_back(node);
    }
    for (const pugi::xml_node &node : types.children("Default")) {
        if (kMacroParts.contains(attr(node, "ContentType")))
            gone.push_back(node);
    }
    for (const pugi::xml_node &node : gone)
        types.remove_child(node);
    typesEntry->data = toBytes(xml);

    for (const QString &name : dropped)
        package.remove(name);
    dropRelationshipsTo(package, dropped);
    return true;
}

} // namespace word
