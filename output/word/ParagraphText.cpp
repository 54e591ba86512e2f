#include "output/word/ParagraphText.h"

#include <algorithm>
#include <cstring>

namespace word::detail {

namespace {

bool is(const pugi::xml_node &node, const char *name) { return std::strcmp(node.name(), name) == 0; }

bool isAnyOf(const pugi::xml_node &node, std::initializer_list<const char *> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char *name) { return is(node, name); });
}

// Inline elements whose content is part of the paragraph's text. Everything else (drawings
// with their text boxes, footnote references, field codes, deleted text) is not.
bool isInlineContainer(const pugi::xml_node &node, Flavour flavour)
{
    if (flavour == Flavour::OfficeOpenXml)
        return isAnyOf(node, {"w:r", "w:hyperlink", "w:smartTag", "w:ins", "w:moveTo", "w:fldSimple", "w:sdt",
                              "w:sdtContent", "w:customXml", "w:dir", "w:bdo"});
    return isAnyOf(node, {"text:span", "text:a", "text:meta"});
}

// Identities that must stay unique in the file are not carried over to a split-off copy.
bool isIdentity(const char *attribute)
{
    for (const char *name : {"w14:paraId", "w14:textId", "xml:id", "text:id"}) {
        if (std::strcmp(attribute, name) == 0)
            return true;
    }
    return false;
}

bool xmlCanHold(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

} // namespace

bool isParagraph(const pugi::xml_node &node, Flavour flavour)
{
    if (flavour == Flavour::OfficeOpenXml)
        return is(node, "w:p");
    return is(node, "text:p") || is(node, "text:h");
}

bool isHiddenStory(const pugi::xml_node &node, Flavour flavour)
{
    return flavour == Flavour::OpenDocument && isAnyOf(node, {"office:annotation", "text:tracked-changes"});
}

ParagraphText::ParagraphText(pugi::xml_node paragraph, Flavour flavour)
    : m_paragraph(paragraph), m_flavour(flavour)
{
    collect(paragraph);
}

void ParagraphText::collect(const pugi::xml_node &container)
{
    const bool ooxml = m_flavour == Flavour::OfficeOpenXml;
    for (pugi::xml_node child = container.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            if (!ooxml)
                addText(child, textOf(child));
            continue;
        }
        if (child.type() != pugi::node_element)
            continue;
        if (ooxml && is(child, "w:t")) {
            addText(child, textOf(child));
        } else if (ooxml ? is(child, "w:tab") : is(child, "text:tab")) {
            addMark(child, QStringLiteral("\t"));
        } else if (ooxml ? isAnyOf(child, {"w:br", "w:cr"}) : is(child, "text:line-break")) {
            addMark(child, QStringLiteral("\v"));
        } else if (ooxml && is(child, "w:noBreakHyphen")) {
            addMark(child, QStringLiteral("-"));
        } else if (!ooxml && is(child, "text:s")) {
            addMark(child, QString(std::max(1, child.attribute("text:c").as_int(1)), QLatin1Char(' ')));
        } else if (isInlineContainer(child, m_flavour)) {
            collect(child);
        }
    }
}

void ParagraphText::addText(const pugi::xml_node &holder, const QString &text)
{
    m_pieces.push_back({holder, int(m_text.size()), int(text.size()), false});
    m_text += text;
}

void ParagraphText::addMark(const pugi::xml_node &node, const QString &shownAs)
{
    m_pieces.push_back({node, int(m_text.size()), int(shownAs.size()), true});
    m_text += shownAs;
}

QString ParagraphText::textOf(const pugi::xml_node &holder) const
{
    if (m_flavour == Flavour::OfficeOpenXml)
        return QString::fromUtf8(holder.text().get());
    return QString::fromUtf8(holder.value());
}

void ParagraphText::setText(pugi::xml_node holder, const QString &text) const
{
    const QByteArray utf8 = text.toUtf8();
    if (m_flavour == Flavour::OpenDocument) {
        holder.set_value(utf8.constData());
        return;
    }
    holder.text().set(utf8.constData());
    // Word drops leading and trailing blanks of a text element unless told to keep them.
    if (!holder.attribute("xml:space"))
        holder.append_attribute("xml:space") = "preserve";
}

// A new text holder right after or right before `beside`, in the same run or span.
pugi::xml_node ParagraphText::newText(pugi::xml_node beside, bool after, const QString &text) const
{
    pugi::xml_node parent = beside.parent();
    pugi::xml_node added;
    if (m_flavour == Flavour::OfficeOpenXml)
        added = after ? parent.insert_child_after("w:t", beside) : parent.insert_child_before("w:t", beside);
    else
        added = after ? parent.insert_child_after(pugi::node_pcdata, beside)
                      : parent.insert_child_before(pugi::node_pcdata, beside);
    setText(added, text);
    return added;
}

