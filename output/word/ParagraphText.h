#pragma once
// The text of one paragraph as a reader sees it, mapped back to the XML nodes that hold it,
// and the edits find-and-replace makes through that map. Internal to the automation layer.

#include "output/word/StoryPart.h"

#include <QString>
#include <pugixml.hpp>
#include <vector>

namespace word::detail {

bool isParagraph(const pugi::xml_node &node, Flavour flavour);
// Elements whose paragraphs are not part of the document's visible text (comments,
// tracked deletions kept aside by OpenDocument).
bool isHiddenStory(const pugi::xml_node &node, Flavour flavour);

class ParagraphText {
public:
    ParagraphText(pugi::xml_node paragraph, Flavour flavour);

    const QString &text() const { return m_text; }
    // Replaces the characters [from, to) by `replacement`, in the node that holds `from`.
    // Matches must be replaced from the last to the first: offsets are those of text().
    void replaceRange(int from, int to, const QString &replacement);
    // Turns the carriage returns, tabs and vertical tabs of the edited text into paragraph
    // breaks, tabs and line breaks of the file, and drops characters XML cannot hold.
    void finish();

private:
    struct Piece {
        pugi::xml_node node;   // the text holder (w:t, or a text node) or the mark (w:tab, text:s...)
        int start = 0;
        int length = 0;
        bool mark = false;
    };

    void collect(const pugi::xml_node &container);
    void addText(const pugi::xml_node &holder, const QString &text);
    void addMark(const pugi::xml_node &node, const QString &shownAs);

    QString textOf(const pugi::xml_node &holder) const;
    void setText(pugi::xml_node holder, const QString &text) const;
    pugi::xml_node newText(pugi::xml_node beside, bool after, const QString &text) const;
    void insertMarkAfter(pugi::xml_node holder, QChar kind, int count) const;
    void splitParagraphAfter(pugi::xml_node holder) const;
    void materialise(pugi::xml_node holder) const;

    pugi::xml_node m_paragraph;
    Flavour m_flavour;
    QString m_text;
    std::vector<Piece> m_pieces;
    std::vector<pugi::xml_node> m_edited;
};

} // namespace word::detail
