#pragma once
// One XML part of a package that holds text the reader sees: the body, a header or footer,
// the footnotes (Office Open XML), or content.xml and styles.xml (OpenDocument). Find and
// replace work paragraph by paragraph on the text a reader sees, wherever the file splits
// it: across formatting runs and spans, proofing marks, bookmarks and revision ids. Text
// boxes, table cells and footnotes are paragraphs of their own and are searched as such.

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace pugi {
class xml_document;
class xml_node;
}

namespace word {

enum class Flavour { OfficeOpenXml, OpenDocument };

class StoryPart {
public:
    // Throws AutomationError when the XML is malformed, declares a DOCTYPE (the way in for
    // external entities) or nests absurdly deep.
    StoryPart(QString entryName, Flavour flavour, const QByteArray &xml);
    ~StoryPart();
    StoryPart(StoryPart &&) noexcept;
    StoryPart &operator=(StoryPart &&) noexcept;

    const QString &entryName() const { return m_entryName; }
    bool modified() const { return m_modified; }
    QByteArray toXml() const;

    // Replaces every occurrence of `text` by `replacement` (or only the first when `all` is
    // false) and returns how many were replaced. The replacement takes the formatting of the
    // first character found; a carriage return in it ends the paragraph and starts a new one
    // with the same paragraph formatting, a tab becomes a tab and a vertical tab a line break.
    int replace(const QString &text, const QString &replacement, Qt::CaseSensitivity cs, bool all);
    // How many times `text` occurs.
    int count(const QString &text, Qt::CaseSensitivity cs) const;

    // The text of every paragraph, one per line, as a reader sees it (for checks and tests).
    QString plainText() const;

private:
    struct Paragraph;
    // Every paragraph with its text, read once: a fill runs one search per field, and only
    // the paragraphs a replacement touched are read again.
    const std::vector<Paragraph> &paragraphs() const;

    QString m_entryName;
    Flavour m_flavour;
    std::unique_ptr<pugi::xml_document> m_xml;
    mutable std::vector<Paragraph> m_paragraphs;
    mutable bool m_indexed = false;
    bool m_modified = false;
};

// Parses a package's XML part that is not a story (relationships, manifest) with the same
// refusals; throws AutomationError.
void parseSafely(pugi::xml_document &document, const QByteArray &xml, const QString &entryName);

} // namespace word