void ParagraphText::insertMarkAfter(pugi::xml_node holder, QChar kind, int count) const
{
    pugi::xml_node parent = holder.parent();
    if (m_flavour == Flavour::OfficeOpenXml) {
        if (kind == u'\t')
            parent.insert_child_after("w:tab", holder);
        else if (kind == u'\f')
            parent.insert_child_after("w:br", holder).append_attribute("w:type") = "page";
        else
            parent.insert_child_after("w:br", holder);
        return;
    }
    if (kind == u'\t')
        parent.insert_child_after("text:tab", holder);
    else if (kind == u'\v')
        parent.insert_child_after("text:line-break", holder);
    else if (kind == u' ')
        parent.insert_child_after("text:s", holder).append_attribute("text:c") = count;
}

void ParagraphText::replaceRange(int from, int to, const QString &replacement)
{
    bool placed = false;
    for (const Piece &piece : m_pieces) {
        const int end = piece.start + piece.length;
        if (piece.length == 0 || end <= from)
            continue;
        if (piece.start >= to)
            break;
        const int cutFrom = std::max(from, piece.start) - piece.start;
        const int cutTo = std::min(to, end) - piece.start;
        if (!piece.mark) {
            QString text = textOf(piece.node);
            text.replace(cutFrom, cutTo - cutFrom, placed ? QString() : replacement);
            setText(piece.node, text);
            m_edited.push_back(piece.node);
            placed = true;
            continue;
        }
        if (!placed) {
            m_edited.push_back(newText(piece.node, false, replacement));
            placed = true;
        }
        const int left = piece.length - (cutTo - cutFrom);
        if (left > 0 && is(piece.node, "text:s"))
            piece.node.attribute("text:c").set_value(left);
        else
            piece.node.parent().remove_child(piece.node);
    }
}

void ParagraphText::finish()
{
    std::vector<pugi::xml_node> edited;
    for (const pugi::xml_node &node : m_edited) {
        if (std::find(edited.begin(), edited.end(), node) == edited.end())
            edited.push_back(node);
    }
    for (const pugi::xml_node &node : edited)
        materialise(node);
    m_edited.clear();
}

// Line ends become paragraph breaks; OpenDocument also needs its own mark for every blank
// after the first of a run, or a reader collapses them.
void ParagraphText::materialise(pugi::xml_node holder) const
{
    QString text = textOf(holder);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    text.removeIf([](QChar c) { return !xmlCanHold(c.unicode()) && c != u'\v' && c != u'\f'; });

    const bool odf = m_flavour == Flavour::OpenDocument;
    pugi::xml_node current = holder;
    for (;;) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < text.size() && at < 0; ++i) {
            const QChar c = text[i];
            if (c == u'\r' || c == u'\t' || c == u'\v' || c == u'\f'
                || (odf && c == u' ' && i + 1 < text.size() && text[i + 1] == u' '))
                at = i;
        }
        if (at < 0) {
            setText(current, text);
            return;
        }
        const QChar kind = text[at];
        qsizetype resume = at + 1;
        int blanks = 0;
        if (kind == u' ') {
            while (resume < text.size() && text[resume] == u' ')
                ++resume;
            blanks = int(resume - at - 1);
            ++at;   // the first blank of the run stays in the text
        }
        setText(current, text.left(at));
        pugi::xml_node next = newText(current, true, QString());
        if (kind == u'\r')
            splitParagraphAfter(current);
        else
            insertMarkAfter(current, kind, blanks);
        text = text.mid(resume);
        current = next;
    }
}

// Everything after `holder` in its paragraph moves to a new paragraph right after it. Each
// element on the way up is split in two; the new half keeps the attributes (the style) and,
// in Office Open XML, a copy of the run or paragraph properties.
void ParagraphText::splitParagraphAfter(pugi::xml_node holder) const
{
    pugi::xml_node current = holder;
    for (;;) {
        pugi::xml_node parent = current.parent();
        pugi::xml_node half = parent.parent().insert_child_after(parent.name(), parent);
        for (const pugi::xml_attribute &attribute : parent.attributes()) {
            if (!isIdentity(attribute.name()))
                half.append_attribute(attribute.name()) = attribute.value();
        }
        if (m_flavour == Flavour::OfficeOpenXml) {
            for (const pugi::xml_node &child : parent.children()) {
                if (is(child, "w:pPr") || is(child, "w:rPr"))
                    half.append_copy(child);
            }
        }
        for (pugi::xml_node moving = current.next_sibling(); moving;) {
            const pugi::xml_node following = moving.next_sibling();
            half.append_move(moving);
            moving = following;
        }
        if (parent == m_paragraph || isParagraph(parent, m_flavour)) {
            // A section break belongs to the last paragraph of its section.
            pugi::xml_node properties = parent.child("w:pPr");
            if (pugi::xml_node section = properties.child("w:sectPr"))
                properties.remove_child(section);
            return;
        }
        current = parent;
    }
}

} // namespace word::detail
