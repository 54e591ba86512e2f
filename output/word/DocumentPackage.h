#pragma once
// A word-processing document in memory: its package and the parts that hold its text. Made
// from a template (.docx, .dotx, .odt, .ott), it is an ordinary document of the same family
// (a template's content type becomes a document's, a macro-enabled one loses its macros);
// the template file is only read.

#include "output/word/StoryPart.h"
#include "output/word/ZipPackage.h"

#include <vector>

namespace word {

class DocumentPackage {
public:
    // Throws AutomationError when the package is not a text document of either family or a
    // text part cannot be read.
    static DocumentPackage fromTemplate(ZipPackage package, const QString &templateName);

    Flavour flavour() const { return m_flavour; }
    // ".docx" or ".odt": what a document made from this template is saved as.
    QString extension() const;
    std::vector<StoryPart> &stories() { return m_stories; }
    const std::vector<StoryPart> &stories() const { return m_stories; }

    // The package with the edited parts, as zip bytes.
    QByteArray toBytes() const;

private:
    DocumentPackage(ZipPackage package, Flavour flavour) : m_package(std::move(package)), m_flavour(flavour) {}
    void readStories(const QStringList &names, const QString &templateName);

    ZipPackage m_package;
    Flavour m_flavour;
    std::vector<StoryPart> m_stories;
};

} // namespace word
