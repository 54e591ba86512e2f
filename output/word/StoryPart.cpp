#include "output/word/StoryPart.h"

#include "output/word/AutomationError.h"
#include "output/word/ParagraphText.h"

#include <QStringList>
#include <pugixml.hpp>
#include <vector>

namespace word {

namespace {

// Real documents nest a few dozen levels at most; a file nesting thousands deep is made to
// exhaust the stack of whatever walks it.
constexpr int kMaxDepth = 256;

class DepthCheck final : public pugi::xml_tree_walker {
public:
    bool for_each(pugi::xml_node &) override
    {
        tooDeep = depth() > kMaxDepth;
        return !tooDeep;
    }
    bool tooDeep = false;
};

class ByteWriter final : public pugi::xml_writer {
public:
    void write(const void *data, size_t size) override { bytes.append(static_cast<const char *>(data), qsizetype(size)); }
    QByteArray bytes;
};

AutomationError refused(const QString &entryName, const QString &reason)
{
    return AutomationError(QStringLiteral("Parte \"%1\" del modello non accettata: %2.").arg(entryName, reason));
}

// Every paragraph of the part in document order, text-box and table-cell paragraphs
// included, comments and kept-aside deletions not. Walked without recursion.
std::vector<pugi::xml_node> paragraphsOf(const pugi::xml_document &xml, Flavour flavour)
{
    std::vector<pugi::xml_node> paragraphs;
    pugi::xml_node node = xml.first_child();
    while (node) {
        bool descend = node.type() == pugi::node_element && !detail::isHiddenStory(node, flavour);
        if (descend && detail::isParagraph(node, flavour))
            paragraphs.push_back(node);
        if (descend && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling())
            node = node.parent();
        if (node)
            node = node.next_sibling();
    }
    return paragraphs;
}

} // namespace

void parseSafely(pugi::xml_document &document, const QByteArray &xml, const QString &entryName)
{
    const pugi::xml_parse_result result =
        document.load_buffer(xml.constData(), size_t(xml.size()), pugi::parse_full | pugi::parse_ws_pcdata,
                             pugi::encoding_utf8);
    if (!result)
        throw refused(entryName, QStringLiteral("XML non valido alla posizione %1 (%2)")
                                     .arg(result.offset)
                                     .arg(QString::fromUtf8(result.description())));
    for (const pugi::xml_node &node : document.children()) {
        if (node.type() == pugi::node_doctype)
            throw refused(entryName, QStringLiteral("dichiarazione DOCTYPE (entità esterne) non ammessa"));
    }
    DepthCheck depth;
    document.traverse(depth);
    if (depth.tooDeep)
        throw refused(entryName, QStringLiteral("annidamento troppo profondo"));
}

struct StoryPart::Paragraph {
    pugi::xml_node node;
    QString text;
};

StoryPart::StoryPart(QString entryName, Flavour flavour, const QByteArray &xml)
    : m_entryName(std::move(entryName)), m_flavour(flavour), m_xml(std::make_unique<pugi::xml_document>())
{
    parseSafely(*m_xml, xml, m_entryName);
}

StoryPart::~StoryPart() = default;
StoryPart::StoryPart(StoryPart &&) noexcept = default;
StoryPart &StoryPart::operator=(StoryPart &&) noexcept = default;

QByteArray StoryPart::toXml() const
{
    ByteWriter writer;
    m_xml->save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return writer.bytes;
}

const std::vector<StoryPart::Paragraph> &StoryPart::paragraphs() const
{
    if (!m_indexed) {
        for (const pugi::xml_node &node : paragraphsOf(*m_xml, m_flavour))
            m_paragraphs.push_back({node, detail::ParagraphText(node, m_flavour).text()});
        m_indexed = true;
    }
    return m_paragraphs;
}

int StoryPart::replace(const QString &text, const QString &replacement, Qt::CaseSensitivity cs, bool all)
{
    if (text.isEmpty())
        return 0;
    paragraphs();
    int replaced = 0;
    for (size_t i = 0; i < m_paragraphs.size(); ++i) {
        if (!m_paragraphs[i].text.contains(text, cs))
            continue;
        const pugi::xml_node paragraph = m_paragraphs[i].node;
        const pugi::xml_node following = paragraph.next_sibling();
        detail::ParagraphText para(paragraph, m_flavour);
        std::vector<qsizetype> found;
        for (qsizetype at = para.text().indexOf(text, 0, cs); at >= 0;
             at = para.text().indexOf(text, at + text.size(), cs)) {
            found.push_back(at);
            if (!all)
                break;
        }
        // From the last to the first, so that the offsets of the earlier ones still hold.
        for (auto at = found.rbegin(); at != found.rend(); ++at)
            para.replaceRange(int(*at), int(*at + text.size()), replacement);
        para.finish();
        replaced += int(found.size());
        m_modified = true;

        // Paragraph breaks in the replacement made new paragraphs right after this one.
        m_paragraphs[i].text = detail::ParagraphText(paragraph, m_flavour).text();
        for (pugi::xml_node added = paragraph.next_sibling(); added && added != following;
             added = added.next_sibling())
            m_paragraphs.insert(m_paragraphs.begin() + qsizetype(++i),
                                {added, detail::ParagraphText(added, m_flavour).text()});
        if (!all && replaced > 0)
            break;
    }
    return replaced;
}

int StoryPart::count(const QString &text, Qt::CaseSensitivity cs) const
{
    if (text.isEmpty())
        return 0;
    int found = 0;
    for (const Paragraph &paragraph : paragraphs())
        found += int(paragraph.text.count(text, cs));
    return found;
}

QString StoryPart::plainText() const
{
    QStringList lines;
    for (const Paragraph &paragraph : paragraphs())
        lines << paragraph.text;
    return lines.join(QLatin1Char('\n'));
}

} // namespace word
