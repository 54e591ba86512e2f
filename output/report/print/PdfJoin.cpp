#include "output/report/print/PdfJoin.h"

#include "output/report/print/PdfObjects.h"

#include <QMap>
#include <QSet>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

// One part read: its objects, its page tree and the numbers its kept objects take in the
// joined file.
struct Part {
    PdfObjects objects;
    int pageTree = 0;
    QList<int> kids;
    QByteArray procSet;           // the tree's, written as it is
    QMap<int, int> renumbered;
};

bool onlyKeys(const PdfObjects &objects, const PdfObject &object, const QSet<QByteArray> &allowed)
{
    const QList<QByteArray> keys = object.keys(objects.file());
    return !object.stream && !keys.isEmpty() && std::all_of(keys.begin(), keys.end(), [&](const QByteArray &k) {
        return allowed.contains(k);
    });
}

// A catalogue that names nothing but its page tree, and a tree of one level whose kids are
// pages that name it as their parent.
bool readPart(const QByteArray &bytes, Part &part)
{
    PdfObjects &objects = part.objects;
    if (!objects.read(bytes))
        return false;
    const PdfObject &catalog = objects.object(objects.root());
    if (!onlyKeys(objects, catalog, {"Type", "Pages"}) || objects.nameOf(catalog, "Type") != "Catalog")
        return false;
    part.pageTree = objects.referenceOf(catalog, "Pages");
    const auto tree = objects.objects().constFind(part.pageTree);
    if (tree == objects.objects().cend() || !onlyKeys(objects, *tree, {"Type", "Kids", "Count", "ProcSet"})
        || objects.nameOf(*tree, "Type") != "Pages")
        return false;
    if (objects.info() != 0 && objects.object(objects.info()).stream)
        return false;
    if (const auto procSet = tree->entry(objects.file(), "ProcSet")) {
        const PdfToken &first = tree->tokens[procSet->first];
        const PdfToken &last = tree->tokens[procSet->second - 1];
        part.procSet = objects.file().mid(first.begin, last.end - first.begin);
        for (qsizetype i = procSet->first; i < procSet->second; ++i)
            if (objects.referenceAt(*tree, i) != 0)
                return false;
    }
    const auto kids = tree->entry(objects.file(), "Kids");
    const auto count = tree->entry(objects.file(), "Count");
    if (!kids || !count || count->second - count->first != 1 || kids->second - kids->first < 2
        || (kids->second - kids->first - 2) % 3 != 0 || objects.text(tree->tokens[kids->first]) != "[")
        return false;
    for (qsizetype i = kids->first + 1; i + 1 < kids->second; i += 3) {
        const int kid = objects.referenceAt(*tree, i);
        const auto page = objects.objects().constFind(kid);
        if (page == objects.objects().cend() || page->stream || objects.nameOf(*page, "Type") != "Page"
            || objects.referenceOf(*page, "Parent") != part.pageTree)
            return false;
        part.kids.push_back(kid);
    }
    return objects.text(tree->tokens[count->first]) == QByteArray::number(part.kids.size());
}

// A font subset's six-letter tag from its descriptor's number, so that no two subsets of the
// joined file share a name (a reader may take two subsets of one name for the same font).
QByteArray subsetTag(int number)
{
    QByteArray tag("Q");
    for (int i = 0; i < 5; ++i, number /= 26)
        tag.append(char('A' + number % 26));
    return tag;
}

bool isSubsetName(const QByteArray &name)
{
    if (name.size() < 8 || name[0] != '/' || name[7] != '+')
        return false;
    return std::all_of(name.begin() + 1, name.begin() + 7, [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Writes one object under its new number, its references renumbered. False when it refers to
// an object the joined file does not keep.
bool writeObject(const Part &part, const PdfObject &object, QByteArray &out)
{
    const PdfObjects &objects = part.objects;
    const QByteArray &file = objects.file();
    const int number = part.renumbered.value(object.number);
    const bool descriptor = objects.nameOf(object, "Type") == "FontDescriptor";
    const auto fontName = descriptor ? object.entry(file, "FontName") : std::nullopt;
    out += QByteArray::number(number) + " 0 obj";
    qsizetype copied = object.bodyBegin;
    for (qsizetype i = 0; i < object.tokens.size(); ++i) {
        const PdfToken &token = object.tokens[i];
        if (fontName && i == fontName->first && isSubsetName(objects.text(token))) {
            out += file.mid(copied, token.begin + 1 - copied) + subsetTag(number);
            copied = token.begin + 7;
            continue;
        }
        const int target = objects.referenceAt(object, i);
        if (target == 0)
            continue;
        const auto renumbered = part.renumbered.constFind(target);
        if (renumbered == part.renumbered.cend())
            return false;
        out += file.mid(copied, token.begin - copied) + QByteArray::number(*renumbered);
        copied = token.end;
        i += 2;
    }
    out += file.mid(copied, object.bodyEnd - copied);
    if (object.stream)
        out += file.mid(object.stream->first, object.stream->second - object.stream->first) + "\nendstream\n";
    out += "endobj\n";
    return true;
}

} // namespace

QByteArray PdfJoin::join(const QList<QByteArray> &byteParts)
{
    if (byteParts.isEmpty())
        return {};
    std::vector<std::unique_ptr<Part>> parts;
    for (const QByteArray &bytes : byteParts) {
        parts.push_back(std::make_unique<Part>());
        if (!readPart(bytes, *parts.back()) || parts.back()->objects.header() != parts.front()->objects.header()
            || parts.back()->procSet != parts.front()->procSet)
            return {};
    }
    // The first part keeps its catalogue and information; every page tree becomes the one
    // written after all objects.
    int next = 1;
    for (size_t p = 0; p < parts.size(); ++p) {
        Part &part = *parts[p];
        for (int number : part.objects.inFileOrder()) {
            const bool dropped = number == part.pageTree
                                 || (p > 0 && (number == part.objects.root() || number == part.objects.info()));
            if (!dropped)
                part.renumbered.insert(number, next++);
        }
    }
    const int pageTree = next++;
    QByteArray out = parts.front()->objects.header();
    QList<qsizetype> offsets(next, 0);
    QByteArray kids;
    int pageCount = 0;
    for (const std::unique_ptr<Part> &part : parts) {
        part->renumbered.insert(part->pageTree, pageTree);
        for (int number : part->objects.inFileOrder()) {
            const int renumbered = part->renumbered.value(number);
            if (renumbered == pageTree || !part->renumbered.contains(number))
                continue;
            offsets[renumbered] = out.size();
            if (!writeObject(*part, part->objects.object(number), out))
                return {};
        }
        for (int kid : part->kids)
            kids += QByteArray::number(part->renumbered.value(kid)) + " 0 R\n";
        pageCount += int(part->kids.size());
    }
    offsets[pageTree] = out.size();
    out += QByteArray::number(pageTree) + " 0 obj\n<<\n/Type /Pages\n/Kids \n[\n" + kids + "]\n/Count "
           + QByteArray::number(pageCount) + "\n";
    if (!parts.front()->procSet.isEmpty())
        out += "/ProcSet " + parts.front()->procSet + "\n";
    out += ">>\nendobj\n";
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(next) + "\n0000000000 65535 f \n";
    for (int number = 1; number < next; ++number)
        out += QByteArray::number(offsets[number]).rightJustified(10, '0') + " 00000 n \n";
    const Part &first = *parts.front();
    out += "trailer\n<<\n/Size " + QByteArray::number(next) + "\n";
    if (first.objects.info() != 0)
        out += "/Info " + QByteArray::number(first.renumbered.value(first.objects.info())) + " 0 R\n";
    out += "/Root " + QByteArray::number(first.renumbered.value(first.objects.root())) + " 0 R\n>>\nstartxref\n"
           + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}
